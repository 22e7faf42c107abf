#include "corlist/controls/ModalLoop.h"

#include "corlist/controls/Control.h"
#include "corlist/controls/ControlOwner.h"

#include "ce/kernel.h"
#include "ce/user.h"

namespace corlist {

namespace {

// True when `message` ends the loop; posts it again where it was going.
bool Interrupts(const MSG& message) {
    if (message.message == kDestroyFrameMessage && message.hwnd) {
        PostMessageW(message.hwnd, message.message, message.wParam, message.lParam);
        return true;
    }
    if (!message.hwnd && message.message >= kFirstPageRequestMessage && message.message <= kLastPageRequestMessage) {
        PostThreadMessageW(GetCurrentThreadId(), message.message, message.wParam, message.lParam);
        return true;
    }
    return false;
}

} // namespace

int RunModalLoop(ControlOwner& owner, Control& popup) {
    Control* previous = owner.Modal();
    owner.SetModal(&popup);
    owner.InvalidateArea(popup.Rect());
    int result = 0;
    MSG message{};
    while (!popup.ModalEnded()) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got <= 0) {
            PostQuitMessage(int(message.wParam));
            break;
        }
        if (Interrupts(message)) {
            result = kModalInterrupted;
            break;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (popup.ModalEnded())
        result = popup.ModalResult();
    owner.SetModal(previous);
    owner.InvalidateArea(popup.Rect());
    return result;
}

} // namespace corlist
