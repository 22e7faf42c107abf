// A text's "size": a pair sizes the control, a single number is its font's size.
#include "common/NodeArena.h"
#include "corlist/controls/TextElement.h"

#include <gtest/gtest.h>

using namespace corlist;

TEST(TextElementTest, OneNumberSizesTheFontAPairTheControl) {
    common::NodeArena arena;
    TextElement text;
    ASSERT_TRUE(text.SetAttribute("size", "20", arena));
    EXPECT_EQ(text.Font()->Size(), 20);
    EXPECT_EQ(text.Rect(0).width, CoordinateBit::kUnset);
    ASSERT_TRUE(text.SetAttribute("size", "30,40", arena));
    EXPECT_EQ(text.Font()->Size(), 20);
    EXPECT_EQ(text.Rect(0).width, 30u);
    EXPECT_EQ(text.Rect(0).height, 40u);
    // The other font attributes still reach the font.
    ASSERT_TRUE(text.SetAttribute("weight", "700", arena));
}
