#include "kernel/HandleTable.h"

namespace platform {

// Handle value: generation in bits 32-47, (index + 1) shifted left by 2 below, so no
// handle is 0 or INVALID_HANDLE_VALUE and small integers are never valid handles.
HandleTable& HandleTable::Instance() {
    static HandleTable table;
    return table;
}

HANDLE HandleTable::Insert(std::shared_ptr<KernelObject> object) {
    std::lock_guard lock(m_mutex);
    size_t index;
    if (!m_free.empty()) {
        index = m_free.back();
        m_free.pop_back();
    } else {
        index = m_slots.size();
        m_slots.emplace_back();
    }
    Slot& slot = m_slots[index];
    slot.object = std::move(object);
    uint64_t value = (uint64_t(slot.generation & 0xFFFF) << 32) | (uint64_t(index + 1) << 2);
    return reinterpret_cast<HANDLE>(static_cast<uintptr_t>(value));
}

bool HandleTable::Decode(HANDLE handle, size_t& index, uint32_t& generation) const {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 3) != 0 || (value >> 48) != 0)
        return false;
    uint64_t low = (value & 0xFFFFFFFFu) >> 2;
    if (low == 0)
        return false;
    index = static_cast<size_t>(low - 1);
    generation = static_cast<uint32_t>(value >> 32);
    return true;
}

std::shared_ptr<KernelObject> HandleTable::Lookup(HANDLE handle) const {
    size_t index;
    uint32_t generation;
    if (!Decode(handle, index, generation))
        return nullptr;
    std::lock_guard lock(m_mutex);
    if (index >= m_slots.size())
        return nullptr;
    const Slot& slot = m_slots[index];
    if (!slot.object || (slot.generation & 0xFFFF) != generation)
        return nullptr;
    return slot.object;
}

bool HandleTable::Close(HANDLE handle) {
    size_t index;
    uint32_t generation;
    if (!Decode(handle, index, generation))
        return false;
    std::shared_ptr<KernelObject> released;
    {
        std::lock_guard lock(m_mutex);
        if (index >= m_slots.size())
            return false;
        Slot& slot = m_slots[index];
        if (!slot.object || (slot.generation & 0xFFFF) != generation)
            return false;
        released = std::move(slot.object);
        slot.generation = slot.generation + 1 == 0x10000 ? 1 : slot.generation + 1;
        m_free.push_back(index);
    }
    // The object may close files or threads in its destructor: outside the table lock.
    released.reset();
    return true;
}

void HandleTable::Clear() {
    std::vector<Slot> old;
    {
        std::lock_guard lock(m_mutex);
        for (size_t i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].object) {
                old.push_back(std::move(m_slots[i]));
                m_slots[i].object.reset();
                m_slots[i].generation = m_slots[i].generation + 1 == 0x10000 ? 1 : m_slots[i].generation + 1;
                m_free.push_back(i);
            }
        }
    }
}

size_t HandleTable::OpenCount() const {
    std::lock_guard lock(m_mutex);
    return m_slots.size() - m_free.size();
}

} // namespace platform
