#include "SkinDrawing.h"

#include "corlist/image/ImageLoader.h"
#include "corlist/skin/SkinMetrics.h"
#include "gdi/BitmapObject.h"
#include "gdi/GdiObjectTable.h"
#include "support/GoldenImage.h"

#include <cstring>
#include <filesystem>

using corlist::Image;

namespace skintest {

namespace {

std::unique_ptr<Image> NewImage(int width, int height, int bits, const void* table, int entries) {
    auto image = std::make_unique<Image>();
    EXPECT_EQ(corlist::CreateBitmap(&image->Bitmap(), width, -height, bits, table, entries), corlist::kImageOk);
    return image;
}

} // namespace

FakeSkin::~FakeSkin() = default;

corlist::SkinImageSlot* FakeSkin::AcquireImage(LPCWSTR name, bool, bool) {
    ++acquires;
    auto it = m_entries.find(name);
    if (it == m_entries.end())
        return nullptr;
    Entry& entry = it->second;
    ++entry.slot.useCount;
    return entry.slot.failed ? nullptr : &entry.slot;
}

void FakeSkin::ReleaseImage(Image* image) {
    ++releases;
    for (auto& [name, entry] : m_entries) {
        if (entry.slot.image == image)
            --entry.slot.useCount;
    }
}

void FakeSkin::Add(const std::u16string& name, std::unique_ptr<Image> image) {
    Entry& entry = m_entries[name];
    entry.image = std::move(image);
    entry.slot.image = entry.image.get();
    entry.slot.failed = !entry.image;
}

std::unique_ptr<Image> IndexedImage(int width, int height, std::initializer_list<COLORREF> palette,
                                    const std::vector<uint8_t>& pixels) {
    std::vector<RGBQUAD> table;
    for (COLORREF c : palette)
        table.push_back(RGBQUAD{BYTE(c >> 16), BYTE(c >> 8), BYTE(c), 0});
    auto image = NewImage(width, height, 8, table.data(), int(table.size()));
    image->Bitmap().header.biClrUsed = DWORD(table.size());
    corlist::ConvertColourTableToRgb565(image->Bitmap());
    for (int y = 0; y < height; ++y)
        std::memcpy(image->Bitmap().Row(y), &pixels[size_t(y) * width], size_t(width));
    return image;
}

std::unique_ptr<Image> AlphaImage(int width, int height, const std::vector<uint8_t>& levels) {
    auto image = NewImage(width, height, 8, nullptr, 0);
    corlist::ConvertColourTableToRgb565(image->Bitmap());
    for (int y = 0; y < height; ++y)
        std::memcpy(image->Bitmap().Row(y), &levels[size_t(y) * width], size_t(width));
    return image;
}

std::unique_ptr<Image> Rgb565Image(int width, int height, const std::vector<uint16_t>& pixels) {
    const DWORD masks[3] = {0xF800, 0x07E0, 0x001F};
    auto image = NewImage(width, height, 16, masks, 3);
    for (int y = 0; y < height; ++y)
        std::memcpy(image->Bitmap().Row(y), &pixels[size_t(y) * width], size_t(width) * 2);
    return image;
}

std::unique_ptr<Image> Bgr24Image(int width, int height, const std::vector<COLORREF>& pixels) {
    auto image = NewImage(width, height, 24, nullptr, 0);
    for (int y = 0; y < height; ++y) {
        BYTE* row = image->Bitmap().Row(y);
        for (int x = 0; x < width; ++x) {
            COLORREF c = pixels[size_t(y) * width + x];
            row[3 * x] = BYTE(c >> 16), row[3 * x + 1] = BYTE(c >> 8), row[3 * x + 2] = BYTE(c);
        }
    }
    return image;
}

std::unique_ptr<Image> UniformImage(int width, int height, int bits, uint32_t value) {
    size_t count = size_t(width) * height;
    if (bits == 8)
        return IndexedImage(width, height, {RGB(0, 0, 0), COLORREF(value)}, std::vector<uint8_t>(count, 1));
    if (bits == 16)
        return Rgb565Image(width, height, std::vector<uint16_t>(count, uint16_t(value)));
    return Bgr24Image(width, height, std::vector<COLORREF>(count, COLORREF(value)));
}

void SkinDrawingTest::SetUp() {
    TestDevice::SetUp();
    corlist::SetCoordinateScale(1);
}

void SkinDrawingTest::TearDown() {
    m_surface.Destroy();
    TestDevice::TearDown();
}

void SkinDrawingTest::MakeSurface(int width, int height, uint16_t fill) {
    ASSERT_TRUE(m_surface.Create(width, height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            m_surface.Row(y)[x] = fill;
}

std::vector<uint16_t> SkinDrawingTest::RowOf(int y) const {
    return std::vector<uint16_t>(m_surface.Row(y), m_surface.Row(y) + m_surface.Width());
}

void SkinDrawingTest::ExpectMatchesGolden(const char* name, int tolerance, int allowed) {
    auto object = platform::GdiObjectTable::Instance().LookupAs<platform::BitmapObject>(
        m_surface.Bitmap(), platform::GdiKind::Bitmap);
    ASSERT_NE(object, nullptr);
    testsupport::ExpectMatchesGolden(*object->GetSurface(), name, tolerance, allowed);
}

} // namespace skintest
