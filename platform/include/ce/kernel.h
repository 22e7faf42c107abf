// Kernel services of the device: last error, handles, synchronisation, threads,
// processes, modules, the clock and text conversion.
#pragma once

#include "ce/types.h"
#include "ce/winerror.h"

#include <cstdarg>
#include <cstddef>

// ---- last error and handles ----
CE_API DWORD GetLastError();
CE_API void SetLastError(DWORD error);
CE_API BOOL CloseHandle(HANDLE handle);

// ---- waits and synchronisation ----
#define WAIT_OBJECT_0 0x00000000u
#define WAIT_ABANDONED 0x00000080u
#define WAIT_TIMEOUT 0x00000102u
#define WAIT_FAILED 0xFFFFFFFFu
#define MAXIMUM_WAIT_OBJECTS 64
#define STILL_ACTIVE 0x00000103u

CE_API HANDLE CreateEventW(LPSECURITY_ATTRIBUTES attributes, BOOL manualReset, BOOL initialState,
                           LPCWSTR name);
CE_API HANDLE OpenEventW(DWORD access, BOOL inherit, LPCWSTR name);
CE_API BOOL SetEvent(HANDLE event);
CE_API BOOL ResetEvent(HANDLE event);
CE_API BOOL PulseEvent(HANDLE event);
CE_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
CE_API DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                    DWORD milliseconds);
CE_API void Sleep(DWORD milliseconds);
#define EVENT_ALL_ACCESS 0x001F0003u

struct CRITICAL_SECTION {
    void* impl;
    DWORD ownerThread;
    LONG recursion;
};
typedef CRITICAL_SECTION* LPCRITICAL_SECTION;
CE_API void InitializeCriticalSection(LPCRITICAL_SECTION section);
CE_API void DeleteCriticalSection(LPCRITICAL_SECTION section);
CE_API void EnterCriticalSection(LPCRITICAL_SECTION section);
CE_API BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section);
CE_API void LeaveCriticalSection(LPCRITICAL_SECTION section);

CE_API LONG InterlockedIncrement(LONG volatile* value);
CE_API LONG InterlockedDecrement(LONG volatile* value);
CE_API LONG InterlockedExchange(LONG volatile* target, LONG value);

// ---- threads ----
typedef DWORD(WINAPI* LPTHREAD_START_ROUTINE)(LPVOID parameter);
#define CREATE_SUSPENDED 0x00000004u
CE_API HANDLE CreateThread(LPSECURITY_ATTRIBUTES attributes, DWORD stackSize,
                           LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                           LPDWORD threadId);
CE_API DWORD ResumeThread(HANDLE thread);
CE_API void ExitThread(DWORD exitCode);
CE_API BOOL GetExitCodeThread(HANDLE thread, LPDWORD exitCode);
CE_API DWORD GetCurrentThreadId();
CE_API HANDLE GetCurrentThread();
CE_API BOOL SetThreadPriority(HANDLE thread, int priority);
CE_API int GetThreadPriority(HANDLE thread);
#define THREAD_PRIORITY_NORMAL 0
#define THREAD_PRIORITY_ABOVE_NORMAL 1
#define THREAD_PRIORITY_BELOW_NORMAL -1
#define THREAD_PRIORITY_HIGHEST 2
#define THREAD_PRIORITY_IDLE -15
#define THREAD_PRIORITY_TIME_CRITICAL 15

// ---- processes ----
struct STARTUPINFOW {
    DWORD cb;
};
typedef STARTUPINFOW* LPSTARTUPINFOW;
struct PROCESS_INFORMATION {
    HANDLE hProcess;
    HANDLE hThread;
    DWORD dwProcessId;
    DWORD dwThreadId;
};
typedef PROCESS_INFORMATION* LPPROCESS_INFORMATION;
CE_API BOOL CreateProcessW(LPCWSTR applicationName, LPCWSTR commandLine,
                           LPSECURITY_ATTRIBUTES processAttributes,
                           LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles,
                           DWORD creationFlags, LPVOID environment, LPCWSTR currentDirectory,
                           LPSTARTUPINFOW startupInfo, LPPROCESS_INFORMATION processInformation);
CE_API DWORD GetCurrentProcessId();
CE_API HANDLE GetCurrentProcess();
CE_API HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId);
CE_API BOOL TerminateProcess(HANDLE process, UINT exitCode);
CE_API BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);
CE_API DWORD GetProcessIdOfThread(HANDLE thread);
#define PROCESS_ALL_ACCESS 0x001F0FFFu

// ---- modules ----
CE_API HMODULE LoadLibraryW(LPCWSTR fileName);
CE_API BOOL FreeLibrary(HMODULE module);
// A name whose value is below 0x10000 is an export ordinal.
CE_API FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName);
CE_API FARPROC GetProcAddressA(HMODULE module, LPCSTR procName);
#define GetProcAddress GetProcAddressW
CE_API DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size);
CE_API HMODULE GetModuleHandleW(LPCWSTR moduleName);

// Entry point of an emulated program module; exported as "WinMain".
typedef int(WINAPI* CE_WINMAIN)(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine,
                                int showCommand);

// ---- clock ----
struct TIME_ZONE_INFORMATION {
    LONG Bias;
    WCHAR StandardName[32];
    SYSTEMTIME StandardDate;
    LONG StandardBias;
    WCHAR DaylightName[32];
    SYSTEMTIME DaylightDate;
    LONG DaylightBias;
};
typedef TIME_ZONE_INFORMATION* LPTIME_ZONE_INFORMATION;
#define TIME_ZONE_ID_UNKNOWN 0
#define TIME_ZONE_ID_STANDARD 1
#define TIME_ZONE_ID_DAYLIGHT 2
#define TIME_ZONE_ID_INVALID 0xFFFFFFFFu

CE_API DWORD GetTickCount();
CE_API void GetSystemTime(LPSYSTEMTIME time);
CE_API void GetLocalTime(LPSYSTEMTIME time);
CE_API BOOL SetSystemTime(const SYSTEMTIME* time);
CE_API BOOL SetLocalTime(const SYSTEMTIME* time);
CE_API BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime);
CE_API BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime);
CE_API BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime);
CE_API BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime);
CE_API LONG CompareFileTime(const FILETIME* a, const FILETIME* b);
CE_API DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION info);
CE_API BOOL SetTimeZoneInformation(const TIME_ZONE_INFORMATION* info);

// ---- text conversion ----
#define CP_ACP 0
#define CP_OEMCP 1
#define CP_UTF8 65001
#define MB_ERR_INVALID_CHARS 0x00000008u
CE_API int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength,
                               LPWSTR target, int targetLength);
CE_API int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength,
                               LPSTR target, int targetLength, LPCSTR defaultChar,
                               LPBOOL usedDefaultChar);
CE_API UINT GetACP();

// ---- formatting (the C library's wide printf: %s is UTF-16, %S 8-bit) ----
// Writes at most `count` units with the terminator; -1 when the text was cut.
CE_API int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args);
CE_API int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...);
// At most 1024 characters and the terminator.
CE_API int wvsprintfW(WCHAR* buffer, const WCHAR* format, va_list args);
CE_API int wsprintfW(WCHAR* buffer, const WCHAR* format, ...);

// ---- memory ----
#define LMEM_FIXED 0x0000u
#define LMEM_ZEROINIT 0x0040u
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
CE_API HLOCAL LocalAlloc(UINT flags, SIZE_T bytes);
CE_API HLOCAL LocalFree(HLOCAL memory);
// The usable size of a LocalAlloc block (at least what was asked for); 0 for null.
CE_API SIZE_T LocalSize(HLOCAL memory);
#define HEAP_ZERO_MEMORY 0x00000008u
// Every process uses the one device heap; blocks remember their size for HeapSize.
CE_API HANDLE GetProcessHeap();
CE_API LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes);
CE_API LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T bytes);
CE_API BOOL HeapFree(HANDLE heap, DWORD flags, LPVOID memory);
CE_API SIZE_T HeapSize(HANDLE heap, DWORD flags, LPCVOID memory);

// ---- diagnostics ----
CE_API void OutputDebugStringW(LPCWSTR text);
