#include "user/MenuTable.h"

namespace platform {

MenuTable& MenuTable::Instance() {
    static MenuTable table;
    return table;
}

HMENU MenuTable::Insert(bool popup) {
    return static_cast<HMENU>(m_slots.Insert(std::make_shared<MenuObject>(popup)));
}

std::shared_ptr<MenuObject> MenuTable::Find(HMENU menu) const { return m_slots.Lookup(menu); }

bool MenuTable::DestroyLocked(HMENU menu, int depth) {
    auto object = Find(menu);
    if (!object || depth > kMaxDepth)
        return false;
    for (const MenuItem& item : object->m_items)
        if (item.IsPopup())
            DestroyLocked(item.submenu, depth + 1);
    return m_slots.Remove(menu);
}

std::optional<size_t> MenuTable::LocateLocked(HMENU menu, UINT item, UINT flags, HMENU& owner,
                                              int depth) const {
    auto object = Find(menu);
    if (!object || depth > kMaxDepth)
        return std::nullopt;
    if (flags & MF_BYPOSITION) {
        if (item >= object->m_items.size())
            return std::nullopt;
        owner = menu;
        return size_t(item);
    }
    for (size_t i = 0; i < object->m_items.size(); ++i) {
        const MenuItem& row = object->m_items[i];
        if (row.IsPopup()) {
            if (auto inner = LocateLocked(row.submenu, item, flags, owner, depth + 1))
                return inner;
        } else if (!row.IsSeparator() && row.id == item) {
            owner = menu;
            return i;
        }
    }
    return std::nullopt;
}

bool MenuTable::ContainsLocked(HMENU outer, HMENU inner, int depth) const {
    if (outer == inner)
        return true;
    auto object = Find(outer);
    if (!object || depth > kMaxDepth)
        return false;
    for (const MenuItem& row : object->m_items)
        if (row.IsPopup() && ContainsLocked(row.submenu, inner, depth + 1))
            return true;
    return false;
}

} // namespace platform
