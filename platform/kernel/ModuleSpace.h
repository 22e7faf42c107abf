// The modules loaded into one process (ProcessObject::m_modules): their instance
// handles, reference counts and the program module. An HMODULE/HINSTANCE is an index
// into this table with a generation count, valid only in its own process; a freed
// module's handle is detected, never dereferenced.
//
// The table lock is held while a module is loaded or unloaded (the loader lock of the
// process): module constructors and destructors may call LoadLibraryW and FreeLibrary
// on the same thread, but must not wait for another thread that does.
#pragma once

#include "ce/types.h"
#include "kernel/Module.h"

#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace platform {

class ProcessObject;

class ModuleSpace {
public:
    // The module space of `process`, created on first use. A process that was not
    // started from a module (the kernel process) gets an image-only program module
    // named by its image path.
    static std::shared_ptr<ModuleSpace> Of(ProcessObject& process);

    // Gives a new process the space its program was loaded into (before its thread starts).
    static void Attach(ProcessObject& process, std::shared_ptr<ModuleSpace> space);

    std::recursive_mutex& Lock() { return m_lock; }

    // Adds `module` with one reference. The program module cannot be freed below one
    // reference: it lives as long as its process.
    HMODULE Insert(std::unique_ptr<Module> module, bool isProgram);
    // The loaded module with this device path (without regard to case), or null.
    HMODULE FindByPath(std::u16string_view devicePath) const;
    // A loaded module named `name`: a device path, or a file name (".dll" assumed
    // without an extension).
    HMODULE FindByName(std::u16string_view name) const;
    // The module behind a handle, or null. Use under Lock().
    Module* Lookup(HMODULE handle) const;
    bool AddReference(HMODULE handle);
    // Drops one reference and unloads the module at zero; false for a handle that is
    // not loaded here.
    bool Release(HMODULE handle);
    HMODULE Program() const { return m_program; }
    // Unloads every module, newest first (the process ended, its threads are gone).
    void UnloadAll();

private:
    struct Slot {
        std::unique_ptr<Module> module;
        int references = 0;
        uint32_t generation = 1;
    };
    HMODULE HandleOf(size_t index) const;
    bool Decode(HMODULE handle, size_t& index) const;

    mutable std::recursive_mutex m_lock;
    std::vector<Slot> m_slots;
    HMODULE m_program = nullptr;
};

} // namespace platform
