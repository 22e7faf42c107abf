// The phone around the screen in the phone window: a body with an earpiece above the glass
// and below it the hardware keys a user of this phone has (two soft keys, Talk, End, the
// direction pad with its action centre, Back), each with its label. Only the arithmetic of
// the layout lives here (tests use it without a window); SdlScreen draws it.
#pragma once

#include "ce/types.h"

#include <vector>

namespace platform {

struct BodyKey {
    BYTE vk = 0;            // the key it presses (VK_TSOFT1, VK_TTALK, ...)
    const char16_t* label;  // what is written on it
    RECT rect{};            // window pixels
    COLORREF colour = 0;    // its face
};

class PhoneBody {
public:
    // A body around a screen of `width` x `height` device pixels shown at `scale`.
    PhoneBody(int width, int height, int scale);

    int WindowWidth() const { return m_windowWidth; }
    int WindowHeight() const { return m_windowHeight; }
    // Where the screen lies in the window.
    const RECT& Screen() const { return m_screen; }
    const std::vector<BodyKey>& Keys() const { return m_keys; }
    // The key under a window pixel, or -1.
    int KeyAt(int x, int y) const;

private:
    void LayOutKeys(int top, int scale);

    int m_windowWidth = 0;
    int m_windowHeight = 0;
    RECT m_screen{};
    std::vector<BodyKey> m_keys;
};

} // namespace platform
