// The device-wide table of kernel handles. A handle is an index with a generation
// count, so a closed handle is detected, never dereferenced, even after its slot has
// been reused.
#pragma once

#include "ce/types.h"
#include "kernel/KernelObject.h"

#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class HandleTable {
public:
    static HandleTable& Instance();

    HANDLE Insert(std::shared_ptr<KernelObject> object);
    std::shared_ptr<KernelObject> Lookup(HANDLE handle) const;
    template <typename T> std::shared_ptr<T> LookupAs(HANDLE handle, ObjectType type) const {
        auto object = Lookup(handle);
        if (!object || object->Type() != type)
            return nullptr;
        return std::static_pointer_cast<T>(object);
    }
    // Returns false for a handle that is not open.
    bool Close(HANDLE handle);
    // Drops every handle (device shutdown).
    void Clear();
    size_t OpenCount() const;

private:
    struct Slot {
        std::shared_ptr<KernelObject> object;
        uint32_t generation = 1;
    };
    bool Decode(HANDLE handle, size_t& index, uint32_t& generation) const;

    mutable std::mutex m_mutex;
    std::vector<Slot> m_slots;
    std::vector<size_t> m_free;
};

} // namespace platform
