// Every menu of the device by handle. Handles carry a generation, so a destroyed menu's
// handle is recognised as stale. One mutex guards the rows of every menu: menus are small
// and changed rarely, and a pop-up menu copies the rows it shows.
#pragma once

#include "kernel/SlotTable.h"
#include "user/MenuObject.h"

#include <memory>
#include <mutex>
#include <optional>

namespace platform {

class MenuTable {
public:
    static MenuTable& Instance();

    std::mutex& Mutex() { return m_mutex; }
    HMENU Insert(bool popup);
    // Null for a stale or foreign handle.
    std::shared_ptr<MenuObject> Find(HMENU menu) const;
    // Removes the menu and its submenus (as deep as kMaxDepth). Expects Mutex().
    bool DestroyLocked(HMENU menu, int depth = 0);
    // The index of the row that `item` names: a position (MF_BYPOSITION) or a command,
    // searched through submenus as on the device. `owner` gets the menu that holds the
    // row. Expects Mutex().
    std::optional<size_t> LocateLocked(HMENU menu, UINT item, UINT flags, HMENU& owner, int depth = 0) const;
    // True when `inner` is `outer` or lies somewhere below it. Expects Mutex().
    bool ContainsLocked(HMENU outer, HMENU inner, int depth = 0) const;
    void Clear() { m_slots.Clear(); }

    // Submenus deeper than this are not followed (they cannot be built by the API).
    static constexpr int kMaxDepth = 32;

private:
    SlotTable<MenuObject, 1> m_slots;
    std::mutex m_mutex;
};

} // namespace platform
