#include "kernel/ModuleSpace.h"

#include "files/DevicePath.h"
#include "kernel/ProcessObject.h"
#include "kernel/Utf.h"

namespace platform {

namespace {
// Guards the creation of ProcessObject::m_modules.
std::mutex g_createLock;
} // namespace

std::shared_ptr<ModuleSpace> ModuleSpace::Of(ProcessObject& process) {
    std::lock_guard lock(g_createLock);
    if (!process.m_modules) {
        process.m_modules = std::make_shared<ModuleSpace>();
        process.m_modules->Insert(Module::ImageOnly(process.ImagePath()), true);
    }
    return process.m_modules;
}

void ModuleSpace::Attach(ProcessObject& process, std::shared_ptr<ModuleSpace> space) {
    std::lock_guard lock(g_createLock);
    process.m_modules = std::move(space);
}

// Handle value: generation in bits 32-47, (index + 1) in bits 16-31; never 0.
HMODULE ModuleSpace::HandleOf(size_t index) const {
    uint64_t value = (uint64_t(m_slots[index].generation & 0xFFFF) << 32) | (uint64_t(index + 1) << 16);
    return reinterpret_cast<HMODULE>(static_cast<uintptr_t>(value));
}

bool ModuleSpace::Decode(HMODULE handle, size_t& index) const {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 0xFFFF) != 0 || (value >> 48) != 0 || ((value >> 16) & 0xFFFF) == 0)
        return false;
    index = size_t(((value >> 16) & 0xFFFF) - 1);
    return index < m_slots.size() && m_slots[index].module &&
           (m_slots[index].generation & 0xFFFF) == (value >> 32);
}

HMODULE ModuleSpace::Insert(std::unique_ptr<Module> module, bool isProgram) {
    std::lock_guard lock(m_lock);
    size_t index = 0;
    while (index < m_slots.size() && m_slots[index].module)
        ++index;
    if (index == m_slots.size()) {
        if (index >= 0xFFFF)
            return nullptr;
        m_slots.emplace_back();
    }
    m_slots[index].module = std::move(module);
    m_slots[index].references = 1;
    HMODULE handle = HandleOf(index);
    if (isProgram)
        m_program = handle;
    return handle;
}

HMODULE ModuleSpace::FindByPath(std::u16string_view devicePath) const {
    std::lock_guard lock(m_lock);
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].module && EqualsNoCase(m_slots[i].module->DevicePath(), devicePath))
            return HandleOf(i);
    return nullptr;
}

HMODULE ModuleSpace::FindByName(std::u16string_view name) const {
    if (DevicePath::HasSeparator(name))
        return FindByPath(name);
    std::u16string fileName(name);
    if (!DevicePath::HasExtension(fileName))
        fileName += u".dll";
    std::lock_guard lock(m_lock);
    for (size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i].module &&
            EqualsNoCase(DevicePath::FileName(m_slots[i].module->DevicePath()), fileName))
            return HandleOf(i);
    return nullptr;
}

Module* ModuleSpace::Lookup(HMODULE handle) const {
    std::lock_guard lock(m_lock);
    size_t index;
    return Decode(handle, index) ? m_slots[index].module.get() : nullptr;
}

bool ModuleSpace::AddReference(HMODULE handle) {
    std::lock_guard lock(m_lock);
    size_t index;
    if (!Decode(handle, index))
        return false;
    ++m_slots[index].references;
    return true;
}

bool ModuleSpace::Release(HMODULE handle) {
    std::lock_guard lock(m_lock);
    size_t index;
    if (!Decode(handle, index))
        return false;
    Slot& slot = m_slots[index];
    if (slot.references > 1 || handle == m_program) {
        slot.references = std::max(1, slot.references - 1);
        return true;
    }
    // The slot is retired before the image unloads, so destructors that look the module
    // up again find it gone.
    std::unique_ptr<Module> unloading = std::move(slot.module);
    slot.references = 0;
    slot.generation = slot.generation + 1 == 0x10000 ? 1 : slot.generation + 1;
    unloading.reset();
    return true;
}

void ModuleSpace::UnloadAll() {
    std::lock_guard lock(m_lock);
    for (size_t i = m_slots.size(); i-- > 0;) {
        std::unique_ptr<Module> unloading = std::move(m_slots[i].module);
        m_slots[i].references = 0;
        m_slots[i].generation = m_slots[i].generation + 1 == 0x10000 ? 1 : m_slots[i].generation + 1;
        unloading.reset();
    }
    m_program = nullptr;
}

} // namespace platform
