#include "display/Compositor.h"
#include "gdi/Raster.h"

#include <gtest/gtest.h>

using platform::Compositor;
using platform::PixelLayout;
using platform::ScreenLayer;
using platform::Surface;

namespace {

std::shared_ptr<Surface> Solid(int width, int height, uint16_t color) {
    auto surface = Surface::Create(width, height, PixelLayout::Rgb565, true);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            reinterpret_cast<uint16_t*>(surface->Row(y))[x] = color;
    return surface;
}

uint16_t At(const Surface& surface, int x, int y) {
    return reinterpret_cast<const uint16_t*>(surface.Row(y))[x];
}

ScreenLayer Layer(std::shared_ptr<Surface> surface, LONG left, LONG top) {
    return ScreenLayer{surface, RECT{left, top, left + surface->Width(), top + surface->Height()}};
}

TEST(Compositor, StacksLayersBottomFirstAndClipsToTheScreen) {
    auto screen = Surface::Create(40, 30, PixelLayout::Rgb565, true);
    std::vector<ScreenLayer> layers = {
        Layer(Solid(20, 20, 0x1111), 0, 0),    // bottom
        Layer(Solid(20, 20, 0x2222), 10, 5),   // middle
        Layer(Solid(20, 20, 0x3333), -10, 20), // top, partly off the screen
    };
    Compositor::Compose(*screen, layers, 0xBEEF);
    struct Probe {
        int x, y;
        uint16_t expected;
    } probes[] = {
        {0, 0, 0x1111},   {9, 4, 0x1111},  {10, 5, 0x2222}, {19, 19, 0x2222}, {29, 24, 0x2222},
        {0, 20, 0x3333},  {9, 29, 0x3333}, {10, 29, 0xBEEF}, {30, 0, 0xBEEF}, {39, 29, 0xBEEF},
        {35, 10, 0xBEEF},
    };
    for (const Probe& probe : probes)
        EXPECT_EQ(At(*screen, probe.x, probe.y), probe.expected) << probe.x << "," << probe.y;
}

TEST(Compositor, ShowsOnlyWhatAStoreLaggingBehindAResizeHolds) {
    auto screen = Surface::Create(20, 20, PixelLayout::Rgb565, true);
    // The window grew to 16x16 but its store is still 8x8.
    ScreenLayer layer{Solid(8, 8, 0x0F0F), RECT{2, 2, 18, 18}};
    Compositor::Compose(*screen, {layer}, 0);
    EXPECT_EQ(At(*screen, 9, 9), 0x0F0F);
    EXPECT_EQ(At(*screen, 10, 10), 0);
    EXPECT_EQ(At(*screen, 17, 3), 0);
}

TEST(Compositor, SkipsLayersOfAnotherLayout) {
    auto screen = Surface::Create(8, 8, PixelLayout::Rgb565, true);
    auto other = Surface::Create(8, 8, PixelLayout::Rgb32, true);
    Compositor::Compose(*screen, {ScreenLayer{other, RECT{0, 0, 8, 8}}}, 0x1234);
    EXPECT_EQ(At(*screen, 4, 4), 0x1234);
}

TEST(Compositor, DifferenceBoundsTheChangedPixels) {
    auto before = Solid(30, 20, 0);
    auto after = Solid(30, 20, 0);
    EXPECT_TRUE(platform::IsEmptyRect(Compositor::Difference(*before, *after)));
    reinterpret_cast<uint16_t*>(after->Row(3))[7] = 1;
    reinterpret_cast<uint16_t*>(after->Row(9))[21] = 1;
    RECT damage = Compositor::Difference(*before, *after);
    EXPECT_EQ(damage.left, 7);
    EXPECT_EQ(damage.top, 3);
    EXPECT_EQ(damage.right, 22);
    EXPECT_EQ(damage.bottom, 10);
    auto turned = Solid(20, 30, 0);
    RECT whole = Compositor::Difference(*before, *turned);
    EXPECT_EQ(whole.right, 20);
    EXPECT_EQ(whole.bottom, 30);
}

} // namespace
