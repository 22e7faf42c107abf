#include "SkinDrawing.h"

#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SurfaceFill.h"

#include <gtest/gtest.h>

using namespace corlist;
using skintest::Rgb565;

namespace {

class SurfaceFill : public skintest::SkinDrawingTest {
protected:
    // Every pixel of `rect` equals `value`, and no pixel outside it changed from `outside`.
    void ExpectOnly(const RECT& rect, uint16_t value, uint16_t outside) {
        for (int y = 0; y < m_surface.Height(); ++y)
            for (int x = 0; x < m_surface.Width(); ++x) {
                bool in = x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
                ASSERT_EQ(m_surface.Pixel(x, y), in ? value : outside) << x << "," << y;
            }
    }
};

TEST_F(SurfaceFill, TranslucentRedOverWhiteIsAUniformLightGrey) {
    MakeSurface(8, 6, 0xFFFF);
    RECT rect{1, 1, 7, 5};
    FillRect(m_surface, rect, RGB(255, 0, 0), 127); // opacity 50
    // g = 85, base = 85 * 129 / 256 = 42; red and blue 42 + 248 * 127 / 256 = 165, green
    // 42 + 252 * 127 / 256 = 167.
    uint16_t grey = uint16_t((165 >> 3) << 11 | (167 >> 2) << 5 | (165 >> 3));
    ExpectOnly(rect, grey, 0xFFFF);
    // The hue does not matter: blue of the same grey level gives the same.
    MakeSurface(8, 6, 0xFFFF);
    FillRect(m_surface, rect, RGB(0, 0, 255), 127);
    ExpectOnly(rect, grey, 0xFFFF);
}

TEST_F(SurfaceFill, WeightsOutsideOneTo255FillSolid) {
    for (int weight : {0, -1, 256, 1000}) {
        SCOPED_TRACE(weight);
        MakeSurface(6, 6, 0xFFFF);
        FillRect(m_surface, RECT{0, 0, 3, 6}, RGB(255, 0, 0), weight);
        ExpectOnly(RECT{0, 0, 3, 6}, 0xF800, 0xFFFF);
    }
    MakeSurface(6, 6, 0x1234);
    FillRect(m_surface, RECT{0, 0, 6, 6}, kColourNone, 0);
    ExpectOnly(RECT{}, 0, 0x1234);
}

TEST_F(SurfaceFill, TheKeptTablesFollowColourAndWeight) {
    // Each call after another pair must not reuse the previous pair's tables.
    const struct {
        COLORREF colour;
        int weight;
    } pairs[] = {{RGB(0, 0, 0), 100}, {RGB(255, 255, 255), 100}, {RGB(255, 255, 255), 200}, {RGB(0, 0, 0), 100}};
    uint16_t results[4];
    for (int i = 0; i < 4; ++i) {
        MakeSurface(2, 2, Rgb565(128, 128, 128));
        FillRect(m_surface, RECT{0, 0, 2, 2}, pairs[i].colour, pairs[i].weight);
        results[i] = m_surface.Pixel(1, 1);
    }
    EXPECT_NE(results[0], results[1]);
    EXPECT_NE(results[1], results[2]);
    EXPECT_EQ(results[3], results[0]);
    // Black at weight 100 keeps 100 / 256 of every channel: 128 -> 50.
    EXPECT_EQ(results[0], Rgb565(128 * 100 / 256, 128 * 100 / 256, 128 * 100 / 256));
}

TEST_F(SurfaceFill, TheClipAndTheSurfaceBoundTheFill) {
    MakeSurface(10, 10, 0);
    m_surface.SetClip(RECT{2, 3, 20, 8});
    FillRect(m_surface, RECT{-5, -5, 6, 50}, RGB(255, 255, 255), 0);
    ExpectOnly(RECT{2, 3, 6, 8}, 0xFFFF, 0);
    m_surface.SetClip(RECT{4, 4, 4, 9}); // empty
    FillRect(m_surface, RECT{0, 0, 10, 10}, RGB(255, 0, 0), 0);
    ExpectOnly(RECT{2, 3, 6, 8}, 0xFFFF, 0);
}

} // namespace
