// Exported module functions: LoadLibraryW, FreeLibrary, GetProcAddress, module names
// and handles. Every call works on the calling process's own module space.
#include "ce/kernel.h"
#include "kernel/ModuleLoader.h"
#include "kernel/ProcessTable.h"
#include "kernel/Utf.h"

using namespace platform;

namespace {

std::shared_ptr<ModuleSpace> CurrentSpace() {
    return ModuleSpace::Of(*ProcessTable::CurrentProcess());
}

FARPROC FindProc(HMODULE handle, const std::string& name, unsigned ordinal) {
    auto space = CurrentSpace();
    std::lock_guard lock(space->Lock());
    Module* module = space->Lookup(handle);
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    FARPROC proc = ordinal ? module->Ordinal(ordinal)
                           : reinterpret_cast<FARPROC>(module->Symbol(name.c_str()));
    if (!proc)
        SetLastError(ERROR_PROC_NOT_FOUND);
    return proc;
}

} // namespace

CE_API HMODULE LoadLibraryW(LPCWSTR fileName) {
    if (!fileName || !*fileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto process = ProcessTable::CurrentProcess();
    auto space = ModuleSpace::Of(*process);
    DWORD error = ERROR_SUCCESS;
    HMODULE module = ModuleLoader::Load(*space, fileName, process->ImagePath(), error);
    if (!module)
        SetLastError(error);
    return module;
}

CE_API BOOL FreeLibrary(HMODULE module) {
    if (!CurrentSpace()->Release(module)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

CE_API FARPROC GetProcAddressW(HMODULE module, LPCWSTR procName) {
    if (!procName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (IS_INTRESOURCE(procName))
        return FindProc(module, {}, unsigned(reinterpret_cast<uintptr_t>(procName)));
    return FindProc(module, ToUtf8(procName), 0);
}

CE_API FARPROC GetProcAddressA(HMODULE module, LPCSTR procName) {
    if (!procName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (IS_INTRESOURCE(procName))
        return FindProc(module, {}, unsigned(reinterpret_cast<uintptr_t>(procName)));
    return FindProc(module, procName, 0);
}

CE_API DWORD GetModuleFileNameW(HMODULE module, LPWSTR fileName, DWORD size) {
    auto space = CurrentSpace();
    std::u16string path;
    {
        std::lock_guard lock(space->Lock());
        Module* found = space->Lookup(module ? module : space->Program());
        if (!found) {
            SetLastError(ERROR_INVALID_HANDLE);
            return 0;
        }
        path = found->DevicePath();
    }
    if (!fileName || size == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    // As on the device: a short buffer gets the truncated, terminated name.
    DWORD copied = DWORD(std::min<size_t>(path.size(), size - 1));
    path.copy(fileName, copied);
    fileName[copied] = 0;
    SetLastError(copied < path.size() ? ERROR_INSUFFICIENT_BUFFER : ERROR_SUCCESS);
    return copied;
}

CE_API HMODULE GetModuleHandleW(LPCWSTR moduleName) {
    auto space = CurrentSpace();
    HMODULE module = moduleName ? space->FindByName(moduleName) : space->Program();
    if (!module)
        SetLastError(ERROR_MOD_NOT_FOUND);
    return module;
}
