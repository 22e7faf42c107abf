#include "kernel/ModuleLoader.h"

#include "ce/files.h"
#include "files/DevicePath.h"
#include "files/FileSystem.h"
#include "kernel/ProcessTable.h"
#include "kernel/Utf.h"

namespace platform {

std::vector<std::u16string> ModuleLoader::Candidates(std::u16string_view name,
                                                     std::u16string_view programPath,
                                                     std::u16string_view defaultExtension) {
    std::u16string fileName(name);
    if (!DevicePath::HasExtension(fileName))
        fileName += defaultExtension;
    if (DevicePath::HasSeparator(name))
        return {fileName};
    std::vector<std::u16string> candidates;
    std::u16string programFolder = DevicePath::Folder(programPath);
    if (programFolder.back() != u'\\')
        programFolder += u'\\';
    candidates.push_back(programFolder + fileName);
    if (!EqualsNoCase(programFolder, u"\\Windows\\"))
        candidates.push_back(u"\\Windows\\" + fileName);
    return candidates;
}

std::unique_ptr<Module> ModuleLoader::LoadPath(std::u16string_view devicePath, DWORD& error) {
    auto resolved = FileSystem::Lookup(devicePath, error);
    if (!resolved)
        return nullptr;
    if (!resolved->exists || resolved->isDirectory) {
        error = ERROR_MOD_NOT_FOUND;
        return nullptr;
    }
    return Module::Load(resolved->host, resolved->device, error);
}

HMODULE ModuleLoader::Load(ModuleSpace& space, std::u16string_view name,
                           std::u16string_view programPath, DWORD& error) {
    std::lock_guard lock(space.Lock());
    for (const auto& candidate : Candidates(name, programPath, u".dll")) {
        DWORD lookupError = ERROR_SUCCESS;
        auto resolved = FileSystem::Lookup(candidate, lookupError);
        if (!resolved || !resolved->exists || resolved->isDirectory)
            continue;
        if (HMODULE loaded = space.FindByPath(resolved->device)) {
            space.AddReference(loaded);
            return loaded;
        }
        auto module = Module::Load(resolved->host, resolved->device, error);
        if (!module)
            return nullptr;
        HMODULE handle = space.Insert(std::move(module), false);
        if (!handle)
            error = ERROR_NOT_ENOUGH_MEMORY;
        return handle;
    }
    error = ERROR_MOD_NOT_FOUND;
    return nullptr;
}

void ModuleLoader::InstallProcessExitHook() {
    ProcessTable::Instance().AddProcessExitHook([](ProcessObject& process) {
        if (process.m_modules)
            process.m_modules->UnloadAll();
    });
}

void ModuleLoader::UnloadKernelModules() {
    auto kernel = ProcessTable::Instance().SystemProcess();
    if (kernel->m_modules)
        kernel->m_modules->UnloadAll();
}

} // namespace platform
