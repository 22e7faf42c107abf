#include "SkinDrawing.h"

#include "corlist/skin/ImageElement.h"
#include "corlist/skin/PixelLoops.h"
#include "corlist/skin/SkinMetrics.h"

#include <gtest/gtest.h>

using namespace corlist;
using skintest::AlphaImage;
using skintest::Bgr24Image;
using skintest::IndexedImage;
using skintest::Rgb565;
using skintest::Rgb565Image;
using skintest::UniformImage;

namespace {

constexpr uint16_t kRed = 0xF800, kGreen = 0x07E0, kBlue = 0x001F, kWhite = 0xFFFF, kGrey = 0x8410;

class ImageElements : public skintest::SkinDrawingTest {
protected:
    // An element of the fake skin with the attributes given as name, value pairs.
    std::unique_ptr<ImageElement> Element(std::initializer_list<std::pair<const char*, const char*>> attributes) {
        auto element = std::make_unique<ImageElement>(m_skin);
        for (auto [name, value] : attributes)
            EXPECT_TRUE(element->SetAttribute(name, value, m_arena)) << name;
        return element;
    }
    void ExpectRow(int y, std::vector<uint16_t> expected) {
        std::vector<uint16_t> row = RowOf(y);
        row.resize(expected.size());
        EXPECT_EQ(row, expected) << "row " << y;
    }
    common::NodeArena m_arena;
};

TEST_F(ImageElements, AttributesAndTheirDefaults) {
    SetCoordinateScale(2);
    const struct {
        const char* name;
        const char* value;
        int columns, rows, repeatWidth, repeatHeight, maskWidth, maskHeight, opacity;
        uint32_t flags;
    } cases[] = {
        {"imgList", "3,2", 3, 2, 0, 0, 1, 1, -1, 0},
        {"imgList", "0,-4", 1, 1, 0, 0, 1, 1, -1, 0},
        {"imglist", "3", 1, 1, 0, 0, 1, 1, -1, 0},
        {"imgList", "3,2,1", 1, 1, 0, 0, 1, 1, -1, 0},
        {"repeat", "4,5", 1, 1, 8, 10, 1, 1, -1, 0},
        {"repeat", "-4,5", 1, 1, 0, 10, 1, 1, -1, 0},
        {"repeat", "x,y", 1, 1, 0, 0, 1, 1, -1, 0},
        {"repeatmask", "0,3", 1, 1, 0, 0, 1, 3, -1, 0},
        {"repeatMask", "2", 1, 1, 0, 0, 1, 1, -1, 0},
        {"opacity", "100", 1, 1, 0, 0, 1, 1, 256, 0},
        {"opacity", "50", 1, 1, 0, 0, 1, 1, 128, 0},
        {"opacity", "150", 1, 1, 0, 0, 1, 1, 256, 0},
        {"opacity", "-5", 1, 1, 0, 0, 1, 1, 0, 0},
        {"flags", "center,cache", 1, 1, 0, 0, 1, 1, -1, 0xB},
        {"flags", "CenterH, unknown", 1, 1, 0, 0, 1, 1, -1, 0x2},
        {"flags", "centerv", 1, 1, 0, 0, 1, 1, -1, 0x1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.name << "=" << c.value);
        auto element = Element({{c.name, c.value}});
        EXPECT_EQ(element->Columns(), c.columns);
        EXPECT_EQ(element->Rows(), c.rows);
        EXPECT_EQ(element->RepeatWidth(), c.repeatWidth);
        EXPECT_EQ(element->RepeatHeight(), c.repeatHeight);
        EXPECT_EQ(element->RepeatMaskWidth(), c.maskWidth);
        EXPECT_EQ(element->RepeatMaskHeight(), c.maskHeight);
        EXPECT_EQ(element->Opacity(), c.opacity);
        EXPECT_EQ(element->Flags(), c.flags);
    }
    auto element = Element({{"source", "a.png"}, {"SOURCE_A", "a_a.png"}, {"transColor", "#FF00FF"},
                            {"colorize", "rgb(1,2,3)"}, {"imgindex", "4"}});
    EXPECT_FALSE(element->SetAttribute("color", "#000000", m_arena));
    EXPECT_EQ(std::u16string(element->Source()), u"a.png");
    EXPECT_EQ(std::u16string(element->AlphaSource()), u"a_a.png");
    EXPECT_EQ(element->TransparentColour(), RGB(255, 0, 255));
    EXPECT_EQ(element->ColorizeColour(), RGB(1, 2, 3));
    EXPECT_EQ(element->DefaultIndex(), 4);
}

TEST_F(ImageElements, CopyFromCopiesEveryAttribute) {
    auto source = Element({{"source", "a.png"}, {"source_a", "b.png"}, {"transColor", "#FF00FF"},
                           {"colorize", "#010203"}, {"flags", "center"}, {"imgindex", "2"}, {"imgList", "3,2"},
                           {"opacity", "25"}, {"repeat", "4,5"}, {"repeatmask", "2,3"}});
    ImageElement copy(m_skin);
    copy.CopyFrom(*source);
    EXPECT_EQ(std::u16string(copy.Source()), u"a.png");
    EXPECT_EQ(std::u16string(copy.AlphaSource()), u"b.png");
    EXPECT_EQ(copy.TransparentColour(), RGB(255, 0, 255));
    EXPECT_EQ(copy.ColorizeColour(), RGB(1, 2, 3));
    EXPECT_EQ(copy.Flags(), 3u);
    EXPECT_EQ(copy.DefaultIndex(), 2);
    EXPECT_EQ(copy.Columns(), 3);
    EXPECT_EQ(copy.Rows(), 2);
    EXPECT_EQ(copy.Opacity(), 64);
    EXPECT_EQ(copy.RepeatWidth(), 4);
    EXPECT_EQ(copy.RepeatHeight(), 5);
    EXPECT_EQ(copy.RepeatMaskWidth(), 2);
    EXPECT_EQ(copy.RepeatMaskHeight(), 3);
}

TEST_F(ImageElements, PalettePicturesDrawTheirColoursAndSkipIndexesBeyondThePalette) {
    m_skin.Add(u"p", IndexedImage(4, 1, {RGB(255, 0, 0), RGB(0, 255, 0), RGB(255, 0, 255)}, {0, 1, 2, 7}));
    auto element = Element({{"source", "p"}});
    MakeSurface(6, 2, kGrey);
    element->Draw(m_surface, RECT{1, 0, 5, 1});
    ExpectRow(0, {kGrey, kRed, kGreen, 0xF81F, kGrey, kGrey});
    ExpectRow(1, {kGrey, kGrey, kGrey, kGrey, kGrey, kGrey});
    // The transparent colour skips magenta; set later, it applies at once.
    MakeSurface(6, 2, kGrey);
    element->SetTransparentColour(RGB(255, 0, 255));
    element->Draw(m_surface, RECT{0, 0, 4, 1});
    ExpectRow(0, {kRed, kGreen, kGrey, kGrey, kGrey, kGrey});
}

TEST_F(ImageElements, Rgb565AndBgrPicturesAreCopiedWithTheirKey) {
    m_skin.Add(u"s", Rgb565Image(3, 1, {kRed, 0xF81F, kBlue}));
    m_skin.Add(u"t", Bgr24Image(3, 1, {RGB(255, 0, 0), RGB(8, 4, 8), RGB(0, 0, 255)}));
    MakeSurface(3, 3, kGrey);
    Element({{"source", "s"}})->Draw(m_surface, RECT{0, 0, 3, 1});
    Element({{"source", "s"}, {"transColor", "#FF00FF"}})->Draw(m_surface, RECT{0, 1, 3, 2});
    Element({{"source", "t"}, {"transColor", "#080408"}})->Draw(m_surface, RECT{0, 2, 3, 3});
    ExpectRow(0, {kRed, 0xF81F, kBlue});
    ExpectRow(1, {kRed, kGrey, kBlue});
    ExpectRow(2, {kRed, 0x0821, kBlue}); // 24-bit pictures have no transparent colour
}

TEST_F(ImageElements, AlphaPicturesBlendTheColourPicture) {
    m_skin.Add(u"c16", Rgb565Image(4, 1, {kWhite, kWhite, kWhite, kWhite}));
    m_skin.Add(u"c8", IndexedImage(4, 1, {RGB(255, 255, 255)}, {0, 0, 0, 0}));
    m_skin.Add(u"a", AlphaImage(4, 1, {0, 128, 255, 64}));
    uint16_t half = Blend565(0, kWhite, 16), quarter = Blend565(0, kWhite, 8);
    EXPECT_EQ(half, (15 << 11) | (31 << 5) | 15); // half of 31 and of 63, truncated
    for (const char* colour : {"c16", "c8"}) {
        SCOPED_TRACE(colour);
        MakeSurface(4, 1, 0);
        Element({{"source", colour}, {"source_a", "a"}})->Draw(m_surface, RECT{0, 0, 4, 1});
        ExpectRow(0, {0, half, kWhite, quarter}); // 255 draws the picture exactly
    }
}

TEST_F(ImageElements, AnAlphaPictureSmallerThanTheColourOneCutsIt) {
    // The alpha rows are exactly 4 bytes apart: reading past a row's end would find the next.
    m_skin.Add(u"c", Rgb565Image(8, 3, std::vector<uint16_t>(24, kRed)));
    m_skin.Add(u"a", AlphaImage(4, 2, std::vector<uint8_t>(8, 255)));
    m_skin.Add(u"a16", Rgb565Image(8, 3, std::vector<uint16_t>(24, kWhite)));
    m_skin.Add(u"c24", Bgr24Image(8, 3, std::vector<COLORREF>(24, RGB(255, 0, 0))));
    const std::vector<uint16_t> grey(8, kGrey), half{kRed, kRed, kRed, kRed, kGrey, kGrey, kGrey, kGrey};
    MakeSurface(8, 3, kGrey);
    Element({{"source", "c"}, {"source_a", "a"}})->Draw(m_surface, RECT{0, 0, 8, 3});
    ExpectRow(0, half);
    ExpectRow(1, half);
    ExpectRow(2, grey);
    // An alpha picture that is not 8-bit, or a 24-bit colour picture with one, draws nothing.
    MakeSurface(8, 3, kGrey);
    Element({{"source", "c"}, {"source_a", "a16"}})->Draw(m_surface, RECT{0, 0, 8, 3});
    Element({{"source", "c24"}, {"source_a", "a"}})->Draw(m_surface, RECT{0, 0, 8, 3});
    ExpectRow(0, grey);
}

TEST_F(ImageElements, AnAlphaPictureAlonePaintsTheColorizeColour) {
    m_skin.Add(u"a", AlphaImage(3, 1, {255, 0, 128}));
    MakeSurface(3, 1, 0);
    Element({{"source_a", "a"}})->Draw(m_surface, RECT{0, 0, 3, 1}); // no colorize: nothing
    ExpectRow(0, {0, 0, 0});
    Element({{"source_a", "a"}, {"colorize", "#0000FF"}})->Draw(m_surface, RECT{0, 0, 3, 1});
    ExpectRow(0, {kBlue, 0, Blend565(0, kBlue, 16)});
}

TEST_F(ImageElements, ColorizeMixesThePaletteByTheOpacity) {
    m_skin.Add(u"p", IndexedImage(1, 1, {RGB(0, 0, 0)}, {0}));
    const struct {
        const char* opacity;
        int level; // of the colorize colour white in each channel
    } cases[] = {
        {nullptr, 255 * 127 / 256}, // 50 by default: b = (25500 - 12750) / 100 = 127
        {"100", 0},                 // the picture as it is
        {"0", 255 * 255 / 256},     // nearly the colorize colour
        {"80", 255 * 51 / 256},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.opacity ? c.opacity : "default");
        auto element = Element({{"source", "p"}, {"colorize", "#FFFFFF"}});
        if (c.opacity)
            element->SetAttribute("opacity", c.opacity, m_arena);
        MakeSurface(1, 1, kGrey);
        element->Draw(m_surface, RECT{0, 0, 1, 1});
        EXPECT_EQ(m_surface.Pixel(0, 0), Rgb565(c.level, c.level, c.level));
    }
}

TEST_F(ImageElements, SubImagesAreChosenFromTheGrid) {
    // Six 1x1 cells of a 3x2 grid: index 4 is the middle of the second row.
    m_skin.Add(u"g", Rgb565Image(3, 2, {1, 2, 3, 4, 5, 6}));
    const struct {
        int index;
        uint16_t pixel;
    } cases[] = {{4, 5}, {0, 1}, {2, 3}, {3, 4}, {5, 6}, {6, 1}, {7, 1}, {-1, 3}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        auto element = Element({{"source", "g"}, {"imgList", "3,2"}, {"imgindex", "2"}});
        MakeSurface(2, 2, 0);
        element->Draw(m_surface, RECT{0, 0, 1, 1}, c.index);
        ExpectRow(0, {c.pixel, 0});
        ExpectRow(1, {0, 0});
    }
}

TEST_F(ImageElements, PlacementCentresCropsAndUsesTheOwnSizeForAnEmptyTarget) {
    m_skin.Add(u"s", Rgb565Image(2, 2, {1, 2, 3, 4}));
    m_skin.Add(u"w", Rgb565Image(4, 1, {1, 2, 3, 4}));
    MakeSurface(6, 4, 0);
    Element({{"source", "s"}, {"flags", "center"}})->Draw(m_surface, RECT{0, 0, 6, 4});
    ExpectRow(0, {0, 0, 0, 0, 0, 0});
    ExpectRow(1, {0, 0, 1, 2, 0, 0});
    ExpectRow(2, {0, 0, 3, 4, 0, 0});
    MakeSurface(6, 4, 0);
    Element({{"source", "s"}, {"flags", "centerv"}})->Draw(m_surface, RECT{0, 0, 6, 4});
    ExpectRow(1, {1, 2, 0, 0, 0, 0});
    MakeSurface(6, 4, 0);
    Element({{"source", "w"}})->Draw(m_surface, RECT{1, 0, 3, 1}); // cropped by one each side
    ExpectRow(0, {0, 2, 3, 0, 0, 0});
    Element({{"source", "s"}, {"flags", "center"}})->Draw(m_surface, RECT{4, 2, 4, 2}); // own size
    ExpectRow(2, {0, 0, 0, 0, 1, 2});
    ExpectRow(3, {0, 0, 0, 0, 3, 4});
}

TEST_F(ImageElements, TilingRepeatsThroughTheMask) {
    m_skin.Add(u"s", Rgb565Image(2, 1, {1, 2}));
    MakeSurface(9, 3, 0);
    Element({{"source", "s"}, {"repeat", "3,1"}})->Draw(m_surface, RECT{0, 0, 8, 2});
    ExpectRow(0, {1, 2, 0, 1, 2, 0, 1, 2, 0});
    ExpectRow(1, {1, 2, 0, 1, 2, 0, 1, 2, 0});
    ExpectRow(2, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    MakeSurface(9, 3, 0);
    Element({{"source", "s"}, {"repeat", "2,1"}, {"repeatmask", "2,2"}})->Draw(m_surface, RECT{0, 0, 9, 3});
    ExpectRow(0, {1, 2, 0, 0, 1, 2, 0, 0, 1});
    ExpectRow(1, {0, 0, 0, 0, 0, 0, 0, 0, 0});
    ExpectRow(2, {1, 2, 0, 0, 1, 2, 0, 0, 1});
}

TEST_F(ImageElements, DrawingStaysInsideTheClips) {
    m_skin.Add(u"s", Rgb565Image(4, 1, {1, 2, 3, 4}));
    auto element = Element({{"source", "s"}});
    MakeSurface(4, 1, 0);
    m_surface.SetClip(RECT{1, 0, 4, 1});
    RECT extra{0, 0, 3, 1};
    element->Draw(m_surface, RECT{-1, 0, 3, 1}, -1, &extra); // starts left of the surface
    ExpectRow(0, {0, 3, 4, 0});
}

TEST_F(ImageElements, PicturesAreAcquiredOnceAndReleasedWithTheElement) {
    m_skin.Add(u"s", UniformImage(2, 2, 16, kRed));
    m_skin.Add(u"broken", nullptr);
    {
        auto element = Element({{"source", "s"}, {"source_a", "broken"}});
        auto missing = Element({{"source", "nothere"}});
        MakeSurface(2, 2, 0);
        element->Draw(m_surface, RECT{0, 0, 2, 2});
        element->Draw(m_surface, RECT{0, 0, 2, 2});
        missing->Draw(m_surface, RECT{0, 0, 2, 2});
        missing->Draw(m_surface, RECT{0, 0, 2, 2});
        EXPECT_EQ(m_skin.acquires, 3);
        EXPECT_NE(element->Image(false), nullptr);
        EXPECT_EQ(element->Image(true), nullptr);
        EXPECT_EQ(m_skin.acquires, 3);
        EXPECT_EQ(element->SubImageSize().cx, 2);
        ExpectRow(0, {kRed, kRed}); // a failed alpha picture leaves the colour one alone
    }
    EXPECT_EQ(m_skin.releases, 1);
}

} // namespace
