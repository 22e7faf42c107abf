#include "corlist/skin/ColourNotation.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/wingdi.h"

#include <gtest/gtest.h>

using corlist::kColourNone;
using corlist::ParseColour;

namespace {

// The window colour with every channel scaled by f / 256, as sysColor(5):-50 darkens it.
COLORREF Darkened(COLORREF c, int f) {
    return RGB((c & 0xFF) * f / 256, ((c >> 8) & 0xFF) * f / 256, ((c >> 16) & 0xFF) * f / 256);
}

TEST(ColourNotation, ReadsEveryForm) {
    const COLORREF window = GetSysColor(COLOR_WINDOW);
    const struct {
        const char* value;
        COLORREF expected;
    } cases[] = {
        {"#FF0000", 0x0000FFu}, // red lands in the low byte
        {"#ff0000", 0x0000FFu},
        {"#0080fF", RGB(0, 128, 255)},
        {"#F00", kColourNone},
        {"#", kColourNone},
        {"#00FF0G", RGB(0, 255, 0)}, // a character that is not a digit counts as 0
        {"#123456789", RGB(0x12, 0x34, 0x56)},
        {"rgb(0,128,255)", RGB(0, 128, 255)},
        {"RGB(0,128,255)", RGB(0, 128, 255)},
        {"Rgb( 1 , 2 , 3 )", RGB(1, 2, 3)},
        {"rgb(300,-5,10)", RGB(255, 0, 10)},
        {"rgb(1,2)", kColourNone},
        {"rgb(1,2,3", kColourNone},
        {"rgb", kColourNone},
        {"sysColor(5)", window},
        {"SYSCOLOR(5):0", window},
        {"sysColor(5):-50", Darkened(window, 256 - 127)},
        {"sysColor(5):-100", Darkened(window, 1)},
        {"sysColor(5):-250", Darkened(window, 1)}, // clamped to -100
        {"sysColor(99)", kColourNone},
        {"sysColor(-1)", kColourNone},
        {"sysColor", kColourNone},
        {"sysColor(x)", kColourNone},
        {"red", kColourNone},
        {"", kColourNone},
        {nullptr, kColourNone},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(null)");
        EXPECT_EQ(ParseColour(c.value), c.expected);
    }
}

TEST(ColourNotation, DarkeningHalvesAndLighteningMovesTowardWhite) {
    COLORREF window = GetSysColor(COLOR_WINDOW);
    ASSERT_EQ(window, RGB(255, 255, 255));
    EXPECT_EQ(ParseColour("sysColor(5):-50"), RGB(128, 128, 128));
    // Lightening black by 50%: w = 127, each channel 127 * 255 / 256 = 126.
    COLORREF black = GetSysColor(COLOR_WINDOWTEXT);
    ASSERT_EQ(black, RGB(0, 0, 0));
    EXPECT_EQ(ParseColour("sysColor(8):50"), RGB(126, 126, 126));
    EXPECT_EQ(ParseColour("sysColor(8):100"), RGB(254, 254, 254));
    EXPECT_EQ(corlist::ShadeColour(RGB(100, 0, 200), 50), RGB(126 + 100 * 129 / 256, 126, 126 + 200 * 129 / 256));
}

TEST(ColourNotation, Rgb565KeepsTheTopBitsOfEachChannel) {
    EXPECT_EQ(corlist::Rgb565FromColour(RGB(255, 0, 255)), 0xF81F);
    EXPECT_EQ(corlist::Rgb565FromColour(RGB(0, 255, 0)), 0x07E0);
    EXPECT_EQ(corlist::Rgb565FromColour(RGB(8, 4, 8)), 0x0821);
}

} // namespace
