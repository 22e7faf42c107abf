#include "SkinDrawing.h"

#include "corlist/skin/FontElement.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"

#include <gtest/gtest.h>

#include <string>

using namespace corlist;

namespace {

class FontElements : public skintest::SkinDrawingTest {};

TEST_F(FontElements, TextStyleWordsAddTheirFormatBits) {
    const struct {
        const char* value;
        UINT bits;
    } cases[] = {
        {"center,...", 0x25 | 0x8020},
        {"top,left", 0},
        {"right, bottom", 0x2 | 0x28},
        {"WordBreak", 0x10},
        {"centerv,centerh", 0x25},
        {" CENTER ", 0x25},
        {"middle,,", 0},
        {"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        FontElement font;
        common::NodeArena arena;
        EXPECT_TRUE(font.SetAttribute("textstyle", c.value, arena));
        EXPECT_EQ(font.Format(), c.bits);
    }
}

TEST_F(FontElements, SizeIsScaledAndTheOtherAttributesAreKept) {
    common::NodeArena arena;
    FontElement font;
    EXPECT_EQ(font.Size(), -10 * GetSystemMetrics(SM_CXBORDER));
    EXPECT_EQ(font.Weight(), 400);
    SetCoordinateScale(2);
    EXPECT_TRUE(font.SetAttribute("size", "12", arena));
    EXPECT_EQ(font.Size(), 24);
    EXPECT_TRUE(font.SetAttribute("size", "99999999", arena));
    EXPECT_EQ(font.Size(), FontElement::kMaxSize * 2);
    EXPECT_TRUE(font.SetAttribute("size", "big", arena));
    EXPECT_EQ(font.Size(), FontElement::kMaxSize * 2);
    EXPECT_TRUE(font.SetAttribute("fontname", "Tahoma", arena));
    EXPECT_TRUE(font.SetAttribute("weight", "700", arena));
    EXPECT_TRUE(font.SetAttribute("quality", "4", arena));
    EXPECT_TRUE(font.SetAttribute("shadow", "#808080", arena));
    EXPECT_TRUE(font.SetAttribute("color", "#000080", arena));
    EXPECT_TRUE(font.SetAttribute("textstyle", "center", arena));
    EXPECT_EQ(std::u16string(font.FaceName()), u"Tahoma");

    FontElement copy;
    copy.CopyFrom(font);
    EXPECT_EQ(std::u16string(copy.FaceName()), u"Tahoma");
    EXPECT_EQ(copy.Size(), font.Size());
    EXPECT_EQ(copy.Weight(), 700);
    EXPECT_EQ(copy.Quality(), 4);
    EXPECT_EQ(copy.ShadowColour(), RGB(128, 128, 128));
    EXPECT_EQ(copy.EffectiveColour(), RGB(0, 0, 128));
    EXPECT_EQ(copy.Format(), 0x25u);

    LOGFONTW logFont{};
    ASSERT_EQ(GetObjectW(copy.Font(), sizeof(logFont), &logFont), int(sizeof(logFont)));
    EXPECT_EQ(logFont.lfHeight, -copy.Size());
    EXPECT_EQ(logFont.lfWeight, 700);
    EXPECT_EQ(logFont.lfQuality, 4);
    EXPECT_EQ(std::u16string(logFont.lfFaceName), u"Tahoma");
}

// The pixels that differ from the white background, as a set of coordinates.
std::vector<std::pair<int, int>> Inked(const DrawSurface& surface) {
    std::vector<std::pair<int, int>> inked;
    for (int y = 0; y < surface.Height(); ++y)
        for (int x = 0; x < surface.Width(); ++x)
            if (surface.Pixel(x, y) != 0xFFFF)
                inked.emplace_back(x, y);
    return inked;
}

TEST_F(FontElements, TheShadowIsDrawnOnePixelUpAndLeft) {
    common::NodeArena arena;
    FontElement text;
    text.SetAttribute("color", "#000000", arena);
    text.SetAttribute("size", "14", arena);
    FontElement shadow;
    shadow.SetAttribute("shadow", "#FF0000", arena);
    shadow.SetAttribute("size", "14", arena);

    MakeSurface(60, 24, 0xFFFF);
    RECT rect{4, 4, 60, 24};
    text.DrawText(m_surface, u"Ag", -1, rect, DT_SINGLELINE);
    auto textInk = Inked(m_surface);
    ASSERT_FALSE(textInk.empty());

    MakeSurface(60, 24, 0xFFFF);
    rect = RECT{4, 4, 60, 24};
    shadow.DrawText(m_surface, u"Ag", -1, rect, DT_SINGLELINE);
    auto shadowInk = Inked(m_surface);
    ASSERT_EQ(shadowInk.size(), textInk.size());
    for (size_t i = 0; i < textInk.size(); ++i) {
        EXPECT_EQ(shadowInk[i].first, textInk[i].first - 1);
        EXPECT_EQ(shadowInk[i].second, textInk[i].second - 1);
    }
    // Shadow pixels are red shades, no black.
    for (auto [x, y] : shadowInk)
        EXPECT_EQ(m_surface.Pixel(x, y) & 0xF800, 0xF800) << x << "," << y;
}

TEST_F(FontElements, DrawingRestoresTheDcAndAddsTheElementsFormat) {
    common::NodeArena arena;
    FontElement font;
    font.SetAttribute("color", "#0000FF", arena);
    font.SetAttribute("textstyle", "right", arena);
    MakeSurface(80, 20, 0xFFFF);
    HDC dc = m_surface.Dc();
    HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
    SetTextColor(dc, RGB(1, 2, 3));
    SetBkMode(dc, OPAQUE);
    RECT rect{0, 0, 80, 20};
    font.DrawText(m_surface, u"x", 1, rect, DT_SINGLELINE);
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
    EXPECT_EQ(GetTextColor(dc), RGB(1, 2, 3));
    EXPECT_EQ(GetBkMode(dc), OPAQUE);
    // Right-aligned: the left half stays white, and the background mode was transparent.
    int inkedLeft = 0, inkedRight = 0;
    for (auto [x, y] : Inked(m_surface))
        (x < 40 ? inkedLeft : inkedRight)++;
    EXPECT_EQ(inkedLeft, 0);
    EXPECT_GT(inkedRight, 0);
}

} // namespace
