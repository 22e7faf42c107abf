// A thread-safe table of shared objects named by handles that carry a generation count:
// a handle whose object is gone is detected, never dereferenced, even after its slot has
// been reused. `kTag` (0-3) sits in the low two bits, so that tables with different tags
// never accept each other's handles; no handle is 0 or INVALID_HANDLE_VALUE.
//
// Handle value: generation in bits 32-47, (index + 1) shifted left by 2, the tag below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace platform {

template <typename T, uint64_t kTag> class SlotTable {
public:
    static_assert(kTag < 4, "the tag lives in the low two bits");

    void* Insert(std::shared_ptr<T> object) {
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
        uint64_t value = (uint64_t(slot.generation) << 32) | (uint64_t(index + 1) << 2) | kTag;
        return reinterpret_cast<void*>(static_cast<uintptr_t>(value));
    }

    std::shared_ptr<T> Lookup(const void* handle) const {
        size_t index;
        uint32_t generation;
        if (!Decode(handle, index, generation))
            return nullptr;
        std::lock_guard lock(m_mutex);
        const Slot* slot = Live(index, generation);
        return slot ? slot->object : nullptr;
    }

    // Returns false for a handle that is not live. The object is released outside the
    // table lock, since its destructor may close or release other things.
    bool Remove(const void* handle) {
        size_t index;
        uint32_t generation;
        if (!Decode(handle, index, generation))
            return false;
        std::shared_ptr<T> released;
        {
            std::lock_guard lock(m_mutex);
            if (!Live(index, generation))
                return false;
            released = std::move(m_slots[index].object);
            Free(index);
        }
        return true;
    }

    // Drops every object for which `keep` is false (or every object without `keep`).
    void Clear(const std::function<bool(const T&)>& keep = nullptr) {
        std::vector<std::shared_ptr<T>> released;
        {
            std::lock_guard lock(m_mutex);
            for (size_t i = 0; i < m_slots.size(); ++i) {
                if (m_slots[i].object && !(keep && keep(*m_slots[i].object))) {
                    released.push_back(std::move(m_slots[i].object));
                    Free(i);
                }
            }
        }
    }

    size_t LiveCount() const {
        std::lock_guard lock(m_mutex);
        return m_slots.size() - m_free.size();
    }

private:
    struct Slot {
        std::shared_ptr<T> object;
        uint32_t generation = 1; // 1 to 0xFFFF
    };

    static bool Decode(const void* handle, size_t& index, uint32_t& generation) {
        uint64_t value = reinterpret_cast<uintptr_t>(handle);
        if ((value & 3) != kTag || (value >> 48) != 0)
            return false;
        uint64_t low = (value & 0xFFFFFFFFu) >> 2;
        if (low == 0)
            return false;
        index = static_cast<size_t>(low - 1);
        generation = static_cast<uint32_t>(value >> 32);
        return true;
    }

    const Slot* Live(size_t index, uint32_t generation) const {
        if (index >= m_slots.size())
            return nullptr;
        const Slot& slot = m_slots[index];
        return slot.object && slot.generation == generation ? &slot : nullptr;
    }

    void Free(size_t index) {
        Slot& slot = m_slots[index];
        slot.generation = slot.generation == 0xFFFF ? 1 : slot.generation + 1;
        m_free.push_back(index);
    }

    mutable std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<size_t> m_free;
};

} // namespace platform
