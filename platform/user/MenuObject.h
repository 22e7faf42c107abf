// One menu: its rows in order. A row is a command, a separator or a submenu that the menu
// owns (destroyed with it). Menus live in the MenuTable under handles with generation
// counts; their rows are guarded by MenuTable::Mutex().
#pragma once

#include "ce/user.h"

#include <string>
#include <vector>

namespace platform {

struct MenuItem {
    UINT flags = 0; // MF_SEPARATOR, MF_POPUP, MF_GRAYED, MF_DISABLED, MF_CHECKED, ...
    UINT_PTR id = 0;
    HMENU submenu = nullptr;
    std::u16string text;

    bool IsSeparator() const { return (flags & MF_SEPARATOR) != 0; }
    bool IsPopup() const { return (flags & MF_POPUP) != 0; }
    bool IsEnabled() const { return (flags & (MF_GRAYED | MF_DISABLED)) == 0 && !IsSeparator(); }
    bool IsChecked() const { return (flags & MF_CHECKED) != 0; }
};

class MenuObject {
public:
    explicit MenuObject(bool popup) : m_popup(popup) {}

    bool IsPopup() const { return m_popup; }
    std::vector<MenuItem> m_items;

private:
    bool m_popup;
};

} // namespace platform
