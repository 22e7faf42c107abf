// Memory sections and DIB sections placed in them.
#include "GdiCanvas.h"

#include "ce/kernel.h"
#include "ce/memory.h"
#include "support/TestDevice.h"

using gditest::DibInfo;
using gditest::MakeDibInfo;
using testsupport::TestDevice;

namespace {

class MemorySection : public TestDevice {};

TEST_F(MemorySection, ViewsShareTheZeroedMemoryAndOnlyMemorySectionsAreMade) {
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 8192, nullptr);
    ASSERT_NE(mapping, nullptr);
    auto* whole = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0));
    auto* tail = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 4096, 4096));
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(tail, nullptr);
    EXPECT_EQ(whole[8191], 0);
    tail[10] = 0x5A;
    EXPECT_EQ(whole[4096 + 10], 0x5A);
    // Views outside the section are refused.
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 4096, 4097), nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 8192, 0), nullptr);
    EXPECT_EQ(MapViewOfFile(mapping, FILE_MAP_WRITE, 1, 0, 1), nullptr);
    // The views keep the memory after the handle is closed.
    ASSERT_TRUE(CloseHandle(mapping));
    EXPECT_EQ(whole[4096 + 10], 0x5A);
    EXPECT_TRUE(UnmapViewOfFile(tail));
    EXPECT_TRUE(UnmapViewOfFile(whole));
    EXPECT_FALSE(UnmapViewOfFile(whole));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_ADDRESS));

    const struct {
        HANDLE file;
        DWORD protect, high, low;
        const WCHAR* name;
        DWORD error;
    } refused[] = {
        {nullptr, PAGE_READWRITE, 0, 16, nullptr, ERROR_NOT_SUPPORTED},
        {INVALID_HANDLE_VALUE, PAGE_READWRITE, 0, 16, u"Shared", ERROR_NOT_SUPPORTED},
        {INVALID_HANDLE_VALUE, PAGE_READONLY, 0, 16, nullptr, ERROR_INVALID_PARAMETER},
        {INVALID_HANDLE_VALUE, PAGE_READWRITE, 0, 0, nullptr, ERROR_INVALID_PARAMETER},
        {INVALID_HANDLE_VALUE, PAGE_READWRITE, 1, 0, nullptr, ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : refused) {
        EXPECT_EQ(CreateFileMappingW(c.file, nullptr, c.protect, c.high, c.low, c.name), nullptr) << c.low;
        EXPECT_EQ(GetLastError(), c.error) << c.low;
    }
}

TEST_F(MemorySection, ADibSectionInAMemorySectionDrawsIntoItsBytes) {
    // 10 x 4 at 16 bits: 20-byte rows, 80 bytes, placed 16 bytes in.
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 96, nullptr);
    ASSERT_NE(mapping, nullptr);
    DibInfo info = MakeDibInfo(10, -4, 16, BI_BITFIELDS);
    auto* view = static_cast<uint8_t*>(MapViewOfFile(mapping, FILE_MAP_WRITE, 0, 0, 0));
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, mapping, 16);
    ASSERT_NE(section, nullptr);
    EXPECT_EQ(bits, view + 16);
    ASSERT_TRUE(CloseHandle(mapping));
    ASSERT_TRUE(UnmapViewOfFile(view));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, section);
    ASSERT_NE(old, nullptr);
    SetPixel(dc, 3, 1, RGB(255, 0, 0));
    auto* pixels = static_cast<uint8_t*>(bits);
    EXPECT_EQ(pixels[20 + 6] | (pixels[20 + 7] << 8), 0xF800) << "row 1, column 3, top-down";
    EXPECT_EQ(GetPixel(dc, 3, 1), RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(section));

    // An 8-bit section keeps its colour table; offsets must be DWORD-aligned and leave room.
    mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 64, nullptr);
    DibInfo indexed = MakeDibInfo(8, 8, 8);
    indexed.colors[1] = RGBQUAD{0, 0, 255, 0};
    HBITMAP grey = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&indexed), DIB_RGB_COLORS, &bits, mapping, 0);
    ASSERT_NE(grey, nullptr);
    static_cast<uint8_t*>(bits)[0] = 1; // the first row of memory is the bottom row
    dc = CreateCompatibleDC(nullptr);
    old = SelectObject(dc, grey);
    EXPECT_EQ(GetPixel(dc, 0, 7), RGB(255, 0, 0));
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(grey);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&indexed), DIB_RGB_COLORS, &bits, mapping, 2),
              nullptr);
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&indexed), DIB_RGB_COLORS, &bits, mapping, 4),
              nullptr)
        << "64 bytes from offset 4 run past the end";
    EXPECT_EQ(CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&indexed), DIB_RGB_COLORS, &bits,
                               reinterpret_cast<HANDLE>(0x1234), 0),
              nullptr);
    CloseHandle(mapping);
}

} // namespace
