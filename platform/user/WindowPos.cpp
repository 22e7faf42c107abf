// Exported functions over a window's place: position and size, z-order, visibility and
// coordinate conversion.
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/UserPrivate.h"

#include <algorithm>

using namespace platform;

namespace {

// Owned pop-ups stay right above their owner when it is raised.
void RaiseOwnedLocked(WindowObject& owner) {
    std::vector<HWND> owned;
    for (HWND hwnd : Wm().m_windows.TopLevel())
        if (WindowObject* window = Wm().m_windows.Find(hwnd); window && window->m_owner == owner.m_handle)
            owned.push_back(hwnd);
    // Each goes directly above the owner, topmost first, which keeps their order.
    for (HWND hwnd : owned) {
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (window->IsTopmost() != owner.IsTopmost())
            continue;
        auto& top = Wm().m_windows.TopLevel();
        auto position = std::find(top.begin(), top.end(), owner.m_handle);
        HWND above = position == top.begin() ? HWND_TOP : *(position - 1);
        if (above != hwnd)
            Wm().m_windows.Place(*window, above);
    }
}

void ApplyZOrderLocked(WindowObject& window, HWND insertAfter, UINT flags) {
    if (insertAfter == HWND_NOTOPMOST && !window.IsTopmost())
        return; // already outside the topmost band: no change
    if (insertAfter != HWND_TOP && insertAfter != HWND_BOTTOM && insertAfter != HWND_TOPMOST &&
        insertAfter != HWND_NOTOPMOST) {
        WindowObject* after = Wm().m_windows.Find(insertAfter);
        if (!after || after->m_parent != window.m_parent || insertAfter == window.m_handle)
            return;
    }
    Wm().m_windows.Place(window, insertAfter);
    if (!window.IsChild() && !(flags & SWP_NOOWNERZORDER) && insertAfter != HWND_BOTTOM)
        RaiseOwnedLocked(window);
}

// A child that was hidden, moved or resized leaves its old place to its parent to repaint:
// it shares the parent's surface, so its old pixels would stay otherwise.
void ExposeParentLocked(WindowObject& window, const RECT& oldRect, bool exposed) {
    if (!exposed || !window.IsChild())
        return;
    if (WindowObject* parent = Wm().m_windows.Find(window.m_parent))
        InvalidateLocked(*parent, &oldRect, true);
}

struct PosResult {
    bool ok = false;
    bool activate = false;
    bool hidActive = false;
    WINDOWPOS changed{};
};

PosResult ApplyPosLocked(WINDOWPOS pos) {
    PosResult result;
    WindowObject* window = Wm().m_windows.Find(pos.hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return result;
    }
    RECT old = window->m_rect;
    RECT rect = old;
    if (!(pos.flags & SWP_NOMOVE)) {
        rect.left = pos.x;
        rect.top = pos.y;
    }
    LONG cx = (pos.flags & SWP_NOSIZE) ? old.right - old.left : std::max(pos.cx, 0);
    LONG cy = (pos.flags & SWP_NOSIZE) ? old.bottom - old.top : std::max(pos.cy, 0);
    rect.right = rect.left + cx;
    rect.bottom = rect.top + cy;
    bool moved = rect.left != old.left || rect.top != old.top;
    bool sized = cx != old.right - old.left || cy != old.bottom - old.top;
    window->m_rect = rect;
    if (!(pos.flags & SWP_NOZORDER))
        ApplyZOrderLocked(*window, pos.hwndInsertAfter, pos.flags);
    bool wasVisible = (window->m_style & WS_VISIBLE) != 0;
    if ((pos.flags & SWP_SHOWWINDOW) && !wasVisible)
        window->m_style |= WS_VISIBLE;
    if ((pos.flags & SWP_HIDEWINDOW) && wasVisible) {
        window->m_style &= ~DWORD(WS_VISIBLE);
        ValidateTreeLocked(*window);
        result.hidActive = Wm().m_active == pos.hwnd;
    }
    bool visible = (window->m_style & WS_VISIBLE) != 0;
    ExposeParentLocked(*window, old, wasVisible && (!visible || moved || sized));
    bool repaint = (!wasVisible && visible) ||
                   (visible && (moved || sized || (pos.flags & (SWP_FRAMECHANGED | SWP_NOCOPYBITS))));
    if (repaint && !(pos.flags & SWP_NOREDRAW) && IsVisibleLocked(*window))
        InvalidateTreeLocked(*window);
    result.activate = !(pos.flags & (SWP_NOACTIVATE | SWP_HIDEWINDOW)) && !window->IsChild() &&
                      visible && !(window->m_exStyle & WS_EX_NOACTIVATE) &&
                      !(window->m_style & WS_DISABLED) && Wm().m_active != pos.hwnd;
    pos.x = rect.left;
    pos.y = rect.top;
    pos.cx = cx;
    pos.cy = cy;
    // WM_MOVE and WM_SIZE follow from WM_WINDOWPOSCHANGED only for a real change.
    if (!moved)
        pos.flags |= SWP_NOMOVE;
    if (!sized)
        pos.flags |= SWP_NOSIZE;
    result.changed = pos;
    result.ok = true;
    return result;
}

} // namespace

namespace platform {

bool SetWindowPosInternal(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    WINDOWPOS pos{hwnd, insertAfter, x, y, cx, cy, flags};
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if (!(flags & SWP_NOSENDCHANGING))
        SendMessageW(hwnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    PosResult result;
    {
        auto lock = LockUser();
        result = ApplyPosLocked(pos);
    }
    if (!result.ok)
        return false;
    if (result.activate)
        ActivateWindow(hwnd);
    SendMessageW(hwnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&result.changed));
    if (result.hidActive) {
        HWND next;
        {
            auto lock = LockUser();
            next = NextActiveCandidateLocked(hwnd);
        }
        ActivateWindow(next);
    }
    return true;
}

} // namespace platform

CE_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags) {
    return SetWindowPosInternal(hwnd, insertAfter, x, y, cx, cy, flags) ? TRUE : FALSE;
}

CE_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW);
    return SetWindowPos(hwnd, nullptr, x, y, width, height, flags);
}

CE_API BOOL BringWindowToTop(HWND hwnd) {
    return SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

CE_API BOOL ShowWindow(HWND hwnd, int command) {
    bool wasVisible;
    bool child;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        wasVisible = (window->m_style & WS_VISIBLE) != 0;
        child = window->IsChild();
    }
    UINT flags = SWP_NOMOVE | SWP_NOSIZE;
    bool show = true;
    switch (command) {
    case SW_HIDE:
    case SW_MINIMIZE:
    case SW_SHOWMINIMIZED:
    case SW_SHOWMINNOACTIVE:
        // The device has no minimised state: a minimised window is hidden.
        show = false;
        flags |= SWP_HIDEWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWNA:
    case SW_SHOWNOACTIVATE:
        flags |= SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER;
        break;
    case SW_SHOWMAXIMIZED:
        flags = SWP_SHOWWINDOW | SWP_FRAMECHANGED;
        break;
    default:
        flags |= SWP_SHOWWINDOW;
        break;
    }
    if (child)
        flags |= SWP_NOACTIVATE | SWP_NOZORDER;
    if (!show && !wasVisible)
        return FALSE;
    if (show != wasVisible)
        SendMessageW(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    int cx = 0, cy = 0;
    if (command == SW_SHOWMAXIMIZED && !child) {
        cx = Wm().ScreenWidth();
        cy = Wm().ScreenHeight();
    }
    SetWindowPosInternal(hwnd, HWND_TOP, 0, 0, cx, cy, flags);
    return wasVisible ? TRUE : FALSE;
}

CE_API BOOL GetWindowRect(HWND hwnd, LPRECT rect) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window || !rect) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    POINT origin = ClientOriginLocked(*window);
    *rect = RECT{origin.x, origin.y, origin.x + window->Width(), origin.y + window->Height()};
    return TRUE;
}

CE_API BOOL GetClientRect(HWND hwnd, LPRECT rect) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window || !rect) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    *rect = RECT{0, 0, window->Width(), window->Height()};
    return TRUE;
}

CE_API BOOL ScreenToClient(HWND hwnd, LPPOINT point) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOriginLocked(*window);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

CE_API BOOL ClientToScreen(HWND hwnd, LPPOINT point) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window || !point)
        return FALSE;
    POINT origin = ClientOriginLocked(*window);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}
