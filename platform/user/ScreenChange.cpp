#include "user/ScreenChange.h"

#include "user/UserPrivate.h"

#include <vector>

namespace platform {

namespace {

struct Stretch {
    HWND hwnd;
    RECT rect;
};

} // namespace

bool ScreenChange::Apply(int width, int height) {
    int oldWidth, oldHeight;
    {
        auto lock = LockUser();
        oldWidth = Wm().ScreenWidth();
        oldHeight = Wm().ScreenHeight();
    }
    if (!Wm().SetScreenSize(width, height))
        return false;
    std::vector<Stretch> stretched;
    std::vector<HWND> everyone;
    {
        auto lock = LockUser();
        for (HWND hwnd : Wm().m_windows.TopLevel()) {
            WindowObject* window = Wm().m_windows.Find(hwnd);
            if (!window)
                continue;
            everyone.push_back(hwnd);
            const RECT& r = window->m_rect;
            if (r.left == 0 && r.right == oldWidth && r.bottom == oldHeight && r.top < height)
                stretched.push_back(Stretch{hwnd, RECT{0, r.top, width, height}});
        }
    }
    // Sent without the lock: WM_WINDOWPOSCHANGED brings WM_SIZE through DefWindowProcW.
    for (const Stretch& item : stretched)
        SetWindowPos(item.hwnd, nullptr, item.rect.left, item.rect.top, item.rect.right - item.rect.left,
                     item.rect.bottom - item.rect.top, SWP_NOZORDER | SWP_NOACTIVATE);
    // A program that does not answer must not hold the console: notifications only.
    for (HWND hwnd : everyone)
        SendNotifyMessageW(hwnd, WM_SETTINGCHANGE, SETTINGCHANGE_RESET, 0);
    return true;
}

bool ScreenChange::Rotate() {
    int width, height;
    {
        auto lock = LockUser();
        width = Wm().ScreenWidth();
        height = Wm().ScreenHeight();
    }
    return Apply(height, width);
}

} // namespace platform
