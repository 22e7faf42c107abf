#include "apps/PhoneProgram.h"

#include "ce/kernel.h"
#include "ce/user.h"

namespace platform {

namespace {

LRESULT CALLBACK PhoneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int PhoneProgram::Main(HINSTANCE instance, const WCHAR*) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = PhoneProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = u"MSCProg";
    if (!RegisterClassW(&windowClass))
        return 1;
    // FIXME: the call screens of the phone application (class "Dialog", "Phone - Incoming")
    // come with the telephony simulation.
    HWND window = CreateWindowExW(0, u"MSCProg", u"Phone", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  instance, nullptr);
    if (!window)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return static_cast<int>(message.wParam);
}

} // namespace platform
