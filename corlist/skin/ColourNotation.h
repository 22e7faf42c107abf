// The skin's colour notation, read by every colour attribute and by the colour mask:
//   "#RRGGBB"          hexadecimal, either case; a character that is not a digit counts as 0
//   "sysColor(n)"      the platform's system colour n, optionally ":p" with a signed
//                      percent p that lightens (p > 0) or darkens (p < 0) it
//   "rgb(r,g,b)"       decimal channels (any case of "rgb"), each clamped to 0..255
// The result is a COLORREF (red in the low byte) or kColourNone.
#pragma once

#include "ce/types.h"

namespace corlist {

COLORREF ParseColour(const char* value);

// `colour` lightened (percent > 0) or darkened (percent < 0) by a percentage clamped to
// -100..100, in the skin's integer arithmetic.
COLORREF ShadeColour(COLORREF colour, int percent);

// The RGB565 value of a colour: the top bits of each channel.
constexpr uint16_t Rgb565FromColour(COLORREF colour) {
    return uint16_t((((colour & 0xFF) >> 3) << 11) | (((colour >> 8) & 0xFF) >> 2) << 5 |
                    (((colour >> 16) & 0xFF) >> 3));
}

} // namespace corlist
