// Coordinates as skins write them, and the rectangles they give inside a parent.
#include "corlist/controls/RectSpec.h"
#include "corlist/skin/SkinMetrics.h"

#include <gtest/gtest.h>

using namespace corlist;

namespace {

struct Scale {
    explicit Scale(int scale) { SetCoordinateScale(scale); }
    ~Scale() { SetCoordinateScale(1); }
};

RectSpec Parse(const char* text) {
    RectSpec spec;
    bool unsetAll = false;
    if (!ParseCoordinates(text, 0, 4, &spec.x, unsetAll) && unsetAll)
        spec.Unset();
    return spec;
}

bool Equal(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(RectSpec, RectanglesResolveInTheParent) {
    struct Case {
        const char* text;
        int scale;
        RECT expected;
    } cases[] = {
        {"c,10,50%,40", 1, {60, 10, 180, 50}},
        {"c,10,50%,40", 2, {60, 20, 180, 100}},
        {"0,0,0,0", 1, {0, 0, 240, 320}},          // width and height 0 reach the far edges
        {"-20,-30,0,0", 1, {220, 290, 240, 320}},  // measured from the far edges
        {"10%,25%,-10,50%", 1, {24, 80, 230, 240}},
        {"5,c,100,c", 1, {5, 160, 105, 160}},      // a centred height has no size
        {" 5 , 6 , 7 , 8 , 99", 1, {5, 6, 12, 14}}, // blanks and extra items
        {"0,0,300,400", 1, {0, 0, 240, 320}},      // clamped to the screen
        {"150%,0,10,10", 1, {240, 0, 240, 10}},    // percentages clamp to 100
    };
    RECT parent{0, 0, 240, 320};
    for (const Case& c : cases) {
        Scale scale(c.scale);
        RectSpec spec = Parse(c.text);
        ASSERT_TRUE(spec.IsSet()) << c.text;
        RECT rect = ResolveRect(spec, &parent, 240, 320);
        EXPECT_TRUE(Equal(rect, c.expected))
            << c.text << " gave " << rect.left << "," << rect.top << "," << rect.right << "," << rect.bottom;
    }
}

TEST(RectSpec, BadListsAreRefusedAndXUnsets) {
    RectSpec spec = Parse("1,2,3,4");
    bool unsetAll = false;
    EXPECT_FALSE(ParseCoordinates("7,8,9", 0, 4, &spec.x, unsetAll)); // too few: unchanged
    EXPECT_FALSE(unsetAll);
    EXPECT_EQ(spec.x, 1u);
    EXPECT_FALSE(Parse("x").IsSet());
    EXPECT_FALSE(Parse("1,2,X,4").IsSet());
    EXPECT_FALSE(Parse("1,2,2000,4").IsSet());
    EXPECT_TRUE(Parse("1,2,1999,4").IsSet());
    // A single coordinate replaces one word; position 2 and 3 read 0 as the far edge.
    uint32_t word = 0;
    ASSERT_TRUE(ParseCoordinates("0", 3, 1, &word, unsetAll));
    EXPECT_EQ(word, CoordinateBit::kFromFarEdge);
    ASSERT_TRUE(ParseCoordinates("0", 1, 1, &word, unsetAll));
    EXPECT_EQ(word, 0u);
}

TEST(RectSpec, OrientationsFallBackToPortrait) {
    RectSpec specs[kOrientationCount];
    EXPECT_EQ(ChooseRectSpec(specs, 0), nullptr);
    specs[0] = Parse("1,1,1,1");
    EXPECT_EQ(ChooseRectSpec(specs, 1), &specs[0]);
    EXPECT_EQ(ChooseRectSpec(specs, 2), &specs[0]);
    EXPECT_EQ(ChooseRectSpec(specs, 3), &specs[0]);
    specs[1] = Parse("2,2,2,2");
    EXPECT_EQ(ChooseRectSpec(specs, 2), &specs[1]); // wide landscape tries landscape first
    EXPECT_EQ(ChooseRectSpec(specs, 3), &specs[0]);
    specs[3] = Parse("3,3,3,3");
    EXPECT_EQ(ChooseRectSpec(specs, 3), &specs[3]);
}

TEST(RectSpec, WithoutAParentValuesArePlain) {
    RectSpec spec = Parse("10,20,30,40");
    RECT rect = ResolveRect(spec, nullptr, 240, 320);
    EXPECT_TRUE(Equal(rect, RECT{10, 20, 40, 60}));
}

} // namespace
