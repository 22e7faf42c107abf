// What the platform's own windows (message boxes, pop-up menus, edit windows, the input
// panel) share: the system font, solid fills, the scale of a screen with twice the pixels
// and the registration of a class every process may use.
#pragma once

#include "ce/user.h"
#include "ce/wingdi.h"

namespace platform {

class SystemLook {
public:
    // 2 on screens whose smaller side has at least 480 pixels, else 1.
    static int Scale();
    // The system face at `height` pixels (the caller deletes it).
    static HFONT MakeFont(int height, int weight);
    static void Fill(HDC dc, const RECT& rect, COLORREF color);
    // A one-pixel black frame just inside `rect`.
    static void Frame(HDC dc, const RECT& rect);
    // Registers `name` as a class of the system process (once); false when it cannot.
    // `extraBytes` of window memory per window (cbWndExtra), for classes whose windows keep
    // their state there and leave GWLP_USERDATA to the application, as the device's do.
    static bool RegisterSystemClass(const char16_t* name, WNDPROC procedure, int extraBytes = 0);
};

} // namespace platform
