#include "ce/user.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

bool Same(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

struct PairCase {
    const char* name;
    RECT first;
    RECT second;
    BOOL returned;
    RECT result;
};

TEST(Rect, IntersectRect) {
    const PairCase cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {5, 5, 10, 10}},
        {"inside", {0, 0, 10, 10}, {2, 3, 4, 5}, TRUE, {2, 3, 4, 5}},
        {"disjoint", {0, 0, 10, 10}, {20, 20, 30, 30}, FALSE, {0, 0, 0, 0}},
        {"touching edges", {0, 0, 10, 10}, {10, 0, 20, 10}, FALSE, {0, 0, 0, 0}},
        {"first empty", {5, 5, 5, 9}, {0, 0, 10, 10}, FALSE, {0, 0, 0, 0}},
        {"inverted second", {0, 0, 10, 10}, {8, 8, 2, 2}, FALSE, {0, 0, 0, 0}},
        {"negative", {-10, -10, 0, 0}, {-5, -20, 5, -5}, TRUE, {-5, -10, 0, -5}},
    };
    for (const PairCase& c : cases) {
        RECT out{7, 7, 7, 7};
        EXPECT_EQ(IntersectRect(&out, &c.first, &c.second), c.returned) << c.name;
        EXPECT_TRUE(Same(out, c.result)) << c.name;
    }
}

TEST(Rect, UnionRect) {
    const PairCase cases[] = {
        {"overlap", {0, 0, 10, 10}, {5, 5, 20, 20}, TRUE, {0, 0, 20, 20}},
        {"disjoint", {0, 0, 1, 1}, {20, 30, 40, 50}, TRUE, {0, 0, 40, 50}},
        {"first empty is ignored", {-100, -100, -100, 0}, {1, 2, 3, 4}, TRUE, {1, 2, 3, 4}},
        {"second empty is ignored", {1, 2, 3, 4}, {50, 50, 40, 60}, TRUE, {1, 2, 3, 4}},
        {"both empty", {0, 0, 0, 0}, {5, 5, 5, 5}, FALSE, {0, 0, 0, 0}},
    };
    for (const PairCase& c : cases) {
        RECT out{7, 7, 7, 7};
        EXPECT_EQ(UnionRect(&out, &c.first, &c.second), c.returned) << c.name;
        EXPECT_TRUE(Same(out, c.result)) << c.name;
    }
}

TEST(Rect, PtInRectHasAnOpenRightAndBottomEdge) {
    const RECT r{10, 20, 30, 40};
    const struct {
        POINT point;
        BOOL inside;
    } cases[] = {
        {{10, 20}, TRUE}, {{29, 39}, TRUE}, {{30, 25}, FALSE}, {{15, 40}, FALSE},
        {{9, 25}, FALSE}, {{15, 19}, FALSE}, {{20, 30}, TRUE},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PtInRect(&r, c.point), c.inside) << c.point.x << "," << c.point.y;
    const RECT empty{5, 5, 5, 5};
    EXPECT_FALSE(PtInRect(&empty, POINT{5, 5}));
    EXPECT_FALSE(PtInRect(nullptr, POINT{0, 0}));
}

TEST(Rect, MovingAndGrowing) {
    RECT r;
    ASSERT_TRUE(SetRect(&r, 1, 2, 3, 4));
    EXPECT_TRUE(Same(r, RECT{1, 2, 3, 4}));
    ASSERT_TRUE(OffsetRect(&r, 10, -20));
    EXPECT_TRUE(Same(r, RECT{11, -18, 13, -16}));
    ASSERT_TRUE(InflateRect(&r, 2, 3));
    EXPECT_TRUE(Same(r, RECT{9, -21, 15, -13}));
    ASSERT_TRUE(InflateRect(&r, -4, -5)); // shrinking past the centre inverts the rectangle
    EXPECT_TRUE(Same(r, RECT{13, -16, 11, -18}));
    EXPECT_TRUE(IsRectEmpty(&r));
    RECT far{INT_MAX - 1, 0, INT_MAX, 1};
    ASSERT_TRUE(OffsetRect(&far, 10, 0)); // saturates instead of wrapping
    EXPECT_EQ(far.right, INT_MAX);
    EXPECT_GE(far.left, INT_MAX - 1);
}

TEST(Rect, EmptyEqualCopyAndNullPointers) {
    const struct {
        RECT rect;
        BOOL empty;
    } cases[] = {{{0, 0, 1, 1}, FALSE}, {{0, 0, 0, 1}, TRUE}, {{0, 0, 1, 0}, TRUE}, {{5, 5, 1, 9}, TRUE},
                 {{-3, -3, -2, -2}, FALSE}};
    for (const auto& c : cases)
        EXPECT_EQ(IsRectEmpty(&c.rect), c.empty) << c.rect.left << "," << c.rect.right;
    EXPECT_TRUE(IsRectEmpty(nullptr));
    RECT a{1, 2, 3, 4}, b{};
    EXPECT_TRUE(CopyRect(&b, &a));
    EXPECT_TRUE(EqualRect(&a, &b));
    b.bottom = 5;
    EXPECT_FALSE(EqualRect(&a, &b));
    EXPECT_TRUE(SetRectEmpty(&b));
    EXPECT_TRUE(Same(b, RECT{}));
    EXPECT_FALSE(CopyRect(nullptr, &a));
    EXPECT_FALSE(EqualRect(&a, nullptr));
    EXPECT_FALSE(IntersectRect(nullptr, &a, &a));
    EXPECT_FALSE(UnionRect(&b, nullptr, &a));
    EXPECT_FALSE(SetRect(nullptr, 0, 0, 1, 1));
}

} // namespace
