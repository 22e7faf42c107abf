#include "apps/ShellProgram.h"

#include "ce/kernel.h"
#include "ce/user.h"

namespace platform {

namespace {

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE) {
        // The screen was turned: the desktop covers the new screen.
        SetWindowPos(window, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER | SWP_NOACTIVATE);
        if (HWND taskBar = FindWindowW(u"HHTaskBar", nullptr))
            SetWindowPos(taskBar, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                         ShellProgram::TaskBarHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK TaskBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

bool Register(HINSTANCE instance, const WCHAR* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

} // namespace

int ShellProgram::TaskBarHeight() {
    // 26 pixels on a 96-dpi screen; screens with a long side of 640 or more are 192 dpi.
    int longSide = GetSystemMetrics(SM_CXSCREEN) > GetSystemMetrics(SM_CYSCREEN)
                       ? GetSystemMetrics(SM_CXSCREEN)
                       : GetSystemMetrics(SM_CYSCREEN);
    return longSide >= 640 ? 52 : 26;
}

int ShellProgram::Main(HINSTANCE instance, const WCHAR*) {
    if (!Register(instance, u"DesktopExplorerWindow", DesktopProc) ||
        !Register(instance, u"HHTaskBar", TaskBarProc))
        return 1;
    int width = GetSystemMetrics(SM_CXSCREEN);
    HWND desktop = CreateWindowExW(0, u"DesktopExplorerWindow", u"Desktop", WS_POPUP | WS_VISIBLE,
                                   0, 0, width, GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                   instance, nullptr);
    HWND taskBar = CreateWindowExW(WS_EX_TOPMOST, u"HHTaskBar", u"", WS_POPUP | WS_VISIBLE, 0, 0,
                                   width, TaskBarHeight(), nullptr, nullptr, instance, nullptr);
    if (!desktop || !taskBar)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(taskBar);
    DestroyWindow(desktop);
    return static_cast<int>(message.wParam);
}

} // namespace platform
