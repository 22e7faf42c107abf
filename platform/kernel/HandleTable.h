// The device-wide table of kernel handles (events, threads, processes, files, searches).
#pragma once

#include "ce/types.h"
#include "kernel/KernelObject.h"
#include "kernel/SlotTable.h"

#include <memory>

namespace platform {

class HandleTable {
public:
    static HandleTable& Instance();

    HANDLE Insert(std::shared_ptr<KernelObject> object) { return m_slots.Insert(std::move(object)); }
    std::shared_ptr<KernelObject> Lookup(HANDLE handle) const { return m_slots.Lookup(handle); }
    template <typename T> std::shared_ptr<T> LookupAs(HANDLE handle, ObjectType type) const {
        auto object = Lookup(handle);
        if (!object || object->Type() != type)
            return nullptr;
        return std::static_pointer_cast<T>(object);
    }
    // Returns false for a handle that is not open.
    bool Close(HANDLE handle) { return m_slots.Remove(handle); }
    // Drops every handle (device shutdown).
    void Clear() { m_slots.Clear(); }
    size_t OpenCount() const { return m_slots.LiveCount(); }

private:
    SlotTable<KernelObject, 0> m_slots;
};

} // namespace platform
