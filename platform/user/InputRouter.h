// Routes hardware input to windows: keeps the key state and the registered hot keys and
// decides, for each key event, which window or thread gets which message. A registered
// hot key wins over the focus. The stylus input reuses the same routing entry points.
// Guarded by the WaitHub lock; the caller posts the routed message.
#pragma once

#include "ce/user.h"

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace platform {

struct RoutedInput {
    HWND hwnd = nullptr;  // target window, or null for a thread message
    DWORD threadId = 0;   // owning thread of a hot key registered without a window
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    bool dropped = false; // taken by a menu bar's key override: nobody gets it
};

// What a menu bar does with keys while its owner is the active window: the soft keys send
// their commands, and overridden keys (SHMBOF_* flags) are reported or swallowed.
struct MenuBarKeys {
    HWND owner = nullptr;
    HWND bar = nullptr;
    UINT leftCommand = 0; // 0: no soft key
    UINT rightCommand = 0;
    std::vector<std::pair<UINT, UINT>> overrides; // virtual key, SHMBOF_* flags
};

struct HotKey {
    HWND hwnd = nullptr;
    DWORD threadId = 0;
    int id = 0;
    UINT modifiers = 0; // may include MOD_KEYUP: the release is reported too
    UINT virtualKey = 0;
};

class InputRouter {
public:
    // False when another registration holds the same key combination, or the same
    // window (or thread) already uses the id.
    bool AddHotKey(const HotKey& hotKey);
    bool RemoveHotKey(HWND hwnd, DWORD threadId, int id);
    // Removes whatever registration holds the combination; false when none did.
    bool RemoveCombination(UINT modifiers, UINT virtualKey);
    // Replaces the menu bar keys of `keys.owner` (one menu bar per owner).
    void SetMenuBarKeys(const MenuBarKeys& keys);
    // The keys of the menu bar window `bar`, or null.
    MenuBarKeys* FindMenuBar(HWND bar);

    // Drops the hot keys and menu bar keys of a destroyed window.
    void RemoveWindow(HWND hwnd);
    void RemoveThread(DWORD threadId);

    // A key press or release; `focus` and `active` are the current focus and active
    // window. Returns nothing when no window can take the key.
    std::optional<RoutedInput> RouteKey(BYTE virtualKey, BYTE scanCode, bool up, HWND focus,
                                        HWND active);

    bool IsDown(int virtualKey) const { return m_down[virtualKey & 0xFF]; }
    // The stylus sets VK_LBUTTON while it touches the screen.
    void SetDown(int virtualKey, bool down) { m_down[virtualKey & 0xFF] = down; }
    bool IsToggled(int virtualKey) const { return m_toggled[virtualKey & 0xFF]; }
    // MOD_* bits of the modifier keys held now.
    UINT Modifiers() const;
    void Reset();

private:
    const HotKey* Match(UINT modifiers, UINT virtualKey) const;
    std::optional<RoutedInput> RouteToMenuBar(BYTE virtualKey, bool up, UINT modifiers, HWND active) const;

    std::array<bool, 256> m_down{};
    std::array<bool, 256> m_toggled{};
    std::vector<HotKey> m_hotKeys;
    std::vector<MenuBarKeys> m_menuBars;
};

} // namespace platform
