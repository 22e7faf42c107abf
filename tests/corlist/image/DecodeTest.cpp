#include "ImageDevice.h"

#include "ce/kernel.h"
#include "ce/registry.h"
#include "common/MemoryStream.h"

#include <cstdlib>
#include <set>
#include <cstring>
#include <png.h>

using namespace corlist;
using namespace imagetest;

namespace {

class Decode : public ImageDevice {};

bool Near(Rgb a, Rgb b, int tolerance) {
    return std::abs(a.red - b.red) <= tolerance && std::abs(a.green - b.green) <= tolerance &&
           std::abs(a.blue - b.blue) <= tolerance;
}

struct PngCase {
    const char* name;
    PngSpec spec;
    DWORD options;
    int expectedBits;
    bool palettePattern; // pixels follow the palette (else the gradient)
    bool hasAlpha;
};

TEST_F(Decode, PngFormatsGiveTheRequestedDepthAndTheRightPixels) {
    const PngCase cases[] = {
        {"rgb24", {16, 12, PNG_COLOR_TYPE_RGB, 8}, 0, 24, false, false},
        {"rgb48 stripped", {16, 12, PNG_COLOR_TYPE_RGB, 16}, 0, 24, false, false},
        {"rgba32", {16, 12, PNG_COLOR_TYPE_RGB_ALPHA, 8}, 0, 32, false, true},
        {"rgb interlaced", {16, 12, PNG_COLOR_TYPE_RGB, 8, true}, 0, 24, false, false},
        {"palette to true colour", {16, 12, PNG_COLOR_TYPE_PALETTE, 8, false, 4}, 0, 24, true, false},
        {"palette kept", {16, 12, PNG_COLOR_TYPE_PALETTE, 8, false, 4}, kLoadKeepPalette, 8, true, false},
        {"2-bit palette kept", {16, 12, PNG_COLOR_TYPE_PALETTE, 2, false, 4}, kLoadKeepPalette, 8, true, false},
        {"1-bit palette", {16, 12, PNG_COLOR_TYPE_PALETTE, 1, false, 2}, 0, 24, true, false},
        {"palette with alpha", {16, 12, PNG_COLOR_TYPE_PALETTE, 8, false, 4, true}, 0, 32, true, true},
        {"grey kept", {16, 12, PNG_COLOR_TYPE_GRAY, 8}, kLoadKeepPalette, 8, false, false},
        {"grey to true colour", {16, 12, PNG_COLOR_TYPE_GRAY, 8}, 0, 24, false, false},
        {"grey with alpha", {16, 12, PNG_COLOR_TYPE_GRAY_ALPHA, 8}, 0, 32, false, true},
    };
    for (const PngCase& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        ASSERT_EQ(Load(MakePng(c.spec), u"picture.png", c.options, image), kImageOk);
        const ImageBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.BitsPerPixel(), c.expectedBits);
        ASSERT_EQ(bitmap.Width(), c.spec.width);
        ASSERT_EQ(bitmap.Height(), c.spec.height);
        bool grey = c.spec.colourType == PNG_COLOR_TYPE_GRAY || c.spec.colourType == PNG_COLOR_TYPE_GRAY_ALPHA;
        for (int y = 0; y < c.spec.height; y += 5) {
            for (int x = 0; x < c.spec.width; x += 3) {
                Rgb want = PatternAt(x, y, c.spec.width, c.spec.height);
                if (c.palettePattern)
                    want = PaletteColour((x + y) % c.spec.paletteEntries);
                if (grey)
                    want = {want.red, want.red, want.red};
                EXPECT_TRUE(Near(PixelOf(bitmap, x, y), want, 0)) << x << "," << y;
                if (c.hasAlpha && !c.palettePattern) {
                    EXPECT_EQ(AlphaOf(bitmap, x, y), x * 16 % 256);
                }
            }
        }
        if (c.spec.paletteAlpha) {
            EXPECT_EQ(AlphaOf(bitmap, 0, 0), 0); // entry 0 is the transparent one
        }
    }
}

TEST_F(Decode, JpegVariantsDecodeCloseToTheirSource) {
    struct JpegCase {
        const char* name;
        JpegSpec spec;
        DWORD options;
        int expectedBits;
    };
    const JpegCase cases[] = {
        {"baseline", {64, 48}, 0, 24},
        {"progressive", {64, 48, false, true}, 0, 24},
        {"grey to true colour", {64, 48, true}, 0, 24},
        {"grey kept", {64, 48, true}, kLoadKeepPalette, 8},
        {"odd size", {33, 17}, 0, 24},
        {"cmyk", {64, 48, false, false, 95, true}, 0, 24},
    };
    for (const JpegCase& c : cases) {
        SCOPED_TRACE(c.name);
        Image image;
        ASSERT_EQ(Load(MakeJpeg(c.spec), u"photo.jpg", c.options, image), kImageOk);
        const ImageBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.BitsPerPixel(), c.expectedBits);
        ASSERT_EQ(bitmap.Width(), c.spec.width);
        for (int y = 2; y < c.spec.height; y += 7) {
            for (int x = 2; x < c.spec.width; x += 7) {
                Rgb want = PatternAt(x, y, c.spec.width, c.spec.height);
                if (c.spec.grey)
                    want = {want.red, want.red, want.red};
                EXPECT_TRUE(Near(PixelOf(bitmap, x, y), want, 12)) << x << "," << y;
            }
        }
    }
}

TEST_F(Decode, TheDecoderIsChosenByExtensionInAnyCase) {
    Bytes jpeg = MakeJpeg({});
    const struct {
        const char16_t* path;
        DWORD result;
    } cases[] = {
        {u"\\My Documents\\PHOTO.JPG", kImageOk}, {u"photo.jpe", kImageOk},   {u"photo.JpEg", kImageOk},
        {u"thumb.thm", kImageOk},                 {u"a.b.jpg", kImageOk},     {u"photo.gif", kImageNoDecoder},
        {u"jpg", kImageOk},                       {u"photo.", kImageNoDecoder}, {u"photo.jpgx", kImageNoDecoder},
    };
    for (const auto& c : cases) {
        Image image;
        EXPECT_EQ(Load(jpeg, c.path, 0, image), c.result);
        EXPECT_EQ(image.Bitmap().IsEmpty(), c.result != kImageOk);
    }
}

TEST_F(Decode, NegativeSizeDecodesAtTheSmallestScaleThatCoversIt) {
    Bytes jpeg = MakeJpeg({400, 320});
    const struct {
        LONG requestWidth, requestHeight, width, height;
    } cases[] = {{50, 40, 50, 40}, {60, 40, 100, 80}, {200, 100, 200, 160}, {201, 10, 400, 320}, {0, 0, 400, 320}};
    for (const auto& c : cases) {
        Image image;
        image.SetRequestedSize(c.requestWidth, c.requestHeight);
        ASSERT_EQ(Load(jpeg, u"big.jpg", 0, image), kImageOk);
        EXPECT_EQ(image.Bitmap().Width(), c.width) << c.requestWidth;
        EXPECT_EQ(image.Bitmap().Height(), c.height) << c.requestWidth;
    }
}

TEST_F(Decode, Rgb565OptionRewritesTheColourTable) {
    Image image;
    ASSERT_EQ(Load(MakePng({8, 8, PNG_COLOR_TYPE_PALETTE, 8, false, 4}), u"p.png", kLoadKeepPalette | kLoadRgb565Table,
                   image),
              kImageOk);
    const DWORD expected[] = {0xF800, 0x07E0, 0x001F, 0xFFE0};
    for (int i = 0; i < 4; ++i) {
        DWORD value;
        std::memcpy(&value, &image.Bitmap().colours[i], sizeof(value));
        EXPECT_EQ(value, expected[i]) << i;
    }
    // True-colour images have no table to rewrite.
    ASSERT_EQ(Load(MakePng({}), u"p.png", kLoadRgb565Table, image), kImageOk);
    EXPECT_EQ(image.Bitmap().BitsPerPixel(), 24);
}

TEST_F(Decode, ColourReductionDithersOrBuildsAPalette) {
    Image image;
    ASSERT_EQ(Load(MakePng({32, 32}), u"p.png", kLoadReduce4096, image), kImageOk);
    EXPECT_EQ(image.Bitmap().flags, kBitmapReduced4096);
    for (int x = 0; x < 32; ++x)
        EXPECT_EQ(PixelOf(image.Bitmap(), x, 5).red % 17, 0); // 4 bits a channel
    ASSERT_EQ(Load(MakePng({32, 32}), u"p.png", kLoadReduce65536, image), kImageOk);
    EXPECT_EQ(image.Bitmap().flags, kBitmapReduced65536);
    EXPECT_EQ(ReduceColours(&image, 64), kImageOk);
    EXPECT_EQ(image.Bitmap().BitsPerPixel(), 8);
    // The picture really holds at most 64 colours: every pixel indexes one of the first 64
    // table entries (the rest of the 8-bit table stays unused).
    std::set<int> used;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x)
            used.insert(image.Bitmap().Row(y)[x]);
    EXPECT_LT(*used.rbegin(), 64);
    EXPECT_GT(used.size(), 8u) << "the dither uses more than the corners of the cube";
    EXPECT_TRUE(Near(PixelOf(image.Bitmap(), 31, 31), PatternAt(31, 31, 32, 32), 64));
    // Already indexed: nothing to do.
    EXPECT_EQ(ReduceColours(&image, 16), kImageOk);
    EXPECT_EQ(image.Bitmap().BitsPerPixel(), 8);
}

TEST_F(Decode, ReductionBuildsThePaletteSizeAskedFor) {
    // Counts below the 2x2x2 cube become grey ramps; 12 and 27 need three levels of a channel.
    const struct {
        DWORD count;
        DWORD entries;
    } cases[] = {{1, 2}, {2, 2}, {3, 3}, {4, 4}, {7, 7}, {8, 8}, {12, 12}, {27, 27}, {64, 64}, {256, 252}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.count);
        Image image;
        ASSERT_EQ(Load(MakePng({32, 32}), u"p.png", 0, image), kImageOk);
        ASSERT_EQ(ReduceColours(&image, c.count), kImageOk);
        const ImageBitmap& bitmap = image.Bitmap();
        ASSERT_EQ(bitmap.BitsPerPixel(), 8);
        EXPECT_EQ(bitmap.header.biClrUsed, c.entries);
        std::set<int> used;
        for (int y = 0; y < 32; ++y)
            for (int x = 0; x < 32; ++x)
                used.insert(bitmap.Row(y)[x]);
        EXPECT_LT(DWORD(*used.rbegin()), c.entries);
        EXPECT_GE(used.size(), 2u);
        // Every entry in use lies near the picture: the reduction keeps the picture's shape.
        Rgb corner = PixelOf(bitmap, 31, 31), origin = PixelOf(bitmap, 0, 0);
        EXPECT_GT(corner.red + corner.green + corner.blue, origin.red + origin.green + origin.blue);
        if (c.count < 8) {
            for (DWORD i = 0; i < c.entries; ++i) {
                const RGBQUAD& entry = bitmap.colours[i];
                EXPECT_TRUE(entry.rgbRed == entry.rgbGreen && entry.rgbGreen == entry.rgbBlue) << i;
            }
            EXPECT_EQ(bitmap.colours[c.entries - 1].rgbRed, 255);
        }
    }
}

TEST_F(Decode, AbortStopsEveryLoadUntilCleared) {
    Bytes png = MakePng({});
    Image image;
    SetAbort(true);
    EXPECT_TRUE(IsAborted());
    EXPECT_EQ(Load(png, u"p.png", 0, image), kImageAborted);
    EXPECT_EQ(Load(MakeJpeg({}), u"p.jpg", 0, image), kImageAborted);
    EXPECT_TRUE(image.Bitmap().IsEmpty());
    SetAbort(false);
    EXPECT_EQ(Load(png, u"p.png", 0, image), kImageOk);
}

// A memory stream that sets the loader's abort flag once `abortAfter` bytes were read and
// counts what is read after that.
class AbortingStream : public common::MemoryStream {
public:
    AbortingStream(Bytes& bytes, LONG abortAfter)
        : MemoryStream(bytes.data(), LONG(bytes.size())), m_abortAfter(abortAfter) {}
    LONG Read(void* buffer, LONG count) override {
        LONG read = MemoryStream::Read(buffer, count);
        m_total += read > 0 ? read : 0;
        if (m_abortedAt < 0 && m_total >= m_abortAfter) {
            SetAbort(true);
            m_abortedAt = m_total;
        }
        return read;
    }
    LONG ReadAfterAbort() const { return m_abortedAt < 0 ? 0 : m_total - m_abortedAt; }

private:
    LONG m_abortAfter;
    LONG m_total = 0;
    LONG m_abortedAt = -1;
};

TEST_F(Decode, AnAbortDuringDecodingStopsTheDecoderWhereItIs) {
    JpegSpec progressive;
    progressive.width = 2048;
    progressive.height = 2048;
    progressive.progressive = true;
    const struct {
        const char* name;
        Bytes bytes;
        const char16_t* path;
    } cases[] = {
        // libjpeg reads a progressive file whole before the first row comes out.
        {"progressive jpeg", MakeJpeg(progressive), u"p.jpg"},
        {"baseline jpeg", MakeJpeg({2048, 2048}), u"b.jpg"},
        {"png", MakePng(PngSpec{.width = 512, .height = 512, .stored = true}), u"p.png"},
        {"bmp", MakeBmp({512, 512, 24}), u"p.bmp"},
    };
    for (auto c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_GT(c.bytes.size(), 100000u);
        AbortingStream stream(c.bytes, 1);
        Image image;
        EXPECT_EQ(LoadImageStream(&image, &stream, c.path, 0, true), kImageAborted);
        EXPECT_TRUE(image.Bitmap().IsEmpty());
        // The decoder saw the flag within about one buffer of input, not at the end.
        EXPECT_LT(stream.ReadAfterAbort(), LONG(c.bytes.size() / 2));
        SetAbort(false);
    }
}

TEST_F(Decode, LoadImageFileReadsDeviceFilesAndReportsMissingOnes) {
    std::u16string path = WriteFile("face.png", MakePng({20, 10}));
    Image image;
    EXPECT_EQ(LoadImageFile(&image, path.c_str(), 0), kImageOk);
    EXPECT_EQ(image.Bitmap().Width(), 20);
    EXPECT_NE(image.Decoder(), nullptr); // kept until the image is emptied
    EXPECT_EQ(LoadImageFile(&image, u"\\My Documents\\none.png", 0), kImageOpenFailed);
    EXPECT_TRUE(image.Bitmap().IsEmpty());
    EXPECT_EQ(LoadImageFile(&image, u"http://example.invalid/a.png", 0), kImageOpenFailed);
}

TEST_F(Decode, BmpFilesLoadThroughTheCodecLibrary) {
    struct BmpCase {
        const char* name;
        BmpSpec spec;
        DWORD options;
        int expectedBits;
    };
    const BmpCase cases[] = {
        {"24 bottom-up", {5, 3, 24}, 0, 24},
        {"24 top-down", {5, 3, 24, true}, 0, 24},
        {"32", {7, 4, 32}, 0, 24},
        {"32 bit fields", {7, 4, 32, false, true}, 0, 24},
        {"16 rgb555", {6, 4, 16}, 0, 24},
        {"16 rgb565 bit fields", {6, 4, 16, true, true}, 0, 24},
        {"8 indexed", {9, 5, 8}, 0, 24},
        {"8 kept", {9, 5, 8}, kLoadKeepPalette, 8},
        {"4 indexed", {9, 5, 4}, 0, 24},
        {"1 indexed", {17, 3, 1}, kLoadKeepPalette, 8},
    };
    for (const BmpCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string path = WriteFile("picture.bmp", MakeBmp(c.spec));
        Image image;
        ASSERT_EQ(LoadImageFile(&image, path.c_str(), c.options), kImageOk);
        ASSERT_EQ(image.Bitmap().BitsPerPixel(), c.expectedBits);
        ASSERT_EQ(image.Bitmap().Width(), c.spec.width);
        ASSERT_EQ(image.Bitmap().Height(), c.spec.height);
        int tolerance = c.spec.bits == 16 ? 8 : 0;
        for (int y = 0; y < c.spec.height; ++y) {
            for (int x = 0; x < c.spec.width; ++x) {
                Rgb want = c.spec.bits <= 8 ? PaletteColour((x + y) % (1 << c.spec.bits))
                                            : PatternAt(x, y, c.spec.width, c.spec.height);
                EXPECT_TRUE(Near(PixelOf(image.Bitmap(), x, y), want, tolerance)) << x << "," << y;
            }
        }
    }
}

TEST_F(Decode, ACodecLibraryThatCannotBeLoadedIsForgotten) {
    ShutdownImages();
    // No install folder to look in: the library is missing.
    InitImagesInFolder(nullptr, nullptr, u"\\Windows\\");
    std::u16string path = WriteFile("picture.bmp", MakeBmp({}));
    Image image;
    EXPECT_EQ(LoadImageFile(&image, path.c_str(), 0), kImageNoDecoder);
    EXPECT_EQ(LoadImageFile(&image, path.c_str(), 0), kImageNoDecoder);
    // The built-in codec is unaffected.
    EXPECT_EQ(Load(MakePng({}), u"p.png", 0, image), kImageOk);
}

TEST_F(Decode, ACodecLibraryWithAForeignRecordIsRefusedAndFreed) {
    std::filesystem::copy_file(std::filesystem::path(DIALORA_TEST_MODULES_DIR) / "BadCodec.dll",
                               m_device->FsRoot() / "Windows" / "BadCodec.dll");
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\ImageCodecs\\BadCodec.dll", 0,
                              nullptr, 0, 0, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char16_t extensions[] = u"bad";
    ASSERT_EQ(RegSetValueExW(key, u"Extensions", 0, REG_SZ, reinterpret_cast<const BYTE*>(extensions),
                             sizeof(extensions)),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ShutdownImages();
    InitImagesInFolder(nullptr, nullptr, u"\\Windows\\");
    Image image;
    EXPECT_EQ(Load(MakePng({}), u"picture.bad", 0, image), kImageNoDecoder);
    EXPECT_EQ(GetModuleHandleW(u"BadCodec.dll"), nullptr); // freed again
    EXPECT_EQ(Load(MakePng({}), u"picture.bad", 0, image), kImageNoDecoder);
}

} // namespace
