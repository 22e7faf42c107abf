#include "GdiCanvas.h"

#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "gdi/PngFile.h"
#include "gdi/Raster.h"
#include "support/TestDevice.h"

#include <cstdlib>

using gditest::Canvas;
using testsupport::TestDevice;

namespace {

class GdiGolden : public TestDevice {
protected:
    static std::filesystem::path GoldenFolder() {
        return std::filesystem::path(DIALORA_FIXTURES_DIR) / "golden";
    }
    static std::shared_ptr<platform::Surface> SurfaceOf(HBITMAP bitmap) {
        auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(bitmap, platform::GdiKind::Bitmap);
        return object ? object->GetSurface() : nullptr;
    }
    // Compares with the stored PNG; DIALORA_UPDATE_GOLDEN=1 rewrites it instead.
    void ExpectMatchesGolden(const platform::Surface& surface, const char* name) {
        auto path = GoldenFolder() / name;
        if (const char* update = std::getenv("DIALORA_UPDATE_GOLDEN"); update && *update == '1') {
            ASSERT_TRUE(platform::SavePng(surface, path));
        }
        auto golden = platform::LoadPng(path);
        ASSERT_NE(golden, nullptr) << path;
        ASSERT_EQ(golden->Width(), surface.Width());
        ASSERT_EQ(golden->Height(), surface.Height());
        int differences = 0;
        for (int y = 0; y < surface.Height(); ++y)
            for (int x = 0; x < surface.Width(); ++x)
                differences += platform::GetPixelRgb(surface, x, y) != platform::GetPixelRgb(*golden, x, y);
        EXPECT_EQ(differences, 0) << name;
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
