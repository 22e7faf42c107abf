#include "GdiCanvas.h"

#include "gdi/FontFace.h"
#include "gdi/TextLayout.h"
#include "kernel/Trace.h"
#include "support/TestDevice.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>

using gditest::Canvas;
using platform::TextLayout;
using platform::TextLine;
using testsupport::TestDevice;

namespace {

class GdiText : public TestDevice {
protected:
    HFONT MakeFont(LONG height, LONG weight = FW_NORMAL, const char16_t* face = u"Tahoma",
                   BYTE quality = ANTIALIASED_QUALITY) {
        LOGFONTW log{};
        log.lfHeight = height;
        log.lfWeight = weight;
        log.lfQuality = quality;
        std::memcpy(log.lfFaceName, face, (std::char_traits<char16_t>::length(face) + 1) * sizeof(char16_t));
        return CreateFontIndirectW(&log);
    }
    SIZE Extent(HDC dc, const char16_t* text) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text, int(std::char_traits<char16_t>::length(text)), &size);
        return size;
    }
};

TEST_F(GdiText, ExtentGrowsWithTheStringAndTheFontSize) {
    Canvas canvas(10, 10, 16);
    HFONT small = MakeFont(-12), large = MakeFont(-24);
    HGDIOBJ old = SelectObject(canvas.dc, small);
    SIZE a = Extent(canvas.dc, u"Call"), ab = Extent(canvas.dc, u"Call back");
    EXPECT_GT(a.cx, 0);
    EXPECT_GT(ab.cx, a.cx);
    EXPECT_EQ(a.cy, ab.cy);
    SelectObject(canvas.dc, large);
    SIZE big = Extent(canvas.dc, u"Call");
    EXPECT_GT(big.cx, a.cx * 3 / 2);
    EXPECT_GT(big.cy, a.cy * 3 / 2);
    TEXTMETRICW metrics{};
    ASSERT_TRUE(GetTextMetricsW(canvas.dc, &metrics));
    EXPECT_EQ(metrics.tmHeight, metrics.tmAscent + metrics.tmDescent);
    EXPECT_EQ(metrics.tmHeight, big.cy);
    EXPECT_EQ(metrics.tmHeight - metrics.tmInternalLeading, 24) << "a negative height is the character height";
    SelectObject(canvas.dc, old);
    DeleteObject(small);
    DeleteObject(large);
}

TEST_F(GdiText, PositiveHeightIsTheCellHeightAndFacesMapToFamilies) {
    Canvas canvas(10, 10, 16);
    HFONT cell = MakeFont(20);
    SelectObject(canvas.dc, cell);
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas.dc, &metrics);
    EXPECT_NEAR(metrics.tmHeight, 20, 1);
    HFONT mono = MakeFont(-12, FW_NORMAL, u"Courier New");
    SelectObject(canvas.dc, mono);
    EXPECT_EQ(Extent(canvas.dc, u"iiii").cx, Extent(canvas.dc, u"WWWW").cx) << "Courier New is monospaced";
    HFONT bold = MakeFont(-12, FW_BOLD);
    HFONT regular = MakeFont(-12, FW_NORMAL);
    SelectObject(canvas.dc, regular);
    LONG regularWidth = Extent(canvas.dc, u"Message").cx;
    SelectObject(canvas.dc, bold);
    EXPECT_GT(Extent(canvas.dc, u"Message").cx, regularWidth);
    WCHAR face[LF_FACESIZE];
    GetTextFaceW(canvas.dc, LF_FACESIZE, face);
    EXPECT_EQ(std::u16string(face), u"Tahoma");
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    for (HFONT font : {cell, mono, bold, regular})
        EXPECT_TRUE(DeleteObject(font));
}

TEST_F(GdiText, SurrogatePairsMeasureAsOneCharacter) {
    Canvas canvas(10, 10, 16);
    const char16_t pair[] = {0xD83D, 0xDE00, 0};
    const char16_t lone[] = {0xD83D, 0};
    int fit = -1;
    int dx[2] = {0, 0};
    SIZE size{};
    ASSERT_TRUE(GetTextExtentExPointW(canvas.dc, pair, 2, 1000, &fit, dx, &size));
    EXPECT_EQ(fit, 2);
    EXPECT_EQ(dx[0], dx[1]) << "the second unit adds no width";
    EXPECT_TRUE(GetTextExtentPoint32W(canvas.dc, lone, 1, &size)) << "a lone surrogate is measured, not refused";
}

TEST_F(GdiText, AntiAliasedGlyphsBlendBetweenTextAndBackground) {
    for (int bits : {16, 24, 32}) {
        Canvas canvas(60, -30, bits);
        canvas.Clear(RGB(0, 0, 255));
        HFONT font = MakeFont(-20);
        HGDIOBJ old = SelectObject(canvas.dc, font);
        SetTextColor(canvas.dc, RGB(255, 255, 0));
        SetBkMode(canvas.dc, TRANSPARENT);
        ASSERT_TRUE(ExtTextOutW(canvas.dc, 2, 2, 0, nullptr, u"Ro", 2, nullptr));
        int full = 0, partial = 0, other = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 60; ++x) {
                COLORREF c = canvas.Pixel(x, y);
                int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
                if (c == RGB(255, 255, 0))
                    ++full;
                else if (c != RGB(0, 0, 255) && std::abs(r - g) <= 8 && std::abs((r + b) - 255) <= 12)
                    ++partial;
                else if (c != RGB(0, 0, 255))
                    ++other;
            }
        EXPECT_GT(full, 10) << bits;
        EXPECT_GT(partial, 5) << bits << ": anti-aliased edges lie between the two colours";
        EXPECT_EQ(other, 0) << bits;
        SelectObject(canvas.dc, old);
        DeleteObject(font);
    }
}

TEST_F(GdiText, OpaqueModeFillsTheCellAndMonochromeFontsHaveNoMixedPixels) {
    Canvas canvas(80, -30, 16);
    canvas.Clear(RGB(0, 0, 0));
    HFONT font = MakeFont(-16, FW_NORMAL, u"Tahoma", NONANTIALIASED_QUALITY);
    SelectObject(canvas.dc, font);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkColor(canvas.dc, RGB(255, 0, 0));
    SetBkMode(canvas.dc, OPAQUE);
    ExtTextOutW(canvas.dc, 0, 0, 0, nullptr, u"Hi", 2, nullptr);
    SIZE size = Extent(canvas.dc, u"Hi");
    int text = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 80; ++x) {
            COLORREF c = canvas.Pixel(x, y);
            bool inCell = x < size.cx && y < size.cy;
            if (!inCell)
                EXPECT_EQ(c, RGB(0, 0, 0)) << x << "," << y;
            else
                EXPECT_TRUE(c == RGB(255, 0, 0) || c == RGB(255, 255, 255)) << x << "," << y;
            text += c == RGB(255, 255, 255);
        }
    EXPECT_GT(text, 10);
    SelectObject(canvas.dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
}

TEST_F(GdiText, ExtTextOutClipsToItsRectangle) {
    Canvas canvas(80, -30, 32);
    canvas.Clear(RGB(0, 0, 0));
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SetBkMode(canvas.dc, TRANSPARENT);
    RECT clip{0, 0, 5, 30};
    ExtTextOutW(canvas.dc, 0, 0, ETO_CLIPPED, &clip, u"WWWW", 4, nullptr);
    for (int y = 0; y < 30; ++y)
        for (int x = 5; x < 80; ++x)
            ASSERT_EQ(canvas.Pixel(x, y), RGB(0, 0, 0)) << x << "," << y;
    RECT opaque{10, 10, 20, 20};
    SetBkColor(canvas.dc, RGB(0, 255, 0));
    ExtTextOutW(canvas.dc, 0, 0, ETO_OPAQUE, &opaque, nullptr, 0, nullptr);
    EXPECT_EQ(canvas.Pixel(15, 15), RGB(0, 255, 0));
}

TEST_F(GdiText, DrawTextAlignsInsideTheRectangle) {
    Canvas canvas(200, -60, 16);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    SIZE size = Extent(canvas.dc, u"Home");
    struct Case {
        UINT format;
        LONG left;
        LONG top;
    } cases[] = {{DT_LEFT | DT_TOP | DT_SINGLELINE, 0, 0},
                 {DT_CENTER | DT_VCENTER | DT_SINGLELINE, (200 - size.cx) / 2, (60 - size.cy) / 2},
                 {DT_RIGHT | DT_BOTTOM | DT_SINGLELINE, 200 - size.cx, 60 - size.cy}};
    for (const Case& c : cases) {
        canvas.Clear(RGB(0, 0, 0));
        RECT rect{0, 0, 200, 60};
        int height = DrawTextW(canvas.dc, u"Home", -1, &rect, c.format);
        EXPECT_EQ(height, c.top + size.cy) << "returns the offset of the text's bottom";
        int minX = 1000, maxX = -1, minY = 1000, maxY = -1;
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 200; ++x)
                if (canvas.Pixel(x, y) != RGB(0, 0, 0)) {
                    minX = std::min(minX, x), maxX = std::max(maxX, x);
                    minY = std::min(minY, y), maxY = std::max(maxY, y);
                }
        EXPECT_GE(minX, c.left) << c.format;
        EXPECT_LE(minX, c.left + 3) << c.format;
        EXPECT_LT(maxX, c.left + size.cx) << c.format;
        EXPECT_GE(minY, c.top) << c.format;
        EXPECT_LT(maxY, c.top + size.cy) << c.format;
    }
}

TEST_F(GdiText, DrawTextCalcRectMeasuresWrappedText) {
    Canvas canvas(10, 10, 16);
    SIZE line = Extent(canvas.dc, u"x");
    RECT rect{10, 20, 10 + Extent(canvas.dc, u"Missed calls").cx, 20};
    int height = DrawTextW(canvas.dc, u"Missed calls today", -1, &rect, DT_CALCRECT | DT_WORDBREAK);
    EXPECT_EQ(height, 2 * line.cy);
    EXPECT_EQ(rect.bottom, 20 + 2 * line.cy);
    EXPECT_EQ(rect.right, 10 + Extent(canvas.dc, u"Missed calls").cx);
    RECT single{0, 0, 1, 0};
    EXPECT_EQ(DrawTextW(canvas.dc, u"A\nB", -1, &single, DT_CALCRECT), 2 * line.cy);
    RECT empty{5, 5, 50, 50};
    EXPECT_EQ(DrawTextW(canvas.dc, u"", -1, &empty, DT_CALCRECT | DT_SINGLELINE), line.cy);
    EXPECT_EQ(empty.right, 5);
    RECT prefixed{0, 0, 0, 0};
    DrawTextW(canvas.dc, u"&Call", -1, &prefixed, DT_CALCRECT | DT_SINGLELINE);
    EXPECT_EQ(prefixed.right, Extent(canvas.dc, u"Call").cx) << "the prefix sign takes no room";
    RECT literal{0, 0, 0, 0};
    DrawTextW(canvas.dc, u"&Call", -1, &literal, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    EXPECT_EQ(literal.right, Extent(canvas.dc, u"&Call").cx);
    RECT tabs{0, 0, 0, 0};
    DrawTextW(canvas.dc, u"a\tb", -1, &tabs, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas.dc, &metrics);
    EXPECT_EQ(tabs.right, 8 * metrics.tmAveCharWidth + Extent(canvas.dc, u"b").cx);
}

TEST_F(GdiText, PrefixUnderlinesTheMarkedCharacter) {
    Canvas canvas(100, -30, 16);
    canvas.Clear(RGB(0, 0, 0));
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    RECT rect{0, 0, 100, 30};
    DrawTextW(canvas.dc, u"a&bc", -1, &rect, DT_SINGLELINE);
    TEXTMETRICW metrics{};
    GetTextMetricsW(canvas.dc, &metrics);
    int underline = metrics.tmAscent + 1;
    LONG start = Extent(canvas.dc, u"a").cx, end = Extent(canvas.dc, u"ab").cx;
    EXPECT_EQ(canvas.Pixel(start, underline), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(end - 1, underline), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(end + 1, underline), RGB(0, 0, 0)) << "only the marked character";
}

// How far the ink of "l" in the top third lies right of the ink in the bottom third, in
// tenths of a pixel: about 0 for upright text, several pixels for italic at 40 pixels.
int LeanOfL(bool italic) {
    Canvas canvas(40, -60, 16);
    canvas.Clear(RGB(0, 0, 0));
    LOGFONTW log{};
    log.lfHeight = -40;
    log.lfWeight = FW_NORMAL;
    log.lfItalic = italic ? TRUE : FALSE;
    HFONT font = CreateFontIndirectW(&log);
    HGDIOBJ old = SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    ExtTextOutW(canvas.dc, 10, 5, 0, nullptr, u"l", 1, nullptr);
    SelectObject(canvas.dc, old);
    DeleteObject(font);
    int top = -1, bottom = -1;
    for (int y = 0; y < 60; ++y)
        for (int x = 0; x < 40; ++x)
            if (canvas.Pixel(x, y) != RGB(0, 0, 0)) {
                top = top < 0 ? y : top;
                bottom = y;
            }
    if (top < 0)
        return -1000;
    auto centre = [&](int from, int to) {
        long sum = 0, count = 0;
        for (int y = from; y < to; ++y)
            for (int x = 0; x < 40; ++x)
                if (canvas.Pixel(x, y) != RGB(0, 0, 0))
                    sum += x, ++count;
        return count ? int(sum * 10 / count) : 0;
    };
    int third = (bottom - top + 1) / 3;
    return centre(top, top + third) - centre(bottom + 1 - third, bottom + 1);
}

TEST_F(GdiText, ItalicFontsLeanRightAndUprightOnesDoNot) {
    EXPECT_LE(std::abs(LeanOfL(false)), 5);
    EXPECT_GE(LeanOfL(true), 30);
    LOGFONTW log{};
    log.lfHeight = -12;
    log.lfItalic = TRUE;
    platform::FontFace* face = platform::FontFace::Resolve(log);
    ASSERT_NE(face, nullptr);
    EXPECT_EQ(face->FileName(), "DejaVuSans-Oblique.ttf");
    EXPECT_FALSE(face->IsSlanted());
}

TEST_F(GdiText, WithoutTheObliqueFileItalicIsSlantedFromTheRegularOneAndTraced) {
    std::filesystem::path folder = std::filesystem::temp_directory_path() / ("dialora-fonts-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder);
    std::filesystem::copy_file(platform::FontFace::FontFolder() + "/DejaVuSans.ttf", folder / "DejaVuSans.ttf",
                               std::filesystem::copy_options::overwrite_existing);
    setenv("DIALORA_FONT_DIR", folder.c_str(), 1);
    platform::EnableTrace(true);
    testing::internal::CaptureStderr();
    int lean = LeanOfL(true);
    std::string trace = testing::internal::GetCapturedStderr();
    platform::EnableTrace(false);
    EXPECT_GE(lean, 30);
    EXPECT_LE(std::abs(LeanOfL(false)), 5);
    unsetenv("DIALORA_FONT_DIR");
    std::filesystem::remove_all(folder);
    EXPECT_NE(trace.find("DejaVuSans-Oblique.ttf: using "), std::string::npos) << trace;
    EXPECT_NE(trace.find("DejaVuSans.ttf slanted"), std::string::npos) << trace;
}

// Layout rules on a fixed-width measure: every character is 10 pixels wide.
int TenEach(std::u16string_view text) { return int(text.size()) * 10; }

TEST(GdiTextLayout, WrapsAtSpacesAndKeepsLongWordsWhole) {
    struct Case {
        const char16_t* text;
        int width;
        std::vector<std::u16string> lines;
    } cases[] = {
        {u"call me back", 70, {u"call me", u"back"}},
        {u"call me back", 40, {u"call", u"me", u"back"}},
        {u"unbreakable word", 50, {u"unbreakable", u"word"}},
        {u"one\r\ntwo three", 1000, {u"one", u"two three"}},
        {u"trailing   spaces go", 110, {u"trailing", u"spaces go"}},
        {u"", 100, {u""}},
    };
    for (const Case& c : cases) {
        auto lines = TextLayout::Lines(c.text, DT_WORDBREAK, c.width, TenEach);
        std::vector<std::u16string> texts;
        for (const TextLine& line : lines)
            texts.push_back(line.text);
        EXPECT_EQ(texts, c.lines) << c.width;
    }
}

TEST(GdiTextLayout, EndEllipsisCutsUntilTheDotsFit) {
    auto lines = TextLayout::Lines(u"Voicemail", DT_SINGLELINE | DT_END_ELLIPSIS, 60, TenEach);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, u"Voi...");
    EXPECT_EQ(lines[0].width, 60);
    auto fits = TextLayout::Lines(u"Voice", DT_SINGLELINE | DT_END_ELLIPSIS, 60, TenEach);
    EXPECT_EQ(fits[0].text, u"Voice");
    const char16_t pair[] = {u'a', 0xD83D, 0xDE00, u'b', u'c', 0};
    auto cut = TextLayout::Lines(pair, DT_SINGLELINE | DT_END_ELLIPSIS, 45, TenEach);
    EXPECT_EQ(cut[0].text, u"a...") << "a surrogate pair is removed whole";
}

TEST(GdiTextLayout, PrefixesMarkOneCharacterAndDoubleAmpersandsAreLiteral) {
    struct Case {
        const char16_t* text;
        UINT format;
        const char16_t* shown;
        int prefix;
    } cases[] = {{u"&Call", DT_SINGLELINE, u"Call", 0},
                 {u"Sa&ve", DT_SINGLELINE, u"Save", 2},
                 {u"Tom && Jerry", DT_SINGLELINE, u"Tom & Jerry", -1},
                 {u"&Call", DT_SINGLELINE | DT_NOPREFIX, u"&Call", -1},
                 {u"end&", DT_SINGLELINE, u"end", -1}};
    for (const Case& c : cases) {
        auto lines = TextLayout::Lines(c.text, c.format, 1000, TenEach);
        ASSERT_EQ(lines.size(), 1u);
        EXPECT_EQ(lines[0].text, c.shown);
        EXPECT_EQ(lines[0].prefix, c.prefix);
    }
}

} // namespace
