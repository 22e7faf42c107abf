#include "ImageDevice.h"

#include "ce/memory.h"
#include "corlist/image/BuiltinCodec.h"
#include "corlist/image/ImageMemory.h"

using namespace corlist;
using namespace imagetest;

namespace {

class Bitmaps : public ImageDevice {};

RGBQUAD Quad(int red, int green, int blue) { return RGBQUAD{BYTE(blue), BYTE(green), BYTE(red), 0}; }

bool Same(const RGBQUAD& a, const RGBQUAD& b) {
    return a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue;
}

TEST_F(Bitmaps, DefaultColourTablesAndMasksFollowTheDepth) {
    ImageBitmap bitmap;
    ASSERT_EQ(CreateBitmap(&bitmap, 3, 2, 1, nullptr, 0), kImageOk);
    EXPECT_EQ(bitmap.header.biClrUsed, 2u);
    EXPECT_TRUE(Same(bitmap.colours[0], Quad(0, 0, 0)));
    EXPECT_TRUE(Same(bitmap.colours[1], Quad(255, 255, 255)));

    ASSERT_EQ(CreateBitmap(&bitmap, 3, 2, 4, nullptr, 0), kImageOk);
    EXPECT_EQ(bitmap.header.biClrUsed, 16u);
    const RGBQUAD vga[16] = {Quad(0, 0, 0),       Quad(128, 0, 0),   Quad(0, 128, 0),     Quad(128, 128, 0),
                             Quad(0, 0, 128),     Quad(128, 0, 128), Quad(0, 128, 128),   Quad(192, 192, 192),
                             Quad(128, 128, 128), Quad(255, 0, 0),   Quad(0, 255, 0),     Quad(255, 255, 0),
                             Quad(0, 0, 255),     Quad(255, 0, 255), Quad(0, 255, 255),   Quad(255, 255, 255)};
    for (int i = 0; i < 16; ++i)
        EXPECT_TRUE(Same(bitmap.colours[i], vga[i])) << i;

    ASSERT_EQ(CreateBitmap(&bitmap, 3, 2, 8, nullptr, 0), kImageOk);
    EXPECT_TRUE(Same(bitmap.colours[200], Quad(200, 200, 200)));

    ASSERT_EQ(CreateBitmap(&bitmap, 3, 2, 16, nullptr, 0), kImageOk);
    EXPECT_EQ(bitmap.header.biCompression, DWORD(BI_BITFIELDS));
    EXPECT_EQ(bitmap.masks[0], 0xF800u);
    EXPECT_EQ(bitmap.masks[1], 0x07E0u);
    EXPECT_EQ(bitmap.masks[2], 0x001Fu);

    ASSERT_EQ(CreateBitmap(&bitmap, 3, 2, 24, nullptr, 0), kImageOk);
    EXPECT_EQ(bitmap.header.biCompression, DWORD(BI_RGB));
    EXPECT_EQ(bitmap.stride, 12); // 9 bytes rounded up to a DWORD
    EXPECT_NE(bitmap.section, nullptr);
    ReleaseBitmap(&bitmap);
    EXPECT_TRUE(bitmap.IsEmpty());
}

TEST_F(Bitmaps, TheLastResortBitmapIsADibSectionThatADcCanDrawOn) {
    const struct {
        int bits;
        LONG height;
    } cases[] = {{16, 6}, {24, -6}, {8, 6}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bits);
        ImageBitmap bitmap;
        ASSERT_EQ(CreateBitmapWithAttempts(&bitmap, 7, c.height, c.bits, nullptr, 0, 0), kImageOk);
        ASSERT_NE(bitmap.section, nullptr);
        ASSERT_NE(bitmap.bits, nullptr);
        EXPECT_EQ(bitmap.Height(), 6);
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap.section);
        ASSERT_NE(old, nullptr);
        SetPixel(dc, 2, 1, RGB(255, 255, 255));
        const BYTE* row = bitmap.Row(1);
        int bytesPerPixel = c.bits / 8;
        for (int i = 0; i < bytesPerPixel; ++i)
            EXPECT_EQ(row[2 * bytesPerPixel + i], 0xFF) << i;
        EXPECT_EQ(bitmap.Row(0)[2 * bytesPerPixel], 0) << "only the pixel drawn";
        SelectObject(dc, old);
        DeleteDC(dc);
        ReleaseBitmap(&bitmap);
        EXPECT_TRUE(bitmap.IsEmpty());
    }
}

TEST_F(Bitmaps, AShortColourTableIsFilledWithBlack) {
    const RGBQUAD given[3] = {Quad(10, 20, 30), Quad(40, 50, 60), Quad(70, 80, 90)};
    ImageBitmap bitmap;
    ASSERT_EQ(CreateBitmap(&bitmap, 4, 4, 8, given, 3), kImageOk);
    EXPECT_TRUE(Same(bitmap.colours[2], given[2]));
    for (int i = 3; i < 256; ++i)
        EXPECT_TRUE(Same(bitmap.colours[i], Quad(0, 0, 0))) << i;
    // More entries than the depth holds: only 2^bits are taken.
    RGBQUAD many[300] = {};
    many[15] = Quad(1, 2, 3);
    ASSERT_EQ(CreateBitmap(&bitmap, 4, 4, 4, many, 300), kImageOk);
    EXPECT_TRUE(Same(bitmap.colours[15], Quad(1, 2, 3)));
    EXPECT_EQ(bitmap.header.biClrUsed, 16u);
    ReleaseBitmap(&bitmap);
}

TEST_F(Bitmaps, ANegativeHeightMakesTopDownRowsWithAPositiveHeader) {
    ImageBitmap bitmap;
    ASSERT_EQ(CreateBitmap(&bitmap, 4, -3, 24, nullptr, 0), kImageOk);
    EXPECT_EQ(bitmap.header.biHeight, 3);
    EXPECT_TRUE(bitmap.topDown);
    EXPECT_EQ(bitmap.Row(0), bitmap.bits);
    ReleaseBitmap(&bitmap);
}

TEST_F(Bitmaps, HostileSizesFailInsteadOfWrapping) {
    const struct {
        LONG width, height;
        int bits;
        DWORD result;
    } cases[] = {
        {0, 10, 24, kImageBadArgument},
        {10, 0, 24, kImageBadArgument},
        {-5, 10, 24, kImageBadArgument},
        {10, 10, 7, kImageBadArgument},
        {0x7FFFFFFF, 1, 32, kImageTooLarge},      // width x bits overflows 32 bits
        {65536, 65536, 32, kImageTooLarge},       // stride x height overflows 32 bits
        {1, INT32_MIN, 8, kImageTooLarge},        // |height| does not fit a LONG
        {16384, 16384, 32, kImageTooLarge},       // 1 GiB: beyond the pixel cap
        {kMaxBitmapSide + 1, 1, 1, kImageTooLarge},
    };
    for (const auto& c : cases) {
        ImageBitmap bitmap;
        EXPECT_EQ(CreateBitmap(&bitmap, c.width, c.height, c.bits, nullptr, 0), c.result)
            << c.width << "x" << c.height << "x" << c.bits;
        EXPECT_TRUE(bitmap.IsEmpty());
    }
}

TEST_F(Bitmaps, MasksTheDeviceCannotDrawAreRefused) {
    const DWORD rgb555[3] = {0x7C00, 0x03E0, 0x001F};
    const DWORD odd[3] = {0x00F0, 0x0F00, 0xF000};
    ImageBitmap bitmap;
    EXPECT_EQ(CreateBitmap(&bitmap, 2, 2, 16, rgb555, 3), kImageOk);
    EXPECT_EQ(bitmap.masks[0], 0x7C00u);
    EXPECT_EQ(CreateBitmap(&bitmap, 2, 2, 16, odd, 3), kImageUnsupported);
    EXPECT_EQ(CreateBitmap(&bitmap, 2, 2, 24, rgb555, 3), kImageUnsupported);
    ReleaseBitmap(&bitmap);
}

TEST_F(Bitmaps, LargeBlocksComeFromVirtualMemoryAndAreCounted) {
    uint64_t before = ImageMemory::VirtualBytes();
    void* small = ImageMemory::Allocate(1000);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(ImageMemory::VirtualBytes(), before);
    void* large = ImageMemory::Allocate(ImageMemory::kVirtualThreshold + 1);
    ASSERT_NE(large, nullptr);
    EXPECT_GT(ImageMemory::VirtualBytes(), before + ImageMemory::kVirtualThreshold);
    static_cast<BYTE*>(large)[ImageMemory::kVirtualThreshold] = 1; // committed to the last byte
    MEMORY_BASIC_INFORMATION info;
    ASSERT_EQ(VirtualQuery(large, &info, sizeof(info)), sizeof(info));
    EXPECT_EQ(info.State, DWORD(MEM_COMMIT));
    ImageMemory::Free(large);
    ImageMemory::Free(small);
    EXPECT_EQ(ImageMemory::VirtualBytes(), before);
    EXPECT_EQ(ImageMemory::Allocate(ImageMemory::kMaxBlock + 1), nullptr);
}

TEST_F(Bitmaps, VirtualAllocReservesThenCommits) {
    BYTE* base = static_cast<BYTE*>(VirtualAlloc(nullptr, 3 * 65536, MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(base, nullptr);
    MEMORY_BASIC_INFORMATION info;
    ASSERT_EQ(VirtualQuery(base, &info, sizeof(info)), sizeof(info));
    EXPECT_EQ(info.State, DWORD(MEM_RESERVE));
    EXPECT_EQ(VirtualAlloc(base + 65536, 4096, MEM_COMMIT, PAGE_READWRITE), base + 65536);
    base[65536 + 4095] = 7;
    ASSERT_EQ(VirtualQuery(base + 65536, &info, sizeof(info)), sizeof(info));
    EXPECT_EQ(info.State, DWORD(MEM_COMMIT));
    EXPECT_EQ(info.AllocationBase, base);
    // Only the base of a reservation is released, and only with size 0.
    EXPECT_FALSE(VirtualFree(base + 65536, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(base, 4096, MEM_RELEASE));
    EXPECT_TRUE(VirtualFree(base, 0, MEM_RELEASE));
    EXPECT_FALSE(VirtualFree(base, 0, MEM_RELEASE));
    EXPECT_EQ(VirtualQuery(base, &info, sizeof(info)), 0u);
    EXPECT_EQ(VirtualAlloc(nullptr, SIZE_T(1) << 40, MEM_RESERVE, PAGE_READWRITE), nullptr);
}

int g_callbackCalls = 0;
int CountingCallback(int attempt, size_t bytes, void* userData) {
    ++g_callbackCalls;
    return 0;
}

TEST_F(Bitmaps, CodecRecordsOfAnotherSizeAreRefused) {
    CodecRecord record = BuiltinCodec::Record();
    record.size = 40; // the device's size: pointers take more room here
    EXPECT_EQ(sizeof(CodecRecord) == 40, RegisterCodec(&record, HostCodecContext()));
    record.size = sizeof(CodecRecord);
    EXPECT_TRUE(RegisterCodec(&record, HostCodecContext()));
    EXPECT_FALSE(RegisterCodec(nullptr, HostCodecContext()));
}

TEST_F(Bitmaps, TheLowMemoryCallbackIsAskedAndCanGiveUp) {
    ShutdownImages();
    InitImagesInFolder(CountingCallback, nullptr, u"\\Program Files\\Tavik Dialora\\");
    g_callbackCalls = 0;
    EXPECT_FALSE(ImageMemory::AskForMemory(1, 100));
    EXPECT_EQ(g_callbackCalls, 1);
    // A second start keeps the first callback.
    InitImagesInFolder(nullptr, nullptr, u"\\");
    EXPECT_FALSE(ImageMemory::AskForMemory(1, 100));
    EXPECT_EQ(g_callbackCalls, 2);
    ShutdownImages();
    EXPECT_FALSE(ImageMemory::AskForMemory(1, 100));
    EXPECT_EQ(g_callbackCalls, 2);
}

} // namespace
