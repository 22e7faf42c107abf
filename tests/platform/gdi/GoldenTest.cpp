#include "GdiCanvas.h"

#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/PngFile.h"
#include "gdi/Raster.h"
#include "support/GoldenImage.h"
#include "support/TestDevice.h"

#include <cstdlib>

using gditest::Canvas;
using testsupport::TestDevice;

namespace {

class GdiGolden : public TestDevice {
protected:
    static std::shared_ptr<platform::Surface> SurfaceOf(HBITMAP bitmap) {
        auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(bitmap, platform::GdiKind::Bitmap);
        return object ? object->GetSurface() : nullptr;
    }
    void ExpectMatchesGolden(const platform::Surface& surface, const char* name, int tolerance = 0,
                             int allowed = 0) {
        testsupport::ExpectMatchesGolden(surface, name, tolerance, allowed);
    }
};

TEST_F(GdiGolden, ShapesOnRgb565) {
    Canvas canvas(64, -48, 16);
    canvas.Clear(GetSysColor(COLOR_WINDOW));
    TRIVERTEX vertices[2] = {{0, 0, 0x3100, 0x6900, 0xC600, 0}, {64, 12, 0xFF00, 0xFF00, 0xFF00, 0}};
    GRADIENT_RECT mesh{0, 1};
    GradientFill(canvas.dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
    HPEN pen = CreatePen(PS_SOLID, 2, RGB(16, 72, 156));
    HBRUSH brush = CreateSolidBrush(RGB(255, 200, 0));
    HGDIOBJ oldPen = SelectObject(canvas.dc, pen);
    HGDIOBJ oldBrush = SelectObject(canvas.dc, brush);
    Ellipse(canvas.dc, 4, 14, 30, 40);
    RoundRect(canvas.dc, 34, 14, 60, 40, 10, 10);
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    POINT triangle[3] = {{10, 46}, {32, 42}, {54, 46}};
    Polygon(canvas.dc, triangle, 3);
    MoveToEx(canvas.dc, 0, 47, nullptr);
    LineTo(canvas.dc, 64, 41);
    SelectObject(canvas.dc, oldPen);
    SelectObject(canvas.dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(brush);
    ExpectMatchesGolden(*SurfaceOf(canvas.bitmap), "shapes565.png");
}

// Alignment, word break, ellipsis and clipping of text in one picture. Anti-aliased edges
// may move by a few levels between FreeType builds: 16 per channel, 1% of the pixels.
TEST_F(GdiGolden, TextLayoutOnRgb565) {
    Canvas canvas(120, -96, 16);
    canvas.Clear(RGB(255, 255, 255));
    LOGFONTW logFont{};
    logFont.lfHeight = -11;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfQuality = ANTIALIASED_QUALITY;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), logFont.lfFaceName);
    HFONT font = CreateFontIndirectW(&logFont);
    HGDIOBJ oldFont = SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, TRANSPARENT);
    SetTextColor(canvas.dc, RGB(0, 0, 0));
    struct Line {
        RECT rect;
        const char16_t* text;
        UINT format;
    };
    const Line lines[] = {
        {{2, 2, 118, 16}, u"Left", DT_LEFT | DT_SINGLELINE | DT_VCENTER},
        {{2, 2, 118, 16}, u"Centre", DT_CENTER | DT_SINGLELINE | DT_VCENTER},
        {{2, 2, 118, 16}, u"Right", DT_RIGHT | DT_SINGLELINE | DT_VCENTER},
        {{2, 18, 118, 32}, u"An ellipsis ends this long line of text", DT_SINGLELINE | DT_END_ELLIPSIS},
        {{2, 34, 70, 80}, u"Words break onto the next line", DT_WORDBREAK},
        {{74, 34, 118, 46}, u"&Prefix && more", DT_SINGLELINE},
    };
    for (const Line& line : lines) {
        RECT rect = line.rect;
        DrawTextW(canvas.dc, line.text, -1, &rect, line.format);
    }
    SetTextColor(canvas.dc, RGB(200, 0, 0));
    IntersectClipRect(canvas.dc, 74, 50, 110, 60);
    RECT clipped{74, 48, 118, 64};
    DrawTextW(canvas.dc, u"Clipped red", -1, &clipped, DT_SINGLELINE);
    SelectObject(canvas.dc, oldFont);
    DeleteObject(font);
    ExpectMatchesGolden(*SurfaceOf(canvas.bitmap), "text565.png", 16, 120 * 96 / 100);
}

TEST_F(GdiGolden, PngRoundTripKeepsEveryPixel) {
    auto surface = platform::Surface::Create(7, 3, platform::PixelLayout::Rgb32, false);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            platform::SetPixelRgb(*surface, x, y, uint32_t(x * 36) << 16 | uint32_t(y * 100) << 8 | 0x42);
    auto path = m_folder / "round.png";
    ASSERT_TRUE(platform::SavePng(*surface, path));
    auto loaded = platform::LoadPng(path);
    ASSERT_NE(loaded, nullptr);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_EQ(platform::GetPixelRgb(*loaded, x, y), platform::GetPixelRgb(*surface, x, y));
    std::filesystem::path broken = m_folder / "broken.png";
    FILE* file = fopen(broken.c_str(), "wb");
    fputs("\x89PNG\r\n\x1a\nnot really", file);
    fclose(file);
    EXPECT_EQ(platform::LoadPng(broken), nullptr);
    EXPECT_EQ(platform::LoadPng(m_folder / "missing.png"), nullptr);
}

} // namespace
