// The device-wide table of GDI objects. A handle is an index with a generation count, so
// a deleted handle is detected, never dereferenced, even after its slot has been reused.
// GDI handles are tagged differently from kernel handles, so neither table accepts the
// other's. Stock objects stay for the life of the process.
#pragma once

#include "gdi/GdiObject.h"

#include <memory>
#include <mutex>
#include <vector>

namespace platform {

class GdiObjectTable {
public:
    static GdiObjectTable& Instance();

    HGDIOBJ Insert(std::shared_ptr<GdiObject> object);
    std::shared_ptr<GdiObject> Lookup(HGDIOBJ handle) const;
    template <typename T> std::shared_ptr<T> LookupAs(HGDIOBJ handle, GdiKind kind) const {
        auto object = Lookup(handle);
        if (!object || object->Kind() != kind)
            return nullptr;
        return std::static_pointer_cast<T>(object);
    }
    // Returns false for a handle that is not live.
    bool Remove(HGDIOBJ handle);
    // Drops every object but the stock ones (device shutdown).
    void Clear();
    size_t LiveCount() const;

    // Guards selection counts and selection changes (SelectObject, DeleteObject, DeleteDC).
    std::mutex& SelectionMutex() { return m_selectionMutex; }

private:
    struct Slot {
        std::shared_ptr<GdiObject> object;
        uint32_t generation = 1;
    };
    static bool Decode(HGDIOBJ handle, size_t& index, uint32_t& generation);
    void Release(size_t index);

    mutable std::mutex m_mutex;
    std::mutex m_selectionMutex;
    std::vector<Slot> m_slots;
    std::vector<size_t> m_free;
};

} // namespace platform
