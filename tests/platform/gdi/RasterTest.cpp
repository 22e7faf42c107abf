#include "GdiCanvas.h"

#include "support/TestDevice.h"

#include <climits>

using gditest::Canvas;
using gditest::DibInfo;
using gditest::MakeDibInfo;
using testsupport::TestDevice;

namespace {

class GdiRaster : public TestDevice {};

// Colours that RGB565 stores without loss, so every format shows them exactly.
constexpr COLORREF kExact[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(132, 130, 66),
                               RGB(255, 255, 255), RGB(0, 0, 0)};

void Fill(HDC dc, RECT rect, COLORREF color) {
    HBRUSH brush = CreateSolidBrush(color);
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

TEST_F(GdiRaster, FillRectWritesTheFormatsRawPixels) {
    struct Case {
        int bits;
        int height;
        uint32_t red;
    } cases[] = {{16, -4, 0xF800}, {16, 4, 0xF800}, {24, -4, 0xFF0000}, {24, 4, 0xFF0000},
                 {32, -4, 0xFF0000}, {32, 4, 0xFF0000}};
    for (const Case& c : cases) {
        Canvas canvas(5, c.height, c.bits);
        canvas.Clear(RGB(0, 0, 0));
        Fill(canvas.dc, RECT{1, 0, 3, 1}, RGB(255, 0, 0));
        EXPECT_EQ(canvas.Raw(1, 0), c.red) << c.bits << " bits, height " << c.height;
        EXPECT_EQ(canvas.Raw(2, 0), c.red);
        EXPECT_EQ(canvas.Raw(3, 0), 0u) << "the right edge is excluded";
        EXPECT_EQ(canvas.Raw(1, 1), 0u) << "the bottom edge is excluded";
        // Row 0 of a bottom-up DIB is the last row in memory.
        const uint8_t* memoryFirst = static_cast<const uint8_t*>(canvas.pixels);
        bool firstRowRed = memoryFirst[(c.bits / 8) * 1 + (c.bits == 16 ? 1 : 2)] != 0;
        EXPECT_EQ(firstRowRed, c.height < 0) << c.bits;
    }
}

TEST_F(GdiRaster, BlitsConvertBetweenDirectFormatsBothOrientations) {
    for (int sourceBits : {16, 24, 32})
        for (int targetBits : {16, 24, 32})
            for (int sourceHeight : {-2, 2}) {
                Canvas source(6, sourceHeight, sourceBits);
                Canvas target(6, 2, targetBits);
                for (int i = 0; i < 6; ++i)
                    SetPixel(source.dc, i, 1, kExact[i]);
                ASSERT_TRUE(BitBlt(target.dc, 0, 0, 6, 2, source.dc, 0, 0, SRCCOPY));
                for (int i = 0; i < 6; ++i)
                    EXPECT_EQ(target.Pixel(i, 1), kExact[i])
                        << sourceBits << " -> " << targetBits << " height " << sourceHeight << " pixel " << i;
            }
}

TEST_F(GdiRaster, IndexedSourcesReadThroughTheirColourTable) {
    struct Case {
        int bits;
        uint8_t firstByte; // pixels 0.. of row 0
        int expectedIndex[2];
    } cases[] = {{1, 0x80, {1, 0}}, {4, 0x21, {2, 1}}, {8, 0x03, {3, 0}}};
    COLORREF palette[4] = {RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255)};
    for (const Case& c : cases) {
        DibInfo info = MakeDibInfo(8, -1, c.bits);
        for (int i = 0; i < 4; ++i)
            info.colors[i] = RGBQUAD{GetBValue(palette[i]), GetGValue(palette[i]), GetRValue(palette[i]), 0};
        if (c.bits == 1)
            info.colors[1] = RGBQUAD{0, 0, 255, 0};
        info.header.biClrUsed = c.bits == 1 ? 2 : 4;
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
        ASSERT_NE(bitmap, nullptr) << c.bits;
        static_cast<uint8_t*>(bits)[0] = c.firstByte;
        HDC source = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(source, bitmap);
        Canvas target(8, -1, 16);
        ASSERT_TRUE(BitBlt(target.dc, 0, 0, 8, 1, source, 0, 0, SRCCOPY));
        for (int i = 0; i < 2; ++i)
            EXPECT_EQ(target.Pixel(i, 0), palette[c.expectedIndex[i]]) << c.bits << " bits, pixel " << i;
        SelectObject(source, old);
        DeleteDC(source);
        DeleteObject(bitmap);
    }
}

TEST_F(GdiRaster, RasterOperationsCombineSourcePatternAndDestination) {
    const uint32_t d = 0x00F0CC, s = 0x33AA0F, p = 0x5A5A5A; // as 0xRRGGBB in a 32-bit DIB
    struct Case {
        DWORD rop;
        uint32_t expected;
    } cases[] = {{SRCCOPY, s},           {SRCPAINT, s | d},          {SRCAND, s & d},
                 {SRCINVERT, s ^ d},     {NOTSRCCOPY, ~s & 0xFFFFFF}, {PATCOPY, p},
                 {BLACKNESS, 0},         {WHITENESS, 0xFFFFFF},      {DSTINVERT, ~d & 0xFFFFFF},
                 {SRCERASE, s & ~d & 0xFFFFFF}, {MERGECOPY, s & p},  {PATINVERT, p ^ d}};
    auto colorOf = [](uint32_t rgb) { return RGB((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF); };
    for (const Case& c : cases) {
        Canvas source(2, -2, 32);
        Canvas target(2, -2, 32);
        source.Clear(colorOf(s));
        target.Clear(colorOf(d));
        HBRUSH brush = CreateSolidBrush(colorOf(p));
        HGDIOBJ old = SelectObject(target.dc, brush);
        ASSERT_TRUE(BitBlt(target.dc, 0, 0, 2, 2, source.dc, 0, 0, c.rop)) << std::hex << c.rop;
        EXPECT_EQ(target.Raw(1, 1) & 0xFFFFFF, c.expected) << std::hex << c.rop;
        SelectObject(target.dc, old);
        DeleteObject(brush);
    }
}

TEST_F(GdiRaster, DrawingStaysInsideTheClipAndTheBitmap) {
    Canvas canvas(20, -20, 16);
    canvas.Clear(RGB(0, 0, 0));
    IntersectClipRect(canvas.dc, 5, 5, 10, 10);
    HGDIOBJ old = SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
    PatBlt(canvas.dc, -100, -100, 1000, 1000, PATCOPY);
    SaveDC(canvas.dc);
    SelectClipRgn(canvas.dc, nullptr);
    EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0)), 25);
    RestoreDC(canvas.dc, -1);
    SelectObject(canvas.dc, GetStockObject(WHITE_PEN));
    MoveToEx(canvas.dc, -5, 0, nullptr);
    LineTo(canvas.dc, 30, 20);
    Ellipse(canvas.dc, -50, -50, 80, 80);
    EXPECT_EQ(canvas.Pixel(4, 4), CLR_INVALID) << "outside the clip";
    SelectClipRgn(canvas.dc, nullptr);
    EXPECT_EQ(canvas.Pixel(4, 4), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(10, 10), RGB(0, 0, 0));
    EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0)), 25);
    SelectObject(canvas.dc, old);
}

TEST_F(GdiRaster, HostileExtentsNeverWriteOutOfBounds) {
    Canvas canvas(8, -8, 24);
    Canvas source(4, 4, 32);
    canvas.Clear(RGB(0, 0, 0));
    source.Clear(RGB(255, 255, 255));
    SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
    SelectObject(canvas.dc, GetStockObject(WHITE_PEN));
    EXPECT_TRUE(PatBlt(canvas.dc, INT_MAX, INT_MAX, INT_MAX, INT_MAX, PATCOPY));
    EXPECT_TRUE(PatBlt(canvas.dc, INT_MIN, INT_MIN, INT_MAX, -5, PATCOPY));
    EXPECT_TRUE(BitBlt(canvas.dc, -3, -3, INT_MAX, INT_MAX, source.dc, INT_MIN, INT_MIN, SRCCOPY));
    EXPECT_TRUE(StretchBlt(canvas.dc, INT_MIN, 0, INT_MAX, INT_MAX, source.dc, 0, 0, INT_MIN, 3, SRCCOPY));
    EXPECT_TRUE(Rectangle(canvas.dc, INT_MIN, INT_MIN, INT_MAX, INT_MAX));
    EXPECT_TRUE(RoundRect(canvas.dc, INT_MIN, 0, INT_MAX, 4, INT_MAX, INT_MIN));
    EXPECT_TRUE(Ellipse(canvas.dc, INT_MAX, INT_MAX, INT_MIN, INT_MIN));
    MoveToEx(canvas.dc, INT_MIN, INT_MIN, nullptr);
    EXPECT_TRUE(LineTo(canvas.dc, INT_MAX, INT_MAX));
    SetViewportOrgEx(canvas.dc, INT_MAX, INT_MIN, nullptr);
    EXPECT_TRUE(PatBlt(canvas.dc, INT_MAX, INT_MIN, 10, 10, PATCOPY));
    TRIVERTEX vertices[2] = {{INT_MIN, INT_MIN, 0, 0, 0, 0}, {INT_MAX, INT_MAX, 0xFF00, 0xFF00, 0xFF00, 0}};
    GRADIENT_RECT mesh{0, 1};
    EXPECT_TRUE(GradientFill(canvas.dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    GRADIENT_RECT bad{0, 7};
    EXPECT_FALSE(GradientFill(canvas.dc, vertices, 2, &bad, 1, GRADIENT_FILL_RECT_V));
    POINT points[3] = {{INT_MIN, 0}, {INT_MAX, 0}, {0, INT_MAX}};
    EXPECT_TRUE(Polygon(canvas.dc, points, 3));
    EXPECT_FALSE(Polygon(canvas.dc, points, -1));
}

TEST_F(GdiRaster, OverlappingBlitOnOneSurfaceReadsThePixelsBeforeTheBlit) {
    Canvas canvas(6, -1, 16);
    for (int x = 0; x < 6; ++x)
        SetPixel(canvas.dc, x, 0, kExact[x]);
    ASSERT_TRUE(BitBlt(canvas.dc, 1, 0, 5, 1, canvas.dc, 0, 0, SRCCOPY));
    for (int x = 1; x < 6; ++x)
        EXPECT_EQ(canvas.Pixel(x, 0), kExact[x - 1]) << x;
}

TEST_F(GdiRaster, StretchBltScalesAndMirrors) {
    Canvas source(2, -1, 32);
    SetPixel(source.dc, 0, 0, RGB(255, 0, 0));
    SetPixel(source.dc, 1, 0, RGB(0, 0, 255));
    Canvas target(4, -1, 16);
    ASSERT_TRUE(StretchBlt(target.dc, 0, 0, 4, 1, source.dc, 0, 0, 2, 1, SRCCOPY));
    COLORREF scaled[4] = {RGB(255, 0, 0), RGB(255, 0, 0), RGB(0, 0, 255), RGB(0, 0, 255)};
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(target.Pixel(x, 0), scaled[x]) << x;
    ASSERT_TRUE(StretchBlt(target.dc, 4, 0, -4, 1, source.dc, 0, 0, 2, 1, SRCCOPY));
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(target.Pixel(x, 0), scaled[3 - x]) << "mirrored " << x;
}

TEST_F(GdiRaster, TransparentBltSkipsTheColourKey) {
    Canvas source(3, -1, 16);
    SetPixel(source.dc, 0, 0, RGB(255, 0, 255));
    SetPixel(source.dc, 1, 0, RGB(0, 255, 0));
    SetPixel(source.dc, 2, 0, RGB(255, 0, 255));
    Canvas target(3, -1, 32);
    target.Clear(RGB(0, 0, 255));
    ASSERT_TRUE(TransparentBlt(target.dc, 0, 0, 3, 1, source.dc, 0, 0, 3, 1, RGB(255, 0, 255)));
    EXPECT_EQ(target.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(1, 0), RGB(0, 255, 0));
    EXPECT_EQ(target.Pixel(2, 0), RGB(0, 0, 255));
    // TransparentImage also takes the bitmap itself.
    target.Clear(RGB(0, 0, 0));
    ASSERT_TRUE(TransparentImage(target.dc, 0, 0, 3, 1, source.bitmap, 0, 0, 3, 1, RGB(0, 255, 0)));
    EXPECT_EQ(target.Pixel(0, 0), RGB(255, 0, 255));
    EXPECT_EQ(target.Pixel(1, 0), RGB(0, 0, 0));
}

TEST_F(GdiRaster, GradientFillRunsFromTheFirstToTheSecondVertex) {
    Canvas canvas(256, -4, 32);
    TRIVERTEX vertices[2] = {{0, 0, 0x0000, 0x0000, 0xFF00, 0}, {256, 4, 0xFF00, 0x0000, 0x0000, 0}};
    GRADIENT_RECT mesh{0, 1};
    ASSERT_TRUE(GradientFill(canvas.dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_H));
    EXPECT_EQ(canvas.Pixel(0, 2), RGB(0, 0, 255));
    COLORREF last = canvas.Pixel(255, 2);
    EXPECT_GE(GetRValue(last), 253);
    EXPECT_LE(GetBValue(last), 2);
    EXPECT_EQ(canvas.Pixel(128, 0), canvas.Pixel(128, 3));
    Canvas vertical(2, -100, 16);
    TRIVERTEX down[2] = {{0, 0, 0xFF00, 0xFF00, 0xFF00, 0}, {2, 100, 0, 0, 0, 0}};
    ASSERT_TRUE(GradientFill(vertical.dc, down, 2, &mesh, 1, GRADIENT_FILL_RECT_V));
    EXPECT_EQ(vertical.Pixel(1, 0), RGB(255, 255, 255));
    EXPECT_LT(GetGValue(vertical.Pixel(1, 99)), 8);
    EXPECT_GT(GetGValue(vertical.Pixel(0, 30)), GetGValue(vertical.Pixel(0, 60)));
}

TEST_F(GdiRaster, AlphaBlendMixesWithConstantAndPerPixelAlpha) {
    Canvas source(2, -1, 32);
    Canvas target(2, -1, 32);
    source.Clear(RGB(255, 255, 255));
    target.Clear(RGB(0, 0, 0));
    ASSERT_TRUE(AlphaBlend(target.dc, 0, 0, 2, 1, source.dc, 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 128, 0}));
    EXPECT_EQ(GetRValue(target.Pixel(0, 0)), 128);
    // Premultiplied pixels: a fully transparent one leaves the destination as it is.
    auto* pixels = static_cast<uint32_t*>(source.pixels);
    pixels[0] = 0x00000000;
    pixels[1] = 0xFF00FF00;
    target.Clear(RGB(0, 0, 255));
    ASSERT_TRUE(AlphaBlend(target.dc, 0, 0, 2, 1, source.dc, 0, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA}));
    EXPECT_EQ(target.Pixel(0, 0), RGB(0, 0, 255));
    EXPECT_EQ(target.Pixel(1, 0), RGB(0, 255, 0));
    EXPECT_FALSE(AlphaBlend(target.dc, 0, 0, 2, 1, source.dc, 1, 0, 2, 1, BLENDFUNCTION{AC_SRC_OVER, 0, 255, 0}))
        << "the source rectangle must lie inside the source";
}

TEST_F(GdiRaster, ShapesUseThePenForTheEdgeAndTheBrushInside) {
    Canvas canvas(12, -12, 16);
    canvas.Clear(RGB(0, 0, 0));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
    SelectObject(canvas.dc, pen);
    SelectObject(canvas.dc, brush);
    Rectangle(canvas.dc, 1, 1, 6, 6);
    EXPECT_EQ(canvas.Pixel(1, 1), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(5, 5), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(6, 6), RGB(0, 0, 0)) << "right and bottom are excluded";
    EXPECT_EQ(canvas.Pixel(3, 3), RGB(0, 255, 0));
    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    canvas.Clear(RGB(0, 0, 0));
    Rectangle(canvas.dc, 1, 1, 6, 6);
    EXPECT_EQ(canvas.CountNot(RGB(0, 0, 0)), 16) << "without a pen the box is one pixel smaller";
    canvas.Clear(RGB(0, 0, 0));
    SelectObject(canvas.dc, pen);
    Ellipse(canvas.dc, 0, 0, 12, 12);
    EXPECT_EQ(canvas.Pixel(0, 0), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(6, 6), RGB(0, 255, 0));
    EXPECT_EQ(canvas.Pixel(0, 6), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(6, 0), RGB(255, 0, 0));
    EXPECT_EQ(canvas.Pixel(11, 5), RGB(255, 0, 0));
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(canvas.Pixel(x, y), canvas.Pixel(11 - x, 11 - y)) << "symmetric at " << x << "," << y;
    SelectObject(canvas.dc, GetStockObject(BLACK_PEN));
    SelectObject(canvas.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST_F(GdiRaster, LinesExcludeTheirEndPointAndFollowTheDashPattern) {
    Canvas canvas(40, -3, 32);
    canvas.Clear(RGB(0, 0, 0));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(canvas.dc, pen);
    MoveToEx(canvas.dc, 0, 0, nullptr);
    LineTo(canvas.dc, 10, 0);
    EXPECT_EQ(canvas.Pixel(9, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(10, 0), RGB(0, 0, 0));
    POINT position{};
    MoveToEx(canvas.dc, 0, 0, &position);
    EXPECT_EQ(position.x, 10);
    HPEN dash = CreatePen(PS_DASH, 1, RGB(255, 255, 255));
    SelectObject(canvas.dc, dash);
    SetBkMode(canvas.dc, TRANSPARENT);
    MoveToEx(canvas.dc, 0, 2, nullptr);
    LineTo(canvas.dc, 40, 2);
    EXPECT_EQ(canvas.Pixel(17, 2), RGB(255, 255, 255));
    EXPECT_EQ(canvas.Pixel(18, 2), RGB(0, 0, 0));
    EXPECT_EQ(canvas.Pixel(24, 2), RGB(255, 255, 255));
    SelectObject(canvas.dc, old);
    DeleteObject(pen);
    DeleteObject(dash);
}

} // namespace

#include "gdi/Gdi.h"
#include "gdi/Raster.h"

namespace {

// A DC on a shared surface, as the window manager makes for a child window: the origin
// moves drawing, the visible region limits it, and bitmaps cannot be selected into it.
TEST_F(GdiRaster, SurfaceDcsDrawAtTheirOriginInsideTheirVisibleRegion) {
    auto surface = platform::Surface::Create(20, 20, platform::PixelLayout::Rgb565, true);
    platform::Region visible(RECT{5, 5, 15, 15});
    visible.Subtract(RECT{5, 5, 8, 8});
    HDC dc = platform::CreateSurfaceDc(surface, visible, POINT{5, 5});
    ASSERT_NE(dc, nullptr);
    SelectObject(dc, GetStockObject(WHITE_BRUSH));
    PatBlt(dc, 0, 0, 100, 100, PATCOPY);
    int lit = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            lit += platform::GetPixelRgb(*surface, x, y) != 0;
    EXPECT_EQ(lit, 100 - 9);
    EXPECT_EQ(platform::GetPixelRgb(*surface, 8, 8), 0xFFFFFFu);
    EXPECT_EQ(GetPixel(dc, 3, 3), RGB(255, 255, 255)) << "logical (3,3) is surface (8,8)";
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 4, 4);
    EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
    DeleteObject(bitmap);
}

} // namespace
