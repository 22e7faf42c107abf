// The modal loop of TrackPopupMenu: the open levels of one pop-up menu (the menu and the
// submenus opened beside their rows), the keys (Up, Down, Left, Right, Enter, Escape) and
// the stylus, until a command is chosen or the menu is dismissed. The stylus is captured
// by the first level's window, so a tap outside every level closes the menu. One menu is
// tracked at a time on the device.
#pragma once

#include "ce/user.h"
#include "user/PopupMenuLevel.h"

#include <memory>
#include <vector>

namespace platform {

class MenuTracker {
public:
    MenuTracker(HWND owner, UINT flags);
    ~MenuTracker();
    MenuTracker(const MenuTracker&) = delete;
    MenuTracker& operator=(const MenuTracker&) = delete;

    // Opens `menu` at `anchor` and runs until it ends. False (last error set) when another
    // menu is being tracked. `command` gets the chosen command or 0; `quit` is set (with
    // its exit code) when WM_QUIT ended the loop.
    bool Run(HMENU menu, POINT anchor, const RECT* exclude, UINT& command, bool& quit, int& quitCode);

    static const char16_t* kClassName;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    bool Open(HMENU menu, int parentRow);
    void CloseFrom(size_t level);
    // Handles input meant for the menu; false for messages the loop dispatches.
    bool Intercept(const MSG& msg);
    void OnKey(UINT key);
    void OnStylus(UINT message, POINT screen);
    void Activate(size_t level, int row, bool fromKeys);
    void Finish(UINT command);
    PopupMenuLevel* LevelOf(HWND hwnd);

    HWND m_owner;
    UINT m_flags;
    HFONT m_font = nullptr;
    HWND m_focusBefore = nullptr;
    std::vector<std::unique_ptr<PopupMenuLevel>> m_levels;
    POINT m_anchor{};
    const RECT* m_exclude = nullptr;
    int m_pressedLevel = -1;
    bool m_done = false;
    UINT m_command = 0;
};

} // namespace platform
