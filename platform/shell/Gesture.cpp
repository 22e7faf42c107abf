// SHRecognizeGesture: the hold detection runs a small loop of its own on the calling
// thread. It looks at the stylus messages without taking the release away from the
// window, dispatches everything else, and waits for a timer of the device clock.
#include "ce/aygshell.h"
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/SystemLook.h"

#include <cstdlib>

namespace {

constexpr UINT_PTR kHoldTimer = 0x6E57;
constexpr UINT kHoldMs = 500;
constexpr UINT kLongHoldMs = 1000;
// How far the stylus may wander (pixels at scale 1) and still be holding.
constexpr int kSlop = 5;

enum class Hold { Waiting, Cancelled, Recognized };

Hold Step(HWND hwnd, POINT down, int slop) {
    MSG msg;
    if (PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_NOREMOVE)) {
        if (msg.message != WM_MOUSEMOVE)
            return Hold::Cancelled; // the release stays for the window
        PeekMessageW(&msg, nullptr, WM_MOUSEMOVE, WM_MOUSEMOVE, PM_REMOVE);
        POINT at{SHORT(LOWORD(msg.lParam)), SHORT(HIWORD(msg.lParam))};
        if (msg.hwnd != hwnd || std::abs(at.x - down.x) > slop || std::abs(at.y - down.y) > slop)
            return Hold::Cancelled;
        return Hold::Waiting;
    }
    if (PeekMessageW(&msg, hwnd, WM_TIMER, WM_TIMER, PM_NOREMOVE) && msg.wParam == kHoldTimer) {
        PeekMessageW(&msg, hwnd, WM_TIMER, WM_TIMER, PM_REMOVE);
        return Hold::Recognized;
    }
    if (PeekMessageW(&msg, nullptr, 0, WM_MOUSEFIRST - 1, PM_REMOVE) ||
        PeekMessageW(&msg, nullptr, WM_MOUSELAST + 1, 0xFFFFFFFF, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(int(msg.wParam));
            return Hold::Cancelled;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        return Hold::Waiting;
    }
    WaitMessage();
    return Hold::Waiting;
}

} // namespace

CE_API DWORD SHRecognizeGesture(SHRGINFO* info) {
    if (!info || info->cbSize < sizeof(SHRGINFO) || !IsWindow(info->hwndClient)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    HWND hwnd = info->hwndClient;
    // Only a stylus that is down now can be held.
    if (GetAsyncKeyState(VK_LBUTTON) >= 0)
        return 0;
    SetTimer(hwnd, kHoldTimer, (info->dwFlags & SHRG_LONGDELAY) ? kLongHoldMs : kHoldMs, nullptr);
    int slop = kSlop * platform::SystemLook::Scale();
    Hold state = Hold::Waiting;
    while (state == Hold::Waiting && IsWindow(hwnd))
        state = Step(hwnd, info->ptDown, slop);
    if (IsWindow(hwnd))
        KillTimer(hwnd, kHoldTimer);
    if (state != Hold::Recognized)
        return 0;
    if (info->dwFlags & SHRG_RETURNCMD)
        return GN_CONTEXTMENU;
    POINT screen = info->ptDown;
    ClientToScreen(hwnd, &screen);
    if (info->dwFlags & SHRG_NOTIFYPARENT) {
        NMRGINFO notify{{hwnd, UINT_PTR(GetDlgCtrlID(hwnd)), UINT(NM_RECOGNIZEGESTURE)}, screen, 0};
        if (HWND parent = GetParent(hwnd))
            SendMessageW(parent, WM_NOTIFY, notify.hdr.idFrom, reinterpret_cast<LPARAM>(&notify));
    } else {
        SendMessageW(hwnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(screen.x, screen.y));
    }
    return GN_CONTEXTMENU;
}
