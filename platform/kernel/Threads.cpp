// Exported thread functions.
#include "ce/kernel.h"
#include "kernel/HandleTable.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"

using namespace platform;

namespace {

std::shared_ptr<ThreadObject> LookupThread(HANDLE handle) {
    if (handle == GetCurrentThread())
        return ProcessTable::CurrentThread();
    return HandleTable::Instance().LookupAs<ThreadObject>(handle, ObjectType::Thread);
}

} // namespace

CE_API HANDLE CreateThread(LPSECURITY_ATTRIBUTES, DWORD, LPTHREAD_START_ROUTINE start,
                           LPVOID parameter, DWORD flags, LPDWORD threadId) {
    if (!start) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto thread = ProcessTable::Instance().StartThread(
        ProcessTable::CurrentProcess(), [start, parameter] { return start(parameter); },
        (flags & CREATE_SUSPENDED) != 0);
    if (threadId)
        *threadId = thread->Id();
    return HandleTable::Instance().Insert(thread);
}

CE_API DWORD ResumeThread(HANDLE handle) {
    auto thread = LookupThread(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0xFFFFFFFFu;
    }
    auto& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    DWORD previous = thread->m_suspended ? 1 : 0;
    thread->m_suspended = false;
    hub.NotifyAll();
    return previous;
}

CE_API void ExitThread(DWORD exitCode) {
    if (!ProcessTable::CurrentThread()->IsEmulated()) {
        Trace("kernel", "ExitThread on a host thread ignored");
        return;
    }
    throw ThreadExitRequest{exitCode};
}

CE_API BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
    auto thread = LookupThread(handle);
    if (!thread || !exitCode) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard lock(WaitHub::Instance().Mutex());
    *exitCode = thread->m_exitCode;
    return TRUE;
}

CE_API DWORD GetCurrentThreadId() { return ProcessTable::CurrentThread()->Id(); }

CE_API HANDLE GetCurrentThread() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2)); }

CE_API BOOL SetThreadPriority(HANDLE handle, int priority) {
    auto thread = LookupThread(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    // Priorities are recorded only: the host schedules its threads itself.
    std::lock_guard lock(WaitHub::Instance().Mutex());
    thread->m_priority = priority;
    return TRUE;
}

CE_API int GetThreadPriority(HANDLE handle) {
    auto thread = LookupThread(handle);
    if (!thread)
        return 0x7FFFFFFF;
    std::lock_guard lock(WaitHub::Instance().Mutex());
    return thread->m_priority;
}

CE_API DWORD GetCurrentProcessId() { return ProcessTable::CurrentProcess()->Id(); }

CE_API HANDLE GetCurrentProcess() { return reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)); }

CE_API DWORD GetProcessIdOfThread(HANDLE handle) {
    auto thread = LookupThread(handle);
    if (!thread) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return thread->Process()->Id();
}

CE_API void OutputDebugStringW(LPCWSTR text) {
    if (text)
        Trace("debug", "%s", ToUtf8(text).c_str());
}
