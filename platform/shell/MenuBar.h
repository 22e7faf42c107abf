// The menu bar of a program window (SHCreateMenuBar): a top-most window along the bottom
// of the screen with the left soft key, the input panel button and the right soft key.
// Its keys live in the input router, so F1, F2 and overridden keys reach the owner while
// the owner is the active window.
#pragma once

#include "ce/types.h"

namespace platform {

class MenuBar {
public:
    static constexpr const char16_t* kClassName = u"menu_worker";
    static constexpr int kHeight = 26; // pixels per scale step, as the task bar

    enum class Part { kLeftKey, kSipButton, kRightKey, kNone };

    // The rectangle of `part` in a bar of `width` x `height` pixels at `scale`.
    static RECT PartRect(Part part, int width, int height, int scale);
    // The part under a point of the bar's client area.
    static Part PartAt(POINT point, int width, int height, int scale);
    // Frees the state of every bar still open (device shutdown: no window procedure runs).
    static void ForgetAll();
};

} // namespace platform
