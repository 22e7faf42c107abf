#include "gdi/GdiObjectTable.h"

namespace platform {

// Handle value: generation in bits 32-47, (index + 1) shifted left by 2, and the low bits
// 2 (kernel handles have 0 there).
namespace {
constexpr uint64_t kTag = 2;
}

GdiObjectTable& GdiObjectTable::Instance() {
    static GdiObjectTable table;
    return table;
}

HGDIOBJ GdiObjectTable::Insert(std::shared_ptr<GdiObject> object) {
    if (!object)
        return nullptr;
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
    uint64_t value = (uint64_t(slot.generation & 0xFFFF) << 32) | (uint64_t(index + 1) << 2) | kTag;
    return reinterpret_cast<HGDIOBJ>(static_cast<uintptr_t>(value));
}

bool GdiObjectTable::Decode(HGDIOBJ handle, size_t& index, uint32_t& generation) {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 3) != kTag || (value >> 48) != 0)
        return false;
    uint64_t low = (value & 0xFFFFFFFFu) >> 2;
    if (low == 0)
        return false;
    index = size_t(low - 1);
    generation = uint32_t(value >> 32);
    return true;
}

std::shared_ptr<GdiObject> GdiObjectTable::Lookup(HGDIOBJ handle) const {
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

void GdiObjectTable::Release(size_t index) {
    Slot& slot = m_slots[index];
    slot.generation = slot.generation + 1 == 0x10000 ? 1 : slot.generation + 1;
    m_free.push_back(index);
}

bool GdiObjectTable::Remove(HGDIOBJ handle) {
    size_t index;
    uint32_t generation;
    if (!Decode(handle, index, generation))
        return false;
    std::shared_ptr<GdiObject> released;
    {
        std::lock_guard lock(m_mutex);
        if (index >= m_slots.size())
            return false;
        Slot& slot = m_slots[index];
        if (!slot.object || (slot.generation & 0xFFFF) != generation)
            return false;
        released = std::move(slot.object);
        Release(index);
    }
    // A device context releases its selections in its destructor: outside the table lock.
    released.reset();
    return true;
}

void GdiObjectTable::Clear() {
    std::vector<std::shared_ptr<GdiObject>> old;
    {
        std::lock_guard lock(m_mutex);
        for (size_t i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].object && !m_slots[i].object->IsStock()) {
                old.push_back(std::move(m_slots[i].object));
                Release(i);
            }
        }
    }
}

size_t GdiObjectTable::LiveCount() const {
    std::lock_guard lock(m_mutex);
    return m_slots.size() - m_free.size();
}

} // namespace platform
