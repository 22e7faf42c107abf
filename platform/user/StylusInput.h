// The stylus as the left mouse button: a touch becomes WM_LBUTTONDOWN, dragging
// WM_MOUSEMOVE and lifting WM_LBUTTONUP, posted to the window that captured the stylus or
// else to the deepest visible window under the point. A touch on a disabled window (the
// owner of a running message box) goes nowhere. A touch first activates the top-level
// window it lands on.
#pragma once

#include "ce/user.h"

namespace platform {

enum class StylusAction { Press, Move, Release };

class StylusInput {
public:
    // Delivers one event at `point` (screen coordinates); returns the window that got it,
    // or null when none did.
    static HWND Deliver(StylusAction action, POINT point);
};

} // namespace platform
