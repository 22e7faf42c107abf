// Exported ShellExecuteExW. No user interface is ever shown here, so
// SEE_MASK_FLAG_NO_UI is accepted and changes nothing.
#include "ce/kernel.h"
#include "ce/shell.h"
#include "kernel/HandleTable.h"
#include "kernel/Utf.h"
#include "shell/ShellLauncher.h"

using namespace platform;

namespace {

// The hInstApp value the shell reports for a failure.
INT_PTR ShellErrorFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND: case ERROR_MOD_NOT_FOUND: return SE_ERR_FNF;
    case ERROR_PATH_NOT_FOUND: case ERROR_BAD_PATHNAME: case ERROR_INVALID_NAME: return SE_ERR_PNF;
    case ERROR_NO_ASSOCIATION: return SE_ERR_NOASSOC;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY: return SE_ERR_OOM;
    case ERROR_BAD_EXE_FORMAT: return SE_ERR_DLLNOTFOUND;
    default: return SE_ERR_ACCESSDENIED;
    }
}

BOOL Fail(LPSHELLEXECUTEINFO info, DWORD error) {
    info->hInstApp = reinterpret_cast<HINSTANCE>(ShellErrorFor(error));
    SetLastError(error);
    return FALSE;
}

} // namespace

CE_API BOOL ShellExecuteExW(LPSHELLEXECUTEINFO info) {
    if (!info || info->cbSize != sizeof(SHELLEXECUTEINFO)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    info->hProcess = nullptr;
    if (!info->lpFile || !*info->lpFile)
        return Fail(info, ERROR_FILE_NOT_FOUND);
    std::u16string_view verb = info->lpVerb ? info->lpVerb : u"";
    if (!verb.empty() && !EqualsNoCase(verb, u"open"))
        return Fail(info, ERROR_NO_ASSOCIATION);
    DWORD error = ERROR_SUCCESS;
    auto started = ShellLauncher::Start(info->lpFile, info->lpParameters ? info->lpParameters : u"",
                                        info->nShow, error);
    if (!started)
        return Fail(info, error);
    info->hInstApp = reinterpret_cast<HINSTANCE>(INT_PTR(33));
    if (info->fMask & SEE_MASK_NOCLOSEPROCESS)
        info->hProcess = HandleTable::Instance().Insert(started->process);
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}
