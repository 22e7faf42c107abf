// The device-wide table of GDI objects. Stock objects stay for the life of the process.
#pragma once

#include "gdi/GdiObject.h"
#include "kernel/SlotTable.h"

#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class GdiObjectTable {
public:
    static GdiObjectTable& Instance();

    HGDIOBJ Insert(std::shared_ptr<GdiObject> object) { return m_slots.Insert(std::move(object)); }
    std::shared_ptr<GdiObject> Lookup(HGDIOBJ handle) const { return m_slots.Lookup(handle); }
    template <typename T> std::shared_ptr<T> LookupAs(HGDIOBJ handle, GdiKind kind) const {
        auto object = Lookup(handle);
        if (!object || object->Kind() != kind)
            return nullptr;
        return std::static_pointer_cast<T>(object);
    }
    // Returns false for a handle that is not live.
    bool Remove(HGDIOBJ handle) { return m_slots.Remove(handle); }
    // Drops every object but the stock ones (device shutdown).
    void Clear() {
        m_slots.Clear([](const GdiObject& object) { return object.IsStock(); });
    }
    size_t LiveCount() const { return m_slots.LiveCount(); }

    // Guards selection counts and selection changes (SelectObject, DeleteObject, DeleteDC).
    std::mutex& SelectionMutex() { return m_selectionMutex; }

private:
    // Tag 2: kernel handles carry 0 there, so neither table accepts the other's handles.
    SlotTable<GdiObject, 2> m_slots;
    std::mutex m_selectionMutex;
};

} // namespace platform
