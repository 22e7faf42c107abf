// The default window procedure: what a window does with the messages its own procedure
// passes on.
#include "ce/kernel.h"
#include "ce/user.h"
#include "ce/wingdi.h"
#include "kernel/Utf.h"
#include "user/UserPrivate.h"

#include <algorithm>

using namespace platform;

namespace {

LRESULT SetText(HWND hwnd, LPCWSTR text) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window)
        return FALSE;
    window->m_text = text ? std::u16string(text) : std::u16string();
    return TRUE;
}

LRESULT GetText(HWND hwnd, WPARAM size, LPWSTR buffer) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window || !buffer || size == 0)
        return 0;
    size_t count = std::min(window->m_text.size(), size_t(size) - 1);
    std::copy_n(window->m_text.data(), count, buffer);
    buffer[count] = 0;
    return LRESULT(count);
}

// Fills the client area with the class brush; 0 when the class has none.
LRESULT EraseBackground(HWND hwnd, HDC dc) {
    HBRUSH brush = nullptr;
    RECT client{};
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window)
            return 0;
        brush = window->m_class->Info().hbrBackground;
        client = RECT{0, 0, window->Width(), window->Height()};
    }
    if (!brush || !dc)
        return 0;
    return FillRect(dc, &client, brush) ? 1 : 0;
}

void SendMoveAndSize(HWND hwnd, const WINDOWPOS* pos) {
    if (!pos)
        return;
    RECT rect;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window)
            return;
        rect = window->m_rect;
    }
    if (!(pos->flags & SWP_NOMOVE))
        SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
    if (!(pos->flags & SWP_NOSIZE))
        SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED,
                     MAKELPARAM(rect.right - rect.left, rect.bottom - rect.top));
}

} // namespace

CE_API LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE: {
        auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        if (create && create->lpszName)
            SetText(hwnd, create->lpszName);
        return TRUE;
    }
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_SETTEXT:
        return SetText(hwnd, reinterpret_cast<LPCWSTR>(lParam));
    case WM_GETTEXT:
        return GetText(hwnd, wParam, reinterpret_cast<LPWSTR>(lParam));
    case WM_GETTEXTLENGTH: {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        return window ? LRESULT(window->m_text.size()) : 0;
    }
    case WM_PAINT: {
        // Painting nothing still validates and erases, through BeginPaint.
        PAINTSTRUCT paint;
        if (BeginPaint(hwnd, &paint))
            EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return EraseBackground(hwnd, reinterpret_cast<HDC>(wParam));
    case WM_NCACTIVATE:
        // Nothing to redraw without a caption; TRUE lets the change go ahead.
        return TRUE;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE)
            SetFocus(hwnd);
        return 0;
    case WM_WINDOWPOSCHANGED:
        SendMoveAndSize(hwnd, reinterpret_cast<const WINDOWPOS*>(lParam));
        return 0;
    case WM_MOUSEACTIVATE:
        return 1; // MA_ACTIVATE
    case WM_CANCELMODE:
        if (GetCapture() == hwnd)
            ReleaseCapture();
        return 0;
    default:
        return 0;
    }
}
