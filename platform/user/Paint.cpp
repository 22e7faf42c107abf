// Exported update-area bookkeeping. The invalid area of a window is kept as its bounding
// rectangle; WM_PAINT is generated from it after posted messages and before timers.
// BeginPaint, EndPaint and GetDC come with the GDI and validate through ValidateLocked.
#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/WaitHub.h"
#include "user/UserPrivate.h"

#include <algorithm>

using namespace platform;

namespace {

constexpr int kMaxDepth = 256;

bool IsEmpty(const RECT& rect) { return rect.right <= rect.left || rect.bottom <= rect.top; }

RECT Intersect(const RECT& a, const RECT& b) {
    return RECT{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
                std::min(a.bottom, b.bottom)};
}

void SetNeedsPaintLocked(WindowObject& window, bool needsPaint) {
    if (window.m_needsPaint == needsPaint)
        return;
    window.m_needsPaint = needsPaint;
    window.m_queue->m_paintCount += needsPaint ? 1 : -1;
    if (!needsPaint) {
        window.m_update = RECT{};
        window.m_needsErase = false;
    }
}

void InvalidateTreeDepth(WindowObject& window, int depth) {
    InvalidateLocked(window, nullptr, true);
    if (depth >= kMaxDepth)
        return;
    for (HWND hwnd : window.m_children)
        if (WindowObject* child = Wm().m_windows.Find(hwnd); child && (child->m_style & WS_VISIBLE))
            InvalidateTreeDepth(*child, depth + 1);
}

void ValidateTreeDepth(WindowObject& window, int depth) {
    SetNeedsPaintLocked(window, false);
    if (depth >= kMaxDepth)
        return;
    for (HWND hwnd : window.m_children)
        if (WindowObject* child = Wm().m_windows.Find(hwnd))
            ValidateTreeDepth(*child, depth + 1);
}

} // namespace

namespace platform {

void InvalidateLocked(WindowObject& window, const RECT* rect, bool erase) {
    // A window that cannot be seen has nothing to repaint.
    if (!IsVisibleLocked(window))
        return;
    RECT client{0, 0, window.Width(), window.Height()};
    RECT area = rect ? Intersect(*rect, client) : client;
    if (IsEmpty(area))
        return;
    if (window.m_needsPaint && !IsEmpty(window.m_update))
        area = RECT{std::min(area.left, window.m_update.left), std::min(area.top, window.m_update.top),
                    std::max(area.right, window.m_update.right),
                    std::max(area.bottom, window.m_update.bottom)};
    SetNeedsPaintLocked(window, true);
    window.m_update = area;
    window.m_needsErase = window.m_needsErase || erase;
    WaitHub::Instance().NotifyAll();
}

void ValidateLocked(WindowObject& window, const RECT* rect) {
    if (!window.m_needsPaint)
        return;
    // Validating part of the bounding rectangle leaves it invalid unless the part covers it.
    if (rect) {
        RECT left = Intersect(*rect, window.m_update);
        bool covers = left.left <= window.m_update.left && left.top <= window.m_update.top &&
                      left.right >= window.m_update.right && left.bottom >= window.m_update.bottom;
        if (!covers)
            return;
    }
    SetNeedsPaintLocked(window, false);
}

void ValidateTreeLocked(WindowObject& window) { ValidateTreeDepth(window, 0); }

void InvalidateTreeLocked(WindowObject& window) { InvalidateTreeDepth(window, 0); }

} // namespace platform

CE_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    auto lock = LockUser();
    if (!hwnd) {
        // The whole screen: every top-level window.
        for (HWND top : Wm().m_windows.TopLevel())
            if (WindowObject* window = Wm().m_windows.Find(top))
                InvalidateTreeLocked(*window);
        return TRUE;
    }
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    InvalidateLocked(*window, rect, erase != FALSE);
    return TRUE;
}

CE_API BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    ValidateLocked(*window, rect);
    return TRUE;
}

CE_API BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (rect)
        *rect = window->m_needsPaint ? window->m_update : RECT{};
    return window->m_needsPaint ? TRUE : FALSE;
}

CE_API BOOL UpdateWindow(HWND hwnd) {
    bool needsPaint;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        needsPaint = window->m_needsPaint;
    }
    if (needsPaint) {
        SendMessageW(hwnd, WM_PAINT, 0, 0);
        // As with a dispatched WM_PAINT, an unpainted window is not left invalid forever.
        auto lock = LockUser();
        if (WindowObject* window = Wm().m_windows.Find(hwnd); window && window->m_needsPaint)
            ValidateLocked(*window, nullptr);
    }
    return TRUE;
}
