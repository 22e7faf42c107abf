// Changes of the screen's size at run time: the console's `rotate` swaps portrait and
// landscape. Top-level windows that span the old screen's width down to its bottom edge
// (full-screen windows and those under the task bar) are stretched to the new screen,
// which sends them WM_SIZE; then every top-level window gets
// WM_SETTINGCHANGE(SETTINGCHANGE_RESET) so that the shell and programs lay out again.
#pragma once

namespace platform {

class ScreenChange {
public:
    // False when the device does not support the size.
    static bool Apply(int width, int height);
    // Swaps width and height; a square screen stays as it is.
    static bool Rotate();
};

} // namespace platform
