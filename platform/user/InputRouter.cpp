#include "user/InputRouter.h"

#include "ce/aygshell.h"

#include <algorithm>

namespace platform {

namespace {
constexpr UINT kModifierMask = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;
}

UINT InputRouter::Modifiers() const {
    UINT modifiers = 0;
    if (m_down[VK_MENU] || m_down[VK_LMENU] || m_down[VK_RMENU])
        modifiers |= MOD_ALT;
    if (m_down[VK_CONTROL] || m_down[VK_LCONTROL] || m_down[VK_RCONTROL])
        modifiers |= MOD_CONTROL;
    if (m_down[VK_SHIFT] || m_down[VK_LSHIFT] || m_down[VK_RSHIFT])
        modifiers |= MOD_SHIFT;
    // The home key is VK_LWIN, so a hot key on it must not count it as its own modifier.
    if (m_down[VK_RWIN])
        modifiers |= MOD_WIN;
    return modifiers;
}

const HotKey* InputRouter::Match(UINT modifiers, UINT virtualKey) const {
    for (const HotKey& hotKey : m_hotKeys)
        if (hotKey.virtualKey == virtualKey && (hotKey.modifiers & kModifierMask) == modifiers)
            return &hotKey;
    return nullptr;
}

bool InputRouter::AddHotKey(const HotKey& hotKey) {
    if (Match(hotKey.modifiers & kModifierMask, hotKey.virtualKey))
        return false;
    for (const HotKey& other : m_hotKeys)
        if (other.hwnd == hotKey.hwnd && other.id == hotKey.id &&
            (hotKey.hwnd || other.threadId == hotKey.threadId))
            return false;
    m_hotKeys.push_back(hotKey);
    return true;
}

bool InputRouter::RemoveHotKey(HWND hwnd, DWORD threadId, int id) {
    auto it = std::find_if(m_hotKeys.begin(), m_hotKeys.end(), [&](const HotKey& hotKey) {
        return hotKey.hwnd == hwnd && hotKey.id == id && (hwnd || hotKey.threadId == threadId);
    });
    if (it == m_hotKeys.end())
        return false;
    m_hotKeys.erase(it);
    return true;
}

bool InputRouter::RemoveCombination(UINT modifiers, UINT virtualKey) {
    return std::erase_if(m_hotKeys, [&](const HotKey& hotKey) {
               return hotKey.virtualKey == virtualKey &&
                      (hotKey.modifiers & kModifierMask) == (modifiers & kModifierMask);
           }) > 0;
}

void InputRouter::RemoveWindow(HWND hwnd) {
    std::erase_if(m_menuBars, [&](const MenuBarKeys& bar) { return bar.owner == hwnd || bar.bar == hwnd; });
    std::erase_if(m_hotKeys, [hwnd](const HotKey& hotKey) { return hotKey.hwnd == hwnd; });
}

void InputRouter::RemoveThread(DWORD threadId) {
    std::erase_if(m_hotKeys, [threadId](const HotKey& hotKey) {
        return !hotKey.hwnd && hotKey.threadId == threadId;
    });
}

std::optional<RoutedInput> InputRouter::RouteKey(BYTE virtualKey, BYTE scanCode, bool up,
                                                 HWND focus, HWND active) {
    bool wasDown = m_down[virtualKey];
    m_down[virtualKey] = !up;
    if (!up && !wasDown)
        m_toggled[virtualKey] = !m_toggled[virtualKey];
    UINT modifiers = Modifiers();
    const HotKey* hotKey = Match(modifiers, virtualKey);
    if (hotKey) {
        // A hot key takes its press; its release only when registered with MOD_KEYUP.
        if (!up || (hotKey->modifiers & MOD_KEYUP)) {
            UINT reported = modifiers | (up ? MOD_KEYUP : 0);
            return RoutedInput{hotKey->hwnd, hotKey->threadId, WM_HOTKEY, WPARAM(hotKey->id),
                               MAKELPARAM(reported, virtualKey)};
        }
    }
    // A key a program holds as a hot key keeps its usual way also on release.
    if (!hotKey)
        if (auto toBar = RouteToMenuBar(virtualKey, up, modifiers, active))
            return toBar;
    HWND target = focus ? focus : active;
    if (!target)
        return std::nullopt;
    // Repeat count 1, the scan code, the previous state and the transition bit.
    LPARAM lParam = 1 | (LPARAM(scanCode) << 16);
    if (up)
        lParam |= LPARAM(0xC0000000u);
    else if (wasDown)
        lParam |= LPARAM(0x40000000);
    return RoutedInput{target, 0, UINT(up ? WM_KEYUP : WM_KEYDOWN), virtualKey, lParam};
}

void InputRouter::SetMenuBarKeys(const MenuBarKeys& keys) {
    std::erase_if(m_menuBars, [&](const MenuBarKeys& bar) { return bar.owner == keys.owner; });
    m_menuBars.push_back(keys);
}

MenuBarKeys* InputRouter::FindMenuBar(HWND bar) {
    for (MenuBarKeys& keys : m_menuBars)
        if (keys.bar == bar)
            return &keys;
    return nullptr;
}

// A soft key press becomes its command; an overridden key goes to the owner as WM_HOTKEY
// (SHMBOF_NOTIFY, press and release) or nowhere (SHMBOF_NODEFAULT alone).
std::optional<RoutedInput> InputRouter::RouteToMenuBar(BYTE virtualKey, bool up, UINT modifiers,
                                                       HWND active) const {
    auto bar = std::find_if(m_menuBars.begin(), m_menuBars.end(),
                            [&](const MenuBarKeys& keys) { return active && keys.owner == active; });
    if (bar == m_menuBars.end())
        return std::nullopt;
    for (const auto& [key, flags] : bar->overrides) {
        if (key != virtualKey)
            continue;
        if (flags & SHMBOF_NOTIFY)
            return RoutedInput{bar->owner, 0, WM_HOTKEY, 0,
                               MAKELPARAM(modifiers | (up ? MOD_KEYUP : 0), virtualKey)};
        if (flags & SHMBOF_NODEFAULT)
            return RoutedInput{bar->owner, 0, WM_NULL, 0, 0, true};
    }
    UINT command = virtualKey == VK_TSOFT1 ? bar->leftCommand : virtualKey == VK_TSOFT2 ? bar->rightCommand : 0;
    if (!command)
        return std::nullopt;
    if (up)
        return RoutedInput{bar->owner, 0, WM_NULL, 0, 0, true};
    return RoutedInput{bar->owner, 0, WM_COMMAND, command, 0};
}

void InputRouter::Reset() {
    m_menuBars.clear();
    m_down.fill(false);
    m_toggled.fill(false);
    m_hotKeys.clear();
}

} // namespace platform
