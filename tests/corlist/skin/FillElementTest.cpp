#include "SkinDrawing.h"

#include "common/XmlNode.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/ImageElement.h"

#include <gtest/gtest.h>

using namespace corlist;
using skintest::Rgb565;

namespace {

class FillElements : public skintest::SkinDrawingTest {
protected:
    FillElement Fill(std::initializer_list<std::pair<const char*, const char*>> attributes) {
        FillElement fill;
        for (auto [name, value] : attributes)
            EXPECT_TRUE(fill.SetAttribute(name, value, m_arena)) << name;
        return fill;
    }
    // Channels of a surface pixel, expanded to 8 bits.
    static int Red(uint16_t p) { return (p >> 11) * 8; }
    static int Blue(uint16_t p) { return (p & 31) * 8; }
    common::NodeArena m_arena;
};

TEST_F(FillElements, GradientsRunTopToBottomOrLeftToRight) {
    const RECT all{0, 0, 16, 16};
    for (bool horizontal : {false, true}) {
        SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
        FillElement fill = Fill({{"color", "#FF0000"}, {"gradient", "#0000FF"}, {"gradientType", horizontal ? "1" : "0"}});
        MakeSurface(16, 16, 0);
        fill.Paint(m_surface, all, all);
        uint16_t first = m_surface.Pixel(0, 0);
        uint16_t last = horizontal ? m_surface.Pixel(15, 0) : m_surface.Pixel(0, 15);
        uint16_t across = horizontal ? m_surface.Pixel(0, 15) : m_surface.Pixel(15, 0);
        EXPECT_GE(Red(first), 240);
        EXPECT_LE(Blue(first), 16);
        EXPECT_LE(Red(last), 24);
        EXPECT_GE(Blue(last), 224);
        EXPECT_EQ(across, first); // constant across the gradient's direction
    }
}

TEST_F(FillElements, PaintKeepsInsideTheClipAndFillsTranslucently) {
    FillElement gradient = Fill({{"color", "#FF0000"}, {"gradient", "#0000FF"}});
    MakeSurface(8, 8, 0);
    gradient.Paint(m_surface, RECT{0, 0, 8, 8}, RECT{2, 2, 6, 6});
    EXPECT_EQ(m_surface.Pixel(1, 1), 0);
    EXPECT_EQ(m_surface.Pixel(6, 6), 0);
    EXPECT_NE(m_surface.Pixel(2, 2), 0);
    // The DC's clip is back to the whole surface afterwards.
    EXPECT_EQ(GetPixel(m_surface.Dc(), 7, 7), RGB(0, 0, 0));
    RECT box{};
    EXPECT_NE(GetClipBox(m_surface.Dc(), &box), ERROR);
    EXPECT_EQ(box.right, 8);

    FillElement translucent = Fill({{"color", "#000000"}, {"opacity", "50"}});
    MakeSurface(4, 4, 0xFFFF);
    translucent.Paint(m_surface, RECT{0, 0, 4, 4}, RECT{0, 0, 2, 4});
    uint16_t half = Rgb565(248 * 127 / 256, 252 * 127 / 256, 248 * 127 / 256);
    EXPECT_EQ(RowOf(0), (std::vector<uint16_t>{half, half, 0xFFFF, 0xFFFF}));

    FillElement none = Fill({{"opacity", "50"}});
    none.Paint(m_surface, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4});
    EXPECT_EQ(RowOf(0), (std::vector<uint16_t>{half, half, 0xFFFF, 0xFFFF}));
}

TEST_F(FillElements, ABackgroundImageReplacesTheColourEvenWhenItFails) {
    m_skin.Add(u"bg", skintest::UniformImage(2, 2, 16, 0x07E0));
    ImageElement image(m_skin), broken(m_skin);
    image.SetAttribute("source", "bg", m_arena);
    image.SetAttribute("repeat", "2,2", m_arena);
    broken.SetAttribute("source", "missing", m_arena);
    common::XmlNode fillNode{}, colourNode{}, imageNode{};
    fillNode.firstChild = &colourNode;
    colourNode.kind = SkinKind::kColor;
    colourNode.nextSibling = &imageNode;
    imageNode.kind = SkinKind::kImage;

    imageNode.element = &image;
    FillElement fill = Fill({{"color", "#FF0000"}});
    fill.SetNode(&fillNode);
    EXPECT_EQ(fill.BackgroundImage(), &image);
    MakeSurface(4, 4, 0);
    fill.Paint(m_surface, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 3});
    EXPECT_EQ(RowOf(2), (std::vector<uint16_t>{0x07E0, 0x07E0, 0x07E0, 0x07E0}));
    EXPECT_EQ(RowOf(3), (std::vector<uint16_t>{0, 0, 0, 0}));

    imageNode.element = &broken;
    FillElement second = Fill({{"color", "#FF0000"}});
    second.SetNode(&fillNode);
    MakeSurface(4, 4, 0);
    second.Paint(m_surface, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4});
    EXPECT_EQ(RowOf(0), (std::vector<uint16_t>{0, 0, 0, 0}));

    FillElement alone = Fill({{"color", "#FF0000"}});
    alone.SetNode(&colourNode); // no image among its children
    EXPECT_EQ(alone.BackgroundImage(), nullptr);
    alone.Paint(m_surface, RECT{0, 0, 4, 4}, RECT{0, 0, 4, 4});
    EXPECT_EQ(RowOf(0), (std::vector<uint16_t>{0xF800, 0xF800, 0xF800, 0xF800}));
}

} // namespace
