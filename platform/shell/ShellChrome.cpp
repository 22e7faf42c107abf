#include "shell/ShellChrome.h"

#include "ce/aygshell.h"
#include "ce/kernel.h"
#include "ce/user.h"

#include <string_view>

namespace platform {

namespace {

// Repaints every menu bar, so its input panel button comes or goes.
BOOL CALLBACK RepaintMenuBar(HWND hwnd, LPARAM) {
    WCHAR name[16] = {};
    if (GetClassNameW(hwnd, name, 16) && std::u16string_view(name) == u"menu_worker")
        InvalidateRect(hwnd, nullptr, FALSE);
    return TRUE;
}

} // namespace

ShellChrome& ShellChrome::Instance() {
    static ShellChrome instance;
    return instance;
}

void ShellChrome::Apply(DWORD state) {
    if (state & (SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR))
        m_taskBar = (state & SHFS_SHOWTASKBAR) != 0;
    if (state & (SHFS_SHOWSTARTICON | SHFS_HIDESTARTICON))
        m_startIcon = (state & SHFS_SHOWSTARTICON) != 0;
    if (state & (SHFS_SHOWSIPBUTTON | SHFS_HIDESIPBUTTON))
        m_sipButton = (state & SHFS_SHOWSIPBUTTON) != 0;
    if (HWND taskBar = FindWindowW(u"HHTaskBar", nullptr)) {
        ShowWindow(taskBar, m_taskBar ? SW_SHOWNOACTIVATE : SW_HIDE);
        InvalidateRect(taskBar, nullptr, FALSE);
    }
    EnumWindows(RepaintMenuBar, 0);
}

void ShellChrome::Reset() {
    m_taskBar = true;
    m_startIcon = true;
    m_sipButton = true;
}

} // namespace platform

using namespace platform;

CE_API BOOL SHFullScreen(HWND hwnd, DWORD state) {
    constexpr DWORD kPairs[] = {SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR, SHFS_SHOWSIPBUTTON | SHFS_HIDESIPBUTTON,
                                SHFS_SHOWSTARTICON | SHFS_HIDESTARTICON};
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    DWORD known = 0;
    for (DWORD pair : kPairs) {
        known |= pair;
        if ((state & pair) == pair) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return FALSE;
        }
    }
    if (!state || (state & ~known)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    ShellChrome::Instance().Apply(state);
    return TRUE;
}
