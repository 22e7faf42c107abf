// The screen format (palettes and grey kept indexed, other colour as RGB565) and scaling
// to cover a requested size, on every decoder path.
#include "ImageDevice.h"
#include "corlist/image/ImageTransform.h"

#include <cstring>

#include <png.h>

using namespace corlist;
using namespace imagetest;

namespace {

class LoadOptions : public ImageDevice {};

// The RGB565 value of a colour cut to its top bits.
unsigned Rgb565Of(Rgb c) { return unsigned((c.red >> 3) << 11) | unsigned((c.green >> 2) << 5) | unsigned(c.blue >> 3); }

unsigned RawPixel16(const ImageBitmap& bitmap, int x, int y) {
    const BYTE* row = bitmap.Row(y);
    return row[2 * x] | (unsigned(row[2 * x + 1]) << 8);
}

struct ScreenCase {
    const char* name;
    Bytes file;
    const char16_t* path;
    int expectedBits;
    // What a pixel must show: the palette entry (x + y) % entries, grey, or the pattern in RGB565.
    enum { kPalette, kGrey, kPattern565, kNear565 } check;
    int paletteEntries;
};

TEST_F(LoadOptions, ScreenFormatKeepsPalettesAndGreyIndexedAndGivesOtherColourAsRgb565) {
    const ScreenCase cases[] = {
        {"png palette", MakePng({16, 12, PNG_COLOR_TYPE_PALETTE, 8, false, 4}), u"a.png", 8, ScreenCase::kPalette, 4},
        {"png 2-bit palette", MakePng({16, 12, PNG_COLOR_TYPE_PALETTE, 2, false, 4}), u"a.png", 8, ScreenCase::kPalette, 4},
        {"png palette with alpha", MakePng({16, 12, PNG_COLOR_TYPE_PALETTE, 8, false, 4, true}), u"a.png", 8,
         ScreenCase::kPalette, 4},
        {"png grey", MakePng({16, 12, PNG_COLOR_TYPE_GRAY, 8}), u"a.png", 8, ScreenCase::kGrey, 0},
        {"png grey with alpha", MakePng({16, 12, PNG_COLOR_TYPE_GRAY_ALPHA, 8}), u"a.png", 8, ScreenCase::kGrey, 0},
        {"png rgb", MakePng({16, 12, PNG_COLOR_TYPE_RGB, 8}), u"a.png", 16, ScreenCase::kPattern565, 0},
        {"png rgba", MakePng({16, 12, PNG_COLOR_TYPE_RGB_ALPHA, 8}), u"a.png", 16, ScreenCase::kPattern565, 0},
        {"png rgb48", MakePng({16, 12, PNG_COLOR_TYPE_RGB, 16}), u"a.png", 16, ScreenCase::kPattern565, 0},
        {"jpeg grey", MakeJpeg({64, 48, true}), u"a.jpg", 8, ScreenCase::kGrey, 0},
        {"jpeg colour", MakeJpeg({64, 48}), u"a.jpg", 16, ScreenCase::kNear565, 0},
        {"bmp 8-bit", MakeBmp({9, 5, 8}), u"a.bmp", 8, ScreenCase::kPalette, 256},
        {"bmp 24-bit", MakeBmp({9, 5, 24}), u"a.bmp", 16, ScreenCase::kPattern565, 0},
        {"bmp rgb555", MakeBmp({6, 4, 16}), u"a.bmp", 16, ScreenCase::kNear565, 0},
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        // The options skins load with: the screen format and RGB565 colour tables.
        ASSERT_EQ(Load(c.file, c.path, kLoadScreenFormat | kLoadRgb565Table, image), kImageOk);
        const ImageBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.BitsPerPixel(), c.expectedBits);
        if (c.expectedBits == 16) {
            EXPECT_EQ(bitmap.header.biCompression, DWORD(BI_BITFIELDS));
            EXPECT_EQ(bitmap.masks[0], 0xF800u);
            EXPECT_EQ(bitmap.masks[1], 0x07E0u);
        }
        if (c.check == ScreenCase::kGrey) {
            ASSERT_EQ(bitmap.header.biClrUsed, 256u);
        }
        for (int y = 0; y < bitmap.Height(); y += 2) {
            for (int x = 0; x < bitmap.Width(); x += 3) {
                Rgb want = PatternAt(x, y, bitmap.Width(), bitmap.Height());
                DWORD entry;
                switch (c.check) {
                case ScreenCase::kPalette:
                    std::memcpy(&entry, &bitmap.colours[bitmap.Row(y)[x]], sizeof(entry));
                    EXPECT_EQ(entry, Rgb565Of(PaletteColour((x + y) % c.paletteEntries))) << x << "," << y;
                    break;
                case ScreenCase::kGrey: {
                    // The index is the grey level, usable directly as an alpha value.
                    int level = bitmap.Row(y)[x];
                    EXPECT_NEAR(level, want.red, 12) << x << "," << y;
                    std::memcpy(&entry, &bitmap.colours[level], sizeof(entry));
                    EXPECT_EQ(entry, Rgb565Of({level, level, level}));
                    break;
                }
                case ScreenCase::kPattern565:
                    EXPECT_EQ(RawPixel16(bitmap, x, y), Rgb565Of(want)) << x << "," << y;
                    break;
                case ScreenCase::kNear565: {
                    Rgb got = PixelOf(bitmap, x, y);
                    EXPECT_NEAR(got.red, want.red, 16) << x << "," << y;
                    EXPECT_NEAR(got.green, want.green, 16) << x << "," << y;
                    EXPECT_NEAR(got.blue, want.blue, 16) << x << "," << y;
                    break;
                }
                }
            }
        }
    }
}

TEST_F(LoadOptions, ScreenFormatKeepsAKeyColourExact) {
    // Magenta, the usual transparent colour, must arrive as 0xF81F and not be dithered.
    Bytes bmp = MakeBmp({4, 4, 24});
    for (size_t at = 54; at + 2 < bmp.size(); at += 3)
        bmp[at] = 0xFF, bmp[at + 1] = 0x00, bmp[at + 2] = 0xFF;
    Image image;
    ASSERT_EQ(Load(bmp, u"key.bmp", kLoadScreenFormat, image), kImageOk);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(RawPixel16(image.Bitmap(), x, y), 0xF81Fu) << x << "," << y;
}

struct CoverCase {
    const char* name;
    Bytes file;
    const char16_t* path;
    DWORD options;
    LONG requestWidth, requestHeight, width, height;
};

TEST_F(LoadOptions, CoverRequestScalesDownToCoverTheRequestedSizeKeepingTheAspect) {
    Bytes jpeg = MakeJpeg({400, 320});
    Bytes png = MakePng({400, 320});
    const CoverCase cases[] = {
        // JPEG decodes at 1/4 (100x80) first, then shrinks until one side meets the request.
        {"jpeg wide box", jpeg, u"a.jpg", 0x220, 60, 40, 60, 48},
        {"jpeg tall box", jpeg, u"a.jpg", 0x220, 40, 60, 75, 60},
        {"jpeg exact scale", jpeg, u"a.jpg", 0x220, 50, 40, 50, 40},
        {"jpeg without the bit", jpeg, u"a.jpg", 0x200, 60, 40, 100, 80},
        {"png", png, u"a.png", 0x220, 50, 50, 63, 50},
        {"png no request larger than picture", png, u"a.png", 0x220, 500, 100, 400, 320},
        {"png without the bit", png, u"a.png", 0x100, 50, 50, 400, 320},
        {"png indexed", MakePng({400, 320, PNG_COLOR_TYPE_PALETTE, 8, false, 4}), u"a.png", 0x820, 40, 40, 50, 40},
        {"bmp", MakeBmp({90, 30, 24}), u"a.bmp", 0x20, 9, 9, 27, 9},
    };
    for (const CoverCase& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        image.SetRequestedSize(c.requestWidth, c.requestHeight);
        ASSERT_EQ(Load(c.file, c.path, c.options, image), kImageOk);
        EXPECT_EQ(image.Bitmap().Width(), c.width);
        EXPECT_EQ(image.Bitmap().Height(), c.height);
    }
}

TEST_F(LoadOptions, CoverRequestAveragesThePictureAndKeepsPaletteEntries) {
    Image image;
    image.SetRequestedSize(100, 80);
    ASSERT_EQ(Load(MakePng({400, 320}), u"a.png", kLoadCoverRequest, image), kImageOk);
    ASSERT_EQ(image.Bitmap().Width(), 100);
    // Each target pixel averages a 4x4 block of the pattern: close to the block's middle.
    for (int y = 0; y < 80; y += 9)
        for (int x = 0; x < 100; x += 7) {
            Rgb want = PatternAt(4 * x + 2, 4 * y + 2, 400, 320);
            Rgb got = PixelOf(image.Bitmap(), x, y);
            EXPECT_NEAR(got.red, want.red, 2) << x << "," << y;
            EXPECT_NEAR(got.green, want.green, 2) << x << "," << y;
            EXPECT_NEAR(got.blue, want.blue, 2) << x << "," << y;
        }
    // Indexed pixels are picked, not averaged: every one is still a palette entry of the
    // pattern (x + y) % 4 at the picked source pixel.
    image.SetRequestedSize(100, 80);
    ASSERT_EQ(Load(MakePng({400, 320, PNG_COLOR_TYPE_PALETTE, 8, false, 4}), u"a.png",
                   kLoadKeepPalette | kLoadCoverRequest, image),
              kImageOk);
    ASSERT_EQ(image.Bitmap().BitsPerPixel(), 8);
    for (int y = 0; y < 80; y += 3)
        for (int x = 0; x < 100; x += 3)
            EXPECT_EQ(image.Bitmap().Row(y)[x], (4 * x + 4 * y) % 4) << x << "," << y;
}

TEST(CoverSize, OneSideMeetsTheRequestAndTheOtherCoversIt) {
    const struct {
        LONG width, height, requestWidth, requestHeight, outWidth, outHeight;
    } cases[] = {
        {400, 320, 60, 40, 60, 48}, {400, 320, 40, 60, 75, 60}, {100, 100, 10, 10, 10, 10},
        {3, 1000, 1, 10, 1, 334},   {400, 320, 400, 10, 400, 320}, {400, 320, 0, 10, 400, 320},
        {16384, 1, 2, 1, 16384, 1},
    };
    for (const auto& c : cases) {
        LONG width = 0, height = 0;
        CoverSize(c.width, c.height, c.requestWidth, c.requestHeight, &width, &height);
        EXPECT_EQ(width, c.outWidth) << c.width << "x" << c.height << " to " << c.requestWidth << "x" << c.requestHeight;
        EXPECT_EQ(height, c.outHeight) << c.width << "x" << c.height << " to " << c.requestWidth << "x" << c.requestHeight;
    }
}

} // namespace
