// File API of the device: files and folders of the device file system ("\Windows",
// "\My Documents", ...). Paths are device paths: "\" separators, no drive letters,
// compared without regard to case.
#pragma once

#include "ce/types.h"
#include "ce/winerror.h"

// Last errors of the file API that the common list does not hold.
#ifndef ERROR_NOT_READY
#define ERROR_NOT_READY 21L
#endif
#ifndef ERROR_NEGATIVE_SEEK
#define ERROR_NEGATIVE_SEEK 131L
#endif
#ifndef ERROR_FILENAME_EXCED_RANGE
#define ERROR_FILENAME_EXCED_RANGE 206L
#endif
#ifndef ERROR_DIRECTORY
#define ERROR_DIRECTORY 267L
#endif

#define GENERIC_READ 0x80000000u
#define GENERIC_WRITE 0x40000000u
#define FILE_SHARE_READ 0x00000001u
#define FILE_SHARE_WRITE 0x00000002u
#define FILE_SHARE_DELETE 0x00000004u

#define CREATE_NEW 1
#define CREATE_ALWAYS 2
#define OPEN_EXISTING 3
#define OPEN_ALWAYS 4
#define TRUNCATE_EXISTING 5

#define FILE_ATTRIBUTE_READONLY 0x00000001u
#define FILE_ATTRIBUTE_HIDDEN 0x00000002u
#define FILE_ATTRIBUTE_SYSTEM 0x00000004u
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010u
#define FILE_ATTRIBUTE_ARCHIVE 0x00000020u
#define FILE_ATTRIBUTE_NORMAL 0x00000080u
#define FILE_ATTRIBUTE_TEMPORARY 0x00000100u
#define INVALID_FILE_ATTRIBUTES 0xFFFFFFFFu
#define INVALID_FILE_SIZE 0xFFFFFFFFu
#define INVALID_SET_FILE_POINTER 0xFFFFFFFFu

#define FILE_BEGIN 0
#define FILE_CURRENT 1
#define FILE_END 2

struct WIN32_FIND_DATAW {
    DWORD dwFileAttributes;
    FILETIME ftCreationTime;
    FILETIME ftLastAccessTime;
    FILETIME ftLastWriteTime;
    DWORD nFileSizeHigh;
    DWORD nFileSizeLow;
    DWORD dwOID;
    WCHAR cFileName[MAX_PATH];
};
typedef WIN32_FIND_DATAW* LPWIN32_FIND_DATAW;

#define MOVEFILE_REPLACE_EXISTING 0x00000001

CE_API HANDLE CreateFileW(LPCWSTR fileName, DWORD desiredAccess, DWORD shareMode,
                          LPSECURITY_ATTRIBUTES securityAttributes, DWORD creationDisposition,
                          DWORD flagsAndAttributes, HANDLE templateFile);
CE_API BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead,
                     LPVOID overlapped);
CE_API BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten,
                      LPVOID overlapped);
CE_API DWORD SetFilePointer(HANDLE file, LONG distance, PLONG distanceHigh, DWORD moveMethod);
CE_API DWORD GetFileSize(HANDLE file, LPDWORD fileSizeHigh);
CE_API BOOL SetEndOfFile(HANDLE file);
CE_API BOOL FlushFileBuffers(HANDLE file);
CE_API BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess,
                        LPFILETIME lastWrite);
CE_API BOOL DeleteFileW(LPCWSTR fileName);
CE_API BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName);
// MOVEFILE_REPLACE_EXISTING replaces an existing file in one atomic step.
CE_API BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags);
CE_API BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists);
CE_API BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES securityAttributes);
CE_API BOOL RemoveDirectoryW(LPCWSTR pathName);
CE_API HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData);
CE_API BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData);
CE_API BOOL FindClose(HANDLE findFile);
CE_API DWORD GetFileAttributesW(LPCWSTR fileName);
CE_API BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes);
CE_API DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer);
CE_API UINT GetTempFileNameW(LPCWSTR pathName, LPCWSTR prefixString, UINT unique,
                             LPWSTR tempFileName);
