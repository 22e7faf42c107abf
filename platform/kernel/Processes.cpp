// Exported process functions: CreateProcessW, OpenProcess, TerminateProcess,
// GetExitCodeProcess.
#include "ce/kernel.h"
#include "kernel/HandleTable.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"

using namespace platform;

namespace {

std::shared_ptr<ProcessObject> LookupProcess(HANDLE handle) {
    if (handle == GetCurrentProcess())
        return ProcessTable::CurrentProcess();
    return HandleTable::Instance().LookupAs<ProcessObject>(handle, ObjectType::Process);
}

} // namespace

// As on the device, `commandLine` holds only the arguments when `applicationName` is
// given; without it, the program is the first part of `commandLine`.
CE_API BOOL CreateProcessW(LPCWSTR applicationName, LPCWSTR commandLine, LPSECURITY_ATTRIBUTES,
                           LPSECURITY_ATTRIBUTES, BOOL, DWORD creationFlags, LPVOID, LPCWSTR,
                           LPSTARTUPINFOW, LPPROCESS_INFORMATION processInformation) {
    std::u16string program;
    std::u16string arguments = commandLine ? commandLine : u"";
    if (applicationName && *applicationName)
        program = applicationName;
    else
        std::tie(program, arguments) = ProcessLauncher::SplitCommandLine(arguments);
    if (program.empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DWORD error = ERROR_SUCCESS;
    auto started = ProcessLauncher::Start(program, arguments, ProcessLauncher::kShowDefault,
                                          (creationFlags & CREATE_SUSPENDED) != 0, error);
    if (!started) {
        SetLastError(error);
        return FALSE;
    }
    if (processInformation) {
        processInformation->hProcess = HandleTable::Instance().Insert(started->process);
        processInformation->hThread = HandleTable::Instance().Insert(started->mainThread);
        processInformation->dwProcessId = started->process->Id();
        processInformation->dwThreadId = started->mainThread->Id();
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

CE_API HANDLE OpenProcess(DWORD, BOOL, DWORD processId) {
    auto process = ProcessTable::Instance().FindProcess(processId);
    if (!process) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return HandleTable::Instance().Insert(process);
}

// Threads are never killed on this device (a killed thread would leave the platform's
// locks and objects in an unknown state): a program is asked to end instead, e.g. with
// WM_CLOSE or its quit event.
CE_API BOOL TerminateProcess(HANDLE process, UINT) {
    SetLastError(LookupProcess(process) ? ERROR_NOT_SUPPORTED : ERROR_INVALID_HANDLE);
    return FALSE;
}

CE_API BOOL GetExitCodeProcess(HANDLE handle, LPDWORD exitCode) {
    auto process = LookupProcess(handle);
    if (!process || !exitCode) {
        SetLastError(process ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
        return FALSE;
    }
    std::lock_guard lock(WaitHub::Instance().Mutex());
    *exitCode = process->m_exitCode;
    return TRUE;
}
