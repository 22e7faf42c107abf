// Exported activation, focus, capture and enable functions. The device has one active
// window and one focus for the whole system. The window losing activation or focus is
// told first, then the one gaining it: WM_NCACTIVATE and WM_ACTIVATE to the old and new
// active window, then WM_KILLFOCUS and WM_SETFOCUS (DefWindowProcW gives the focus to a
// window that becomes active). Windows of other threads are told without waiting.
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/UserPrivate.h"

using namespace platform;

namespace {

constexpr int kMaxDepth = 256;

bool CanActivateLocked(const WindowObject& window) {
    return !window.IsChild() && (window.m_style & WS_VISIBLE) && !(window.m_style & WS_DISABLED) &&
           !(window.m_exStyle & WS_EX_NOACTIVATE) && !window.m_destroying;
}

HWND TopLevelOfLocked(HWND hwnd) {
    WindowObject* window = Wm().m_windows.Find(hwnd);
    for (int depth = 0; window && window->IsChild() && depth < kMaxDepth; ++depth)
        window = Wm().m_windows.Find(window->m_parent);
    return window ? window->m_handle : nullptr;
}

// The root owner of a pop-up chain remembers its last active pop-up.
void RememberPopupLocked(WindowObject& window) {
    WindowObject* root = &window;
    for (int depth = 0; root->m_owner && depth < kMaxDepth; ++depth) {
        WindowObject* owner = Wm().m_windows.Find(root->m_owner);
        if (!owner)
            break;
        root = owner;
    }
    root->m_lastActivePopup = window.m_handle;
}

HWND ChangeFocus(HWND hwnd) {
    HWND old;
    {
        auto lock = LockUser();
        old = Wm().m_focus;
        if (old == hwnd)
            return old;
        Wm().m_focus = hwnd;
    }
    if (old && IsWindow(old))
        SendOrNotify(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (hwnd && IsWindow(hwnd))
        SendOrNotify(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

} // namespace

namespace platform {

HWND NextActiveCandidateLocked(HWND leaving) {
    if (WindowObject* window = Wm().m_windows.Find(leaving); window && window->m_owner)
        if (WindowObject* owner = Wm().m_windows.Find(window->m_owner); owner && CanActivateLocked(*owner))
            return owner->m_handle;
    for (HWND hwnd : Wm().m_windows.TopLevel())
        if (WindowObject* window = Wm().m_windows.Find(hwnd);
            window && hwnd != leaving && CanActivateLocked(*window))
            return hwnd;
    return nullptr;
}

void ForgetWindowLocked(const WindowObject& window) {
    if (Wm().m_focus == window.m_handle)
        Wm().m_focus = nullptr;
    if (Wm().m_active == window.m_handle)
        Wm().m_active = nullptr;
    if (Wm().m_capture == window.m_handle)
        Wm().m_capture = nullptr;
}

void ActivateWindow(HWND hwnd) {
    HWND old;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (hwnd && !window)
            return;
        old = Wm().m_active;
        if (old == hwnd)
            return;
        Wm().m_active = hwnd;
        if (window)
            RememberPopupLocked(*window);
    }
    if (old && IsWindow(old)) {
        SendOrNotify(old, WM_NCACTIVATE, FALSE, 0);
        SendOrNotify(old, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(hwnd));
    }
    if (!hwnd) {
        ChangeFocus(nullptr);
        return;
    }
    SetWindowPosInternal(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendOrNotify(hwnd, WM_NCACTIVATE, TRUE, 0);
    SendOrNotify(hwnd, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(old));
}

} // namespace platform

CE_API BOOL SetForegroundWindow(HWND hwnd) {
    auto value = reinterpret_cast<uintptr_t>(hwnd);
    bool lastPopup = value & 1;
    hwnd = reinterpret_cast<HWND>(value & ~uintptr_t(1));
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        hwnd = TopLevelOfLocked(hwnd);
        if (lastPopup)
            if (WindowObject* popup = Wm().m_windows.Find(Wm().m_windows.Find(hwnd)->m_lastActivePopup);
                popup && CanActivateLocked(*popup))
                hwnd = popup->m_handle;
    }
    ActivateWindow(hwnd);
    return TRUE;
}

CE_API HWND GetForegroundWindow() {
    auto lock = LockUser();
    return Wm().m_active;
}

CE_API HWND SetActiveWindow(HWND hwnd) {
    HWND old;
    {
        auto lock = LockUser();
        if (hwnd && !Wm().m_windows.Find(hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        old = Wm().m_active;
        hwnd = hwnd ? TopLevelOfLocked(hwnd) : nullptr;
    }
    ActivateWindow(hwnd);
    return old;
}

CE_API HWND GetActiveWindow() {
    auto lock = LockUser();
    return Wm().m_active;
}

CE_API HWND SetFocus(HWND hwnd) {
    HWND top = nullptr;
    HWND previous;
    {
        auto lock = LockUser();
        if (hwnd && !Wm().m_windows.Find(hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        previous = Wm().m_focus;
        if (hwnd && Wm().m_active != TopLevelOfLocked(hwnd))
            top = TopLevelOfLocked(hwnd);
    }
    // Focus into another top-level window activates that window first.
    // FIXME: the activation gives the focus to the top-level window on the way (an extra
    // WM_SETFOCUS/WM_KILLFOCUS pair the device does not send).
    if (top)
        ActivateWindow(top);
    ChangeFocus(hwnd);
    return previous;
}

CE_API HWND GetFocus() {
    auto lock = LockUser();
    return Wm().m_focus;
}

CE_API HWND SetCapture(HWND hwnd) {
    HWND old;
    {
        auto lock = LockUser();
        if (!Wm().m_windows.Find(hwnd)) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return nullptr;
        }
        old = Wm().m_capture;
        Wm().m_capture = hwnd;
    }
    if (old && old != hwnd)
        SendOrNotify(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return old;
}

CE_API BOOL ReleaseCapture() {
    HWND old;
    {
        auto lock = LockUser();
        old = Wm().m_capture;
        Wm().m_capture = nullptr;
    }
    if (old)
        SendOrNotify(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

CE_API HWND GetCapture() {
    auto lock = LockUser();
    return Wm().m_capture;
}

CE_API BOOL EnableWindow(HWND hwnd, BOOL enable) {
    bool wasDisabled;
    bool loseFocus = false;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        wasDisabled = (window->m_style & WS_DISABLED) != 0;
        if (wasDisabled == !enable)
            return wasDisabled ? TRUE : FALSE;
        if (enable) {
            window->m_style &= ~DWORD(WS_DISABLED);
        } else {
            window->m_style |= WS_DISABLED;
            HWND focus = Wm().m_focus;
            for (int depth = 0; focus && depth < kMaxDepth; ++depth) {
                if (focus == hwnd) {
                    loseFocus = true;
                    break;
                }
                WindowObject* walk = Wm().m_windows.Find(focus);
                focus = walk && walk->IsChild() ? walk->m_parent : nullptr;
            }
        }
    }
    // A disabled window cannot keep the focus.
    if (loseFocus)
        ChangeFocus(nullptr);
    SendMessageW(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}
