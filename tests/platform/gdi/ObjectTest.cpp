#include "GdiCanvas.h"

#include "ce/kernel.h"
#include "support/TestDevice.h"

using gditest::Canvas;
using gditest::DibInfo;
using gditest::MakeDibInfo;
using testsupport::TestDevice;

namespace {

class GdiObjects : public TestDevice {};

TEST_F(GdiObjects, SelectedObjectsAreNotDeletedUntilDeselected) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(4, 5, 6));
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    EXPECT_EQ(oldBrush, GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(oldPen, GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), brush);
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(pen));
    EXPECT_EQ(SelectObject(dc, oldBrush), brush);
    EXPECT_EQ(SelectObject(dc, oldPen), pen);
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_TRUE(DeleteObject(pen));
    EXPECT_TRUE(DeleteDC(dc));
}

TEST_F(GdiObjects, DeletingTheDcReleasesItsSelectionsAndSavedStates) {
    HDC dc = CreateCompatibleDC(nullptr);
    HBRUSH saved = CreateSolidBrush(RGB(9, 9, 9));
    SelectObject(dc, saved);
    EXPECT_EQ(SaveDC(dc), 1);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    EXPECT_FALSE(DeleteObject(saved)) << "a saved state still holds the brush";
    EXPECT_TRUE(RestoreDC(dc, -1));
    EXPECT_EQ(GetCurrentObject(dc, OBJ_BRUSH), saved);
    EXPECT_FALSE(RestoreDC(dc, -1));
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_TRUE(DeleteObject(saved));
}

TEST_F(GdiObjects, StaleAndForeignHandlesAreRejected) {
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    ASSERT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_EQ(GetObjectType(brush), 0u);
    HBRUSH reused = CreateSolidBrush(RGB(2, 2, 2));
    EXPECT_NE(reused, brush) << "a reused slot gets a new generation";
    LOGBRUSH log{};
    EXPECT_EQ(GetObjectW(brush, sizeof(log), &log), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, brush), nullptr);
    ASSERT_TRUE(DeleteDC(dc));
    EXPECT_FALSE(DeleteDC(dc));
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    EXPECT_EQ(GetObjectType(event), 0u) << "kernel handles are not GDI objects";
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(uintptr_t(8))));
    CloseHandle(event);
    DeleteObject(reused);
}

TEST_F(GdiObjects, StockObjectsSurviveDeleteAndHaveTheirColours) {
    struct Case {
        int index;
        COLORREF color;
        UINT style;
    } cases[] = {{WHITE_BRUSH, RGB(255, 255, 255), BS_SOLID}, {LTGRAY_BRUSH, RGB(192, 192, 192), BS_SOLID},
                 {GRAY_BRUSH, RGB(128, 128, 128), BS_SOLID},  {DKGRAY_BRUSH, RGB(64, 64, 64), BS_SOLID},
                 {BLACK_BRUSH, RGB(0, 0, 0), BS_SOLID},       {NULL_BRUSH, 0, BS_NULL}};
    for (const Case& c : cases) {
        HGDIOBJ brush = GetStockObject(c.index);
        EXPECT_TRUE(DeleteObject(brush));
        LOGBRUSH log{};
        ASSERT_EQ(GetObjectW(brush, sizeof(log), &log), int(sizeof(log))) << c.index;
        EXPECT_EQ(log.lbStyle, c.style);
        if (c.style == BS_SOLID) {
            EXPECT_EQ(log.lbColor, c.color) << c.index;
        }
    }
    EXPECT_EQ(GetStockObject(HOLLOW_BRUSH), GetStockObject(NULL_BRUSH));
    LOGPEN pen{};
    ASSERT_EQ(GetObjectW(GetStockObject(NULL_PEN), sizeof(pen), &pen), int(sizeof(pen)));
    EXPECT_EQ(pen.lopnStyle, UINT(PS_NULL));
    EXPECT_EQ(GetObjectType(GetStockObject(SYSTEM_FONT)), DWORD(OBJ_FONT));
    EXPECT_EQ(GetStockObject(99), nullptr);
}

TEST_F(GdiObjects, ABitmapIsSelectedIntoOneDcOnly) {
    HBITMAP bitmap = CreateCompatibleBitmap(nullptr, 8, 8);
    HDC first = CreateCompatibleDC(nullptr);
    HDC second = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(first, bitmap);
    EXPECT_NE(old, nullptr);
    EXPECT_EQ(GetObjectType(old), DWORD(OBJ_BITMAP));
    EXPECT_EQ(SelectObject(second, bitmap), nullptr);
    EXPECT_FALSE(DeleteObject(bitmap));
    SelectObject(first, old);
    EXPECT_NE(SelectObject(second, bitmap), nullptr);
    DeleteDC(second);
    EXPECT_TRUE(DeleteObject(bitmap)) << "deleting the DC released the bitmap";
    DeleteDC(first);
}

TEST_F(GdiObjects, GetObjectDescribesDibSectionsAndCompatibleBitmaps) {
    DibInfo info = MakeDibInfo(5, 3, 24);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(dib, nullptr);
    DIBSECTION section{};
    ASSERT_EQ(GetObjectW(dib, sizeof(section), &section), int(sizeof(section)));
    EXPECT_EQ(section.dsBm.bmWidth, 5);
    EXPECT_EQ(section.dsBm.bmHeight, 3);
    EXPECT_EQ(section.dsBm.bmWidthBytes, 16) << "rows are DWORD-aligned";
    EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
    EXPECT_EQ(section.dsBm.bmBits, bits);
    EXPECT_EQ(section.dsBmih.biHeight, 3);
    EXPECT_EQ(section.dsBmih.biSizeImage, 48u);
    HBITMAP compatible = CreateCompatibleBitmap(nullptr, 7, 2);
    BITMAP bm{};
    ASSERT_EQ(GetObjectW(compatible, sizeof(bm), &bm), int(sizeof(bm)));
    EXPECT_EQ(bm.bmBitsPixel, 16);
    EXPECT_EQ(bm.bmWidth, 7);
    EXPECT_EQ(bm.bmBits, nullptr);
    EXPECT_EQ(GetObjectW(dib, 0, nullptr), int(sizeof(DIBSECTION)));
    DeleteObject(dib);
    DeleteObject(compatible);
}

TEST_F(GdiObjects, HostileBitmapHeadersAreRefused) {
    struct Case {
        LONG width;
        LONG height;
        WORD bits;
        DWORD compression;
    } cases[] = {{0, 10, 16, BI_RGB},          {-5, 10, 16, BI_RGB},         {10, 0, 16, BI_RGB},
                 {100000, 100000, 32, BI_RGB}, {16384, 16384, 32, BI_RGB},   {10, INT32_MIN, 32, BI_RGB},
                 {10, 10, 7, BI_RGB},          {10, 10, 24, BI_BITFIELDS},   {10, 10, 16, 2 /* RLE4 */}};
    for (const Case& c : cases) {
        DibInfo info = MakeDibInfo(c.width, c.height, c.bits, c.compression);
        void* bits = reinterpret_cast<void*>(1);
        EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0), nullptr)
            << c.width << "x" << c.height << "x" << c.bits;
        EXPECT_EQ(bits, nullptr);
    }
    DibInfo odd = MakeDibInfo(4, 4, 16, BI_BITFIELDS);
    DWORD masks[3] = {0xF00, 0xF0, 0xF};
    std::memcpy(odd.colors, masks, sizeof(masks));
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&odd), DIB_RGB_COLORS, nullptr, nullptr, 0), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, -1, 5), nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20), nullptr);
}

TEST_F(GdiObjects, ClipRegionsCombineAndReportTheirBox) {
    Canvas canvas(40, -30, 16);
    RECT box{};
    EXPECT_EQ(GetClipBox(canvas.dc, &box), SIMPLEREGION);
    EXPECT_EQ(box.right, 40);
    EXPECT_EQ(box.bottom, 30);
    EXPECT_EQ(IntersectClipRect(canvas.dc, 5, 5, 100, 20), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(canvas.dc, 10, 10, 15, 15), COMPLEXREGION);
    GetClipBox(canvas.dc, &box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 40);
    EXPECT_EQ(box.bottom, 20);
    HRGN region = CreateRectRgn(0, 0, 3, 3);
    EXPECT_EQ(SelectClipRgn(canvas.dc, region), SIMPLEREGION);
    EXPECT_TRUE(DeleteObject(region)) << "the DC keeps a copy of the region";
    SetViewportOrgEx(canvas.dc, 10, 10, nullptr);
    GetClipBox(canvas.dc, &box);
    EXPECT_EQ(box.left, -10) << "the clip box is in logical coordinates";
    EXPECT_EQ(SelectClipRgn(canvas.dc, nullptr), SIMPLEREGION);
    HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), c = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(c, a, b, RGN_AND), SIMPLEREGION);
    GetRgnBox(c, &box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.right, 10);
    EXPECT_EQ(CombineRgn(c, a, b, RGN_XOR), COMPLEXREGION);
    EXPECT_FALSE(PtInRegion(c, 7, 7));
    EXPECT_TRUE(PtInRegion(c, 2, 2));
    EXPECT_TRUE(PtInRegion(c, 12, 12));
    DeleteObject(a);
    DeleteObject(b);
    DeleteObject(c);
}

TEST_F(GdiObjects, DeviceCapsDescribeTheScreen) {
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, BITSPIXEL), 16);
    EXPECT_EQ(GetDeviceCaps(dc, PLANES), 1);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 240);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 320);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 96);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 96);
    DeleteDC(dc);
}

TEST_F(GdiObjects, SystemColoursAcceptFlaggedAndPlainIndexes) {
    EXPECT_EQ(GetSysColor(COLOR_WINDOW), RGB(255, 255, 255));
    EXPECT_EQ(GetSysColor(COLOR_WINDOWTEXT), RGB(0, 0, 0));
    EXPECT_EQ(GetSysColor(COLOR_HIGHLIGHT), GetSysColor(COLOR_HIGHLIGHT & ~SYS_COLOR_INDEX_FLAG));
    EXPECT_EQ(GetSysColor(COLOR_3DFACE), GetSysColor(COLOR_BTNFACE));
    HBRUSH brush = GetSysColorBrush(COLOR_HIGHLIGHT);
    LOGBRUSH log{};
    ASSERT_EQ(GetObjectW(brush, sizeof(log), &log), int(sizeof(log)));
    EXPECT_EQ(log.lbColor, GetSysColor(COLOR_HIGHLIGHT));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_EQ(GetSysColorBrush(COLOR_HIGHLIGHT), brush) << "system colour brushes are never deleted";

    Canvas canvas(4, -4, 32);
    RECT all{0, 0, 4, 4};
    FillRect(canvas.dc, &all, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_HIGHLIGHT + 1)));
    EXPECT_EQ(canvas.Pixel(1, 1), GetSysColor(COLOR_HIGHLIGHT));
}

} // namespace
