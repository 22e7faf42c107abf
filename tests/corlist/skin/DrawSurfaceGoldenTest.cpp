// Whole pictures drawn by the elements, compared with stored PNGs (DIALORA_UPDATE_GOLDEN=1
// rewrites them after a deliberate change).
#include "SkinDrawing.h"

#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"

#include <gtest/gtest.h>

using namespace corlist;
using skintest::Rgb565;

namespace {

class DrawSurfaceGolden : public skintest::SkinDrawingTest {
protected:
    template <typename Element>
    void Set(Element& element, std::initializer_list<std::pair<const char*, const char*>> attributes) {
        for (auto [name, value] : attributes)
            ASSERT_TRUE(element.SetAttribute(name, value, m_arena)) << name;
    }
    // Stripes of four colours under everything, so translucency and keys show.
    void Stripes() {
        const uint16_t colours[4] = {0xFFFF, Rgb565(255, 200, 0), Rgb565(0, 120, 200), 0};
        for (int y = 0; y < m_surface.Height(); ++y)
            for (int x = 0; x < m_surface.Width(); ++x)
                m_surface.Row(y)[x] = colours[(x / 4) % 4];
    }
    common::NodeArena m_arena;
};

TEST_F(DrawSurfaceGolden, Fills) {
    MakeSurface(64, 48, 0);
    Stripes();
    FillElement solid, translucent, dark, vertical, horizontal;
    Set(solid, {{"color", "#3169C6"}});
    Set(translucent, {{"color", "#FF0000"}, {"opacity", "50"}});
    Set(dark, {{"color", "sysColor(5):-75"}, {"opacity", "25"}});
    Set(vertical, {{"color", "#FFFFFF"}, {"gradient", "#10489C"}});
    Set(horizontal, {{"color", "rgb(255,200,0)"}, {"gradient", "rgb(200,0,0)"}, {"gradientType", "1"}});
    const RECT all{0, 0, 64, 48};
    solid.Paint(m_surface, RECT{0, 0, 32, 12}, all);
    translucent.Paint(m_surface, RECT{32, 0, 64, 24}, all);
    dark.Paint(m_surface, RECT{0, 12, 32, 24}, RECT{0, 12, 24, 24});
    vertical.Paint(m_surface, RECT{0, 24, 32, 48}, all);
    horizontal.Paint(m_surface, RECT{32, 24, 64, 48}, RECT{32, 28, 64, 44});
    ExpectMatchesGolden("skin-fills.png");
}

TEST_F(DrawSurfaceGolden, FontsWithShadowsAndStyles) {
    MakeSurface(120, 64, Rgb565(198, 211, 231));
    FontElement plain, shadowed, bold, ellipsis, wrapped;
    Set(plain, {{"color", "#000000"}, {"size", "11"}});
    Set(shadowed, {{"color", "#FFFFFF"}, {"shadow", "#404040"}, {"size", "13"}, {"textstyle", "center"}});
    Set(bold, {{"color", "#10489C"}, {"size", "12"}, {"weight", "700"}, {"textstyle", "right,bottom"}});
    Set(ellipsis, {{"color", "#C00000"}, {"size", "11"}, {"textstyle", "..."}});
    Set(wrapped, {{"color", "#000000"}, {"size", "10"}, {"textstyle", "wordbreak"}, {"fontname", "DejaVu Serif"}});
    RECT rects[5] = {{2, 2, 118, 14}, {2, 14, 118, 30}, {60, 30, 118, 46}, {2, 46, 70, 62}, {2, 30, 60, 62}};
    plain.DrawText(m_surface, u"Plain text", -1, rects[0], 0);
    shadowed.DrawText(m_surface, u"Shadow", -1, rects[1], 0);
    bold.DrawText(m_surface, u"Bold", -1, rects[2], 0);
    ellipsis.DrawText(m_surface, u"An ellipsis ends this line", -1, rects[3], 0);
    wrapped.DrawText(m_surface, u"Words wrap here", -1, rects[4], 0);
    // Anti-aliased edges may move a little between FreeType builds.
    ExpectMatchesGolden("skin-fonts.png", 16, 120 * 64 / 100);
}

TEST_F(DrawSurfaceGolden, ImagesOfEveryPixelKind) {
    // A 12x12 disc of alpha levels, a ring of palette colours with a magenta key, and a
    // 16-bit and a 24-bit gradient.
    std::vector<uint8_t> disc(144), ring(144);
    std::vector<uint16_t> shades(144);
    std::vector<COLORREF> warm(144);
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x) {
            int d2 = (2 * x - 11) * (2 * x - 11) + (2 * y - 11) * (2 * y - 11);
            disc[size_t(y * 12 + x)] = uint8_t(std::max(0, 255 - d2 * 2));
            ring[size_t(y * 12 + x)] = uint8_t(d2 > 100 ? 0 : 1 + (x + y) % 3);
            shades[size_t(y * 12 + x)] = Rgb565(x * 20, y * 20, 128);
            warm[size_t(y * 12 + x)] = RGB(255, x * 20, y * 20);
        }
    m_skin.Add(u"ring", skintest::IndexedImage(12, 12, {RGB(255, 0, 255), RGB(200, 0, 0), RGB(0, 160, 0), RGB(0, 0, 220)}, ring));
    m_skin.Add(u"disc", skintest::AlphaImage(12, 12, disc));
    m_skin.Add(u"shades", skintest::Rgb565Image(12, 12, shades));
    m_skin.Add(u"warm", skintest::Bgr24Image(12, 12, warm));
    MakeSurface(64, 32, 0);
    Stripes();
    ImageElement palette(m_skin), keyed(m_skin), colorized(m_skin), blended(m_skin), bgr(m_skin), alphaOnly(m_skin),
        tiled(m_skin);
    Set(palette, {{"source", "ring"}});
    Set(keyed, {{"source", "ring"}, {"transColor", "#FF00FF"}});
    Set(colorized, {{"source", "ring"}, {"transColor", "#FF00FF"}, {"colorize", "#FFFF00"}, {"opacity", "40"}});
    Set(blended, {{"source", "shades"}, {"source_a", "disc"}});
    Set(bgr, {{"source", "warm"}});
    Set(alphaOnly, {{"source_a", "disc"}, {"colorize", "#FFFFFF"}});
    Set(tiled, {{"source", "shades"}, {"source_a", "disc"}, {"repeat", "8,8"}, {"repeatmask", "1,2"}});
    palette.Draw(m_surface, RECT{2, 2, 14, 14});
    keyed.Draw(m_surface, RECT{16, 2, 28, 14});
    colorized.Draw(m_surface, RECT{30, 2, 42, 14});
    blended.Draw(m_surface, RECT{44, 0, 64, 16}, -1);
    bgr.Draw(m_surface, RECT{2, 18, 10, 30}); // cropped to 8 wide
    alphaOnly.Draw(m_surface, RECT{12, 18, 24, 30});
    tiled.Draw(m_surface, RECT{26, 16, 64, 32});
    ExpectMatchesGolden("skin-images.png");
}

} // namespace
