// The exported menu functions: creating menus and changing their rows. Every function
// checks the handle first (ERROR_INVALID_MENU_HANDLE) and never follows a stale one.
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/MenuTable.h"

using namespace platform;

namespace {

MenuTable& Menus() { return MenuTable::Instance(); }

// The row a caller describes with flags, item and text; false with the last error set
// for a submenu that is stale or would contain its own parent.
bool MakeItem(HMENU parent, UINT flags, UINT_PTR item, LPCWSTR text, MenuItem& row) {
    row.flags = flags & (MF_SEPARATOR | MF_POPUP | MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_OWNERDRAW |
                         MF_MENUBARBREAK | MF_MENUBREAK);
    if (flags & MF_POPUP) {
        row.submenu = reinterpret_cast<HMENU>(item);
        if (!Menus().Find(row.submenu) || Menus().ContainsLocked(row.submenu, parent)) {
            SetLastError(ERROR_INVALID_MENU_HANDLE);
            return false;
        }
    } else {
        row.id = item;
    }
    if (!(flags & MF_SEPARATOR) && text)
        row.text = text;
    return true;
}

std::shared_ptr<MenuObject> FindOrFail(HMENU menu) {
    auto object = Menus().Find(menu);
    if (!object)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return object;
}

// Changes the bits in `mask` of one row to `value`; the previous bits, or -1.
DWORD ChangeState(HMENU menu, UINT item, UINT flags, UINT mask, UINT value) {
    std::lock_guard lock(Menus().Mutex());
    if (!FindOrFail(menu))
        return DWORD(-1);
    HMENU owner = nullptr;
    auto index = Menus().LocateLocked(menu, item, flags, owner);
    if (!index)
        return DWORD(-1);
    MenuItem& row = Menus().Find(owner)->m_items[*index];
    DWORD previous = row.flags & mask;
    row.flags = (row.flags & ~mask) | (value & mask);
    return previous;
}

BOOL Remove(HMENU menu, UINT position, UINT flags, bool destroySubmenu) {
    std::lock_guard lock(Menus().Mutex());
    if (!FindOrFail(menu))
        return FALSE;
    HMENU owner = nullptr;
    auto index = Menus().LocateLocked(menu, position, flags, owner);
    if (!index) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    auto object = Menus().Find(owner);
    MenuItem row = object->m_items[*index];
    object->m_items.erase(object->m_items.begin() + std::ptrdiff_t(*index));
    if (destroySubmenu && row.IsPopup())
        Menus().DestroyLocked(row.submenu);
    return TRUE;
}

} // namespace

CE_API HMENU CreateMenu() { return Menus().Insert(false); }

CE_API HMENU CreatePopupMenu() { return Menus().Insert(true); }

CE_API BOOL DestroyMenu(HMENU menu) {
    std::lock_guard lock(Menus().Mutex());
    if (!Menus().DestroyLocked(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

CE_API BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text) {
    std::lock_guard lock(Menus().Mutex());
    auto object = FindOrFail(menu);
    if (!object)
        return FALSE;
    MenuItem row;
    if (!MakeItem(menu, flags, item, text, row))
        return FALSE;
    auto& items = object->m_items;
    size_t at = items.size();
    if (position != UINT(-1)) {
        HMENU owner = nullptr;
        auto index = Menus().LocateLocked(menu, position, flags & MF_BYPOSITION, owner);
        if (index && owner == menu)
            at = *index;
        else if (!(flags & MF_BYPOSITION)) {
            SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
            return FALSE;
        }
    }
    items.insert(items.begin() + std::ptrdiff_t(at), std::move(row));
    return TRUE;
}

CE_API BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text) {
    return InsertMenuW(menu, UINT(-1), flags | MF_BYPOSITION, item, text);
}

CE_API BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable) {
    return BOOL(ChangeState(menu, item, enable & MF_BYPOSITION, MF_GRAYED | MF_DISABLED, enable));
}

CE_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT check) {
    return ChangeState(menu, item, check & MF_BYPOSITION, MF_CHECKED, check);
}

CE_API int GetMenuItemCount(HMENU menu) {
    std::lock_guard lock(Menus().Mutex());
    auto object = FindOrFail(menu);
    return object ? int(object->m_items.size()) : -1;
}

CE_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, false); }

CE_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags) { return Remove(menu, position, flags, true); }

CE_API HMENU GetSubMenu(HMENU menu, int position) {
    std::lock_guard lock(Menus().Mutex());
    auto object = FindOrFail(menu);
    if (!object || position < 0 || size_t(position) >= object->m_items.size())
        return nullptr;
    const MenuItem& row = object->m_items[size_t(position)];
    return row.IsPopup() ? row.submenu : nullptr;
}

CE_API UINT GetMenuItemID(HMENU menu, int position) {
    std::lock_guard lock(Menus().Mutex());
    auto object = FindOrFail(menu);
    if (!object || position < 0 || size_t(position) >= object->m_items.size())
        return UINT(-1);
    const MenuItem& row = object->m_items[size_t(position)];
    return row.IsPopup() || row.IsSeparator() ? UINT(-1) : UINT(row.id);
}

CE_API UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
    std::lock_guard lock(Menus().Mutex());
    if (!FindOrFail(menu))
        return UINT(-1);
    HMENU owner = nullptr;
    auto index = Menus().LocateLocked(menu, item, flags, owner);
    if (!index)
        return UINT(-1);
    const MenuItem& row = Menus().Find(owner)->m_items[*index];
    if (!row.IsPopup())
        return row.flags;
    auto submenu = Menus().Find(row.submenu);
    UINT count = submenu ? UINT(std::min<size_t>(submenu->m_items.size(), 0xFF)) : 0;
    return (count << 8) | (row.flags & 0xFF);
}

CE_API int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags) {
    std::lock_guard lock(Menus().Mutex());
    if (!FindOrFail(menu))
        return 0;
    HMENU owner = nullptr;
    auto index = Menus().LocateLocked(menu, item, flags, owner);
    if (!index)
        return 0;
    const std::u16string& label = Menus().Find(owner)->m_items[*index].text;
    if (!text || maxCount <= 0)
        return int(label.size());
    size_t count = std::min(label.size(), size_t(maxCount - 1));
    label.copy(text, count);
    text[count] = 0;
    return int(count);
}
