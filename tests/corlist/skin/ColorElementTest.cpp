#include "SkinDrawing.h"

#include "corlist/skin/ColorElement.h"
#include "corlist/skin/EffectElement.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/PenElement.h"

#include "ce/wingdi.h"

#include <gtest/gtest.h>

using namespace corlist;

namespace {

TEST(ColorElement, OpacityIsAPercentClampedAndScaledToAWeight) {
    const struct {
        const char* value;
        int weight;
    } cases[] = {
        {"50", 127}, {"100", 255}, {"150", 255}, {"-20", 0}, {"0", 0}, {"1", 2}, {" 25 ", 63}, {"abc", -1}, {"", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        ColorElement element;
        common::NodeArena arena;
        EXPECT_TRUE(element.SetAttribute("opacity", c.value, arena));
        EXPECT_EQ(element.TintWeight(), c.weight);
    }
}

TEST(ColorElement, NamesMatchIgnoringCaseAndUnknownOnesAreNotTaken) {
    FillElement fill;
    common::NodeArena arena;
    EXPECT_TRUE(fill.SetAttribute("COLOR", "#102030", arena));
    EXPECT_TRUE(fill.SetAttribute("Gradient", "#405060", arena));
    EXPECT_TRUE(fill.SetAttribute("gradienttype", "1", arena));
    EXPECT_FALSE(fill.SetAttribute("colour", "#000000", arena));
    EXPECT_FALSE(fill.SetAttribute("fontname", "Tahoma", arena));
    EXPECT_EQ(fill.BaseColour(), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(fill.EffectiveColour(), RGB(0x10, 0x20, 0x30));
    EXPECT_EQ(fill.GradientColour(), RGB(0x40, 0x50, 0x60));
    EXPECT_TRUE(fill.HorizontalGradient());
    EXPECT_TRUE(fill.SetAttribute("gradientType", "0", arena));
    EXPECT_FALSE(fill.HorizontalGradient());

    ColorElement colour;
    EXPECT_FALSE(colour.SetAttribute("gradient", "#000000", arena));
    EXPECT_TRUE(colour.SetAttribute("color", "junk", arena));
    EXPECT_EQ(colour.BaseColour(), kColourNone);
}

TEST(ColorElement, CopyFromCopiesEveryField) {
    common::NodeArena arena;
    FillElement fill;
    fill.SetAttribute("color", "#102030", arena);
    fill.SetAttribute("opacity", "40", arena);
    fill.SetAttribute("gradient", "#405060", arena);
    fill.SetAttribute("gradientType", "1", arena);
    fill.SetEffectiveColour(RGB(1, 2, 3));
    FillElement copy;
    copy.CopyFrom(fill);
    EXPECT_EQ(copy.BaseColour(), fill.BaseColour());
    EXPECT_EQ(copy.EffectiveColour(), RGB(1, 2, 3));
    EXPECT_EQ(copy.TintWeight(), 102);
    EXPECT_EQ(copy.GradientColour(), RGB(0x40, 0x50, 0x60));
    EXPECT_TRUE(copy.HorizontalGradient());

    EffectElement effect;
    EXPECT_EQ(effect.Delay(), 30);
    EXPECT_TRUE(effect.SetAttribute("type", "3", arena));
    EXPECT_TRUE(effect.SetAttribute("Delay", "120", arena));
    EXPECT_FALSE(effect.SetAttribute("color", "#000000", arena));
    EffectElement effectCopy;
    effectCopy.CopyFrom(effect);
    EXPECT_EQ(effectCopy.Type(), 3);
    EXPECT_EQ(effectCopy.Delay(), 120);
    // An object of another class copies nothing.
    effectCopy.CopyFrom(fill);
    EXPECT_EQ(effectCopy.Delay(), 120);
}

class ColorElementObjects : public skintest::SkinDrawingTest {};

TEST_F(ColorElementObjects, BrushAndPenFollowTheEffectiveColour) {
    common::NodeArena arena;
    FillElement fill;
    EXPECT_EQ(fill.Brush(), GetStockObject(NULL_BRUSH));
    fill.SetAttribute("color", "#FF0000", arena);
    HBRUSH brush = fill.Brush();
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(fill.Brush(), brush);
    LOGBRUSH logBrush{};
    ASSERT_EQ(GetObjectW(brush, sizeof(logBrush), &logBrush), int(sizeof(logBrush)));
    EXPECT_EQ(logBrush.lbColor, RGB(255, 0, 0));
    fill.SetEffectiveColour(RGB(0, 0, 255));
    ASSERT_EQ(GetObjectW(fill.Brush(), sizeof(logBrush), &logBrush), int(sizeof(logBrush)));
    EXPECT_EQ(logBrush.lbColor, RGB(0, 0, 255));

    PenElement pen;
    EXPECT_EQ(pen.Pen(), GetStockObject(NULL_PEN));
    pen.SetAttribute("color", "rgb(1,2,3)", arena);
    LOGPEN logPen{};
    ASSERT_EQ(GetObjectW(pen.Pen(), sizeof(logPen), &logPen), int(sizeof(logPen)));
    EXPECT_EQ(logPen.lopnColor, RGB(1, 2, 3));
    EXPECT_EQ(logPen.lopnStyle, UINT(PS_SOLID));
}

} // namespace
