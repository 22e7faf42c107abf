#include "corlist/skin/ImagePlacement.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corlist;

namespace {

TEST(ImagePlacement, SubImagesOfAGrid) {
    const struct {
        int index, width, height, columns, rows;
        RECT expected;
    } cases[] = {
        {4, 30, 20, 3, 2, {10, 10, 20, 20}}, // the middle of the second row
        {2, 30, 20, 3, 2, {20, 0, 30, 10}},
        {5, 30, 20, 3, 2, {20, 10, 30, 20}},
        {6, 30, 20, 3, 2, {0, 0, 10, 10}}, // equal to columns x rows: 0, never outside
        {7, 30, 20, 3, 2, {0, 0, 10, 10}},
        {-3, 30, 20, 3, 2, {0, 0, 10, 10}},
        {2, 8, 40, 1, 4, {0, 20, 8, 30}}, // rows only
        {3, 40, 8, 4, 1, {30, 0, 40, 8}}, // columns only
        {0, 31, 21, 3, 2, {0, 0, 10, 10}}, // remainders are left out
        {0, 12, 9, 0, -2, {0, 0, 12, 9}},  // counts below 1 count as 1
        {1, 2, 2, 3, 1, {0, 0, 0, 0}},     // cells narrower than a pixel
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.index << " of " << c.columns << "x" << c.rows);
        RECT r = SubImageRect(c.index, c.width, c.height, c.columns, c.rows);
        EXPECT_EQ(r.left, c.expected.left);
        EXPECT_EQ(r.top, c.expected.top);
        EXPECT_EQ(r.right, c.expected.right);
        EXPECT_EQ(r.bottom, c.expected.bottom);
    }
}

std::vector<Span> Spans(const AxisSpans::Axis& axis, int clipStart = -1000, int clipEnd = 1000) {
    AxisSpans spans(axis, clipStart, clipEnd);
    std::vector<Span> out;
    for (Span span; spans.Next(span);)
        out.push_back(span);
    return out;
}

void ExpectSpans(const std::vector<Span>& actual, const std::vector<Span>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(actual[i].source, expected[i].source);
        EXPECT_EQ(actual[i].target, expected[i].target);
        EXPECT_EQ(actual[i].length, expected[i].length);
    }
}

TEST(ImagePlacement, OnePlacementCropsOrCentres) {
    // source start, source length, target start, target length, centre, tile, mask
    ExpectSpans(Spans({20, 10, 100, 6, false, 0, 1}), {{22, 100, 6}});   // cropped by 2 each side
    ExpectSpans(Spans({20, 10, 100, 7, true, 0, 1}), {{21, 100, 7}});    // odd difference
    ExpectSpans(Spans({0, 4, 100, 10, true, 0, 1}), {{0, 103, 4}});      // centred
    ExpectSpans(Spans({0, 4, 100, 10, false, 0, 1}), {{0, 100, 4}});     // at the start
    ExpectSpans(Spans({0, 4, 100, 0, true, 0, 1}), {{0, 100, 4}});       // own size
    ExpectSpans(Spans({0, 4, 100, 10, false, -5, 1}), {{0, 100, 4}});    // negative tile: none
    ExpectSpans(Spans({0, 0, 100, 10, false, 0, 1}), {});                // no source
}

TEST(ImagePlacement, TilesFillTheTargetFromItsStart) {
    ExpectSpans(Spans({5, 3, 0, 10, false, 4, 1}), {{5, 0, 3}, {5, 4, 3}, {5, 8, 2}});
    ExpectSpans(Spans({5, 6, 0, 10, true, 4, 1}), {{5, 0, 4}, {5, 4, 4}, {5, 8, 2}}); // cut to the cell
    ExpectSpans(Spans({0, 4, 0, 20, false, 4, 2}), {{0, 0, 4}, {0, 8, 4}, {0, 16, 4}}); // every second cell
    ExpectSpans(Spans({0, 4, 0, 20, false, 4, 3}), {{0, 0, 4}, {0, 12, 4}});
    ExpectSpans(Spans({0, 4, 0, 20, false, 4, 0}), {{0, 0, 4}, {0, 4, 4}, {0, 8, 4}, {0, 12, 4}, {0, 16, 4}});
    ExpectSpans(Spans({0, 4, 10, 0, false, 4, 1}), {{0, 10, 4}}); // one cell for a target without size
}

TEST(ImagePlacement, TilesOutsideTheClipAreSkipped) {
    // One-pixel tiles over a long target: only the clipped range is visited.
    ExpectSpans(Spans({0, 1, 0, 1 << 30, false, 1, 1}, 500, 503), {{0, 500, 1}, {0, 501, 1}, {0, 502, 1}});
    ExpectSpans(Spans({0, 4, 0, 40, false, 4, 2}, 9, 20), {{0, 8, 4}, {0, 16, 4}}); // 8..12 reaches 9
    ExpectSpans(Spans({0, 4, 0, 40, false, 4, 1}, 9, 9), {});
}

} // namespace
