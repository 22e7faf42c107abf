// Finds and loads modules for a process: the search order of LoadLibraryW, the
// private instance per process, and unloading when a process ends.
#pragma once

#include "ce/types.h"
#include "kernel/ModuleSpace.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

class ProcessObject;

class ModuleLoader {
public:
    // Device paths tried for `name`, in order: a path as given; a bare name in the
    // folder of the program (`programPath`), then in "\Windows". `defaultExtension`
    // (".dll" or ".exe") is appended when the name has no extension.
    static std::vector<std::u16string> Candidates(std::u16string_view name,
                                                  std::u16string_view programPath,
                                                  std::u16string_view defaultExtension);

    // Loads `name` into `space` (or counts the module again when it is loaded there).
    // Returns null with `error` set: ERROR_MOD_NOT_FOUND when no candidate exists,
    // ERROR_BAD_EXE_FORMAT when the file is not a module.
    static HMODULE Load(ModuleSpace& space, std::u16string_view name,
                        std::u16string_view programPath, DWORD& error);

    // Loads the module at an existing device path (already resolved); used for programs.
    static std::unique_ptr<Module> LoadPath(std::u16string_view devicePath, DWORD& error);

    // Boot step: unloads a process's modules when its last thread ended.
    static void InstallProcessExitHook();
    // Shutdown step: unloads the modules host threads loaded into the kernel process.
    static void UnloadKernelModules();
};

} // namespace platform
