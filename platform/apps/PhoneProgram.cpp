#include "apps/PhoneProgram.h"

#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/DeviceClock.h"
#include "phone/OutgoingCalls.h"

namespace platform {

namespace {

// Places every queued call; a request that asks first shows "Call NUMBER?" and is dropped
// unless the user answers yes.
void PlaceQueuedCalls(HWND window) {
    while (auto request = OutgoingCalls::Instance().Take()) {
        if (request->prompt) {
            std::u16string question = u"Call " + request->number + u"?";
            if (MessageBoxW(window, question.c_str(), u"Phone", MB_YESNO | MB_ICONQUESTION) != IDYES)
                continue;
        }
        OutgoingCalls::Place(*request, DeviceClock::Instance().UtcTicks());
    }
}

LRESULT CALLBACK PhoneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == OutgoingCalls::kWakeMessage) {
        PlaceQueuedCalls(window);
        return 0;
    }
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
    OutgoingCalls::Instance().Clear(); // requests nobody will place any more
    return static_cast<int>(message.wParam);
}

} // namespace platform
