#include "ImageDevice.h"

#include "common/MemoryStream.h"
#include "corlist/image/ExifReader.h"

#include <cstring>
#include <png.h>
#include <zlib.h>

using namespace corlist;
using namespace imagetest;

namespace {

class Damaged : public ImageDevice {};

Bytes Truncated(Bytes bytes, size_t keep) {
    bytes.resize(keep);
    return bytes;
}

Bytes WithByte(Bytes bytes, size_t at, uint8_t value) {
    bytes[at] = value;
    return bytes;
}

// A PNG whose header claims the given size (CRC fixed up, no pixel data).
Bytes PngClaiming(uint32_t width, uint32_t height) {
    Bytes png = MakePng({});
    for (int i = 0; i < 4; ++i) {
        png[16 + i] = uint8_t(width >> (24 - 8 * i));
        png[20 + i] = uint8_t(height >> (24 - 8 * i));
    }
    uint32_t crc = uint32_t(crc32(0, &png[12], 17));
    for (int i = 0; i < 4; ++i)
        png[29 + i] = uint8_t(crc >> (24 - 8 * i));
    return png;
}

// A JPEG whose frame header claims the given size.
Bytes JpegClaiming(uint16_t width, uint16_t height) {
    Bytes jpeg = MakeJpeg({});
    for (size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xC0) {
            jpeg[i + 5] = uint8_t(height >> 8), jpeg[i + 6] = uint8_t(height);
            jpeg[i + 7] = uint8_t(width >> 8), jpeg[i + 8] = uint8_t(width);
            break;
        }
    }
    return jpeg;
}

TEST_F(Damaged, BrokenFilesFailWithTheirCodeAndLeaveTheImageEmpty) {
    Bytes png = MakePng({40, 30});
    Bytes jpeg = MakeJpeg({40, 30});
    Bytes bmp = MakeBmp({8, 8, 24});
    const struct {
        const char* name;
        Bytes bytes;
        const char16_t* path;
        DWORD result;
    } cases[] = {
        {"empty png", {}, u"a.png", kImageBadData},
        {"png signature", WithByte(png, 1, 'X'), u"a.png", kImageBadData},
        {"png truncated in the header", Truncated(png, 20), u"a.png", kImageBadData},
        {"png truncated in the pixels", Truncated(png, png.size() - 30), u"a.png", kImageBadData},
        {"png bad crc", WithByte(png, 29, png[29] ^ 1), u"a.png", kImageBadData},
        {"png huge", PngClaiming(100000, 100000), u"a.png", kImageTooLarge},
        {"png beyond libpng's limit", PngClaiming(0x7FFFFFFF, 1), u"a.png", kImageBadData},
        {"png is a jpeg", jpeg, u"a.png", kImageBadData},
        {"empty jpeg", {}, u"a.jpg", kImageBadData},
        {"jpeg signature", WithByte(jpeg, 1, 0x00), u"a.jpg", kImageBadData},
        {"jpeg truncated", Truncated(jpeg, jpeg.size() / 2), u"a.jpg", kImageBadData},
        {"jpeg header only", Truncated(jpeg, 200), u"a.jpg", kImageBadData},
        {"jpeg huge", JpegClaiming(65000, 65000), u"a.jpg", kImageTooLarge},
        {"jpeg wide", JpegClaiming(65000, 8), u"a.jpg", kImageTooLarge},
        {"jpeg is a png", png, u"a.jpg", kImageBadData},
        {"bmp signature", WithByte(bmp, 0, 'X'), u"a.bmp", kImageBadData},
        {"bmp truncated", Truncated(bmp, bmp.size() - 5), u"a.bmp", kImageBadData},
        {"bmp header size", WithByte(bmp, 14, 200), u"a.bmp", kImageBadData},
        {"bmp huge width", WithByte(WithByte(bmp, 21, 0x7F), 20, 0xFF), u"a.bmp", kImageTooLarge},
        {"bmp zero width", WithByte(bmp, 18, 0), u"a.bmp", kImageBadData},
        {"bmp rle", WithByte(bmp, 30, 1), u"a.bmp", kImageUnsupported},
        {"bmp depth", WithByte(bmp, 28, 7), u"a.bmp", kImageUnsupported},
        {"bmp pixel offset", WithByte(WithByte(bmp, 12, 0x7F), 13, 0x7F), u"a.bmp", kImageBadData},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::u16string_view name(c.path);
        std::u16string path = WriteFile(std::string(name.begin(), name.end()), c.bytes);
        Image image;
        EXPECT_EQ(LoadImageFile(&image, path.c_str(), 0), c.result);
        EXPECT_TRUE(image.Bitmap().IsEmpty());
    }
}

// A progressive JPEG whose last scan is repeated `copies` times before its end: each copy
// refines coefficients already refined, which libjpeg reads (slowly, for every coefficient
// of the picture) with a warning.
Bytes JpegWithRepeatedScans(int width, int height, int copies) {
    JpegSpec spec;
    spec.width = width;
    spec.height = height;
    spec.progressive = true;
    Bytes jpeg = MakeJpeg(spec);
    size_t lastScan = 0;
    for (size_t i = 2; i + 1 < jpeg.size(); ++i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA)
            lastScan = i;
    size_t end = jpeg.size() - 2; // the end-of-image marker
    Bytes scan(jpeg.begin() + std::ptrdiff_t(lastScan), jpeg.begin() + std::ptrdiff_t(end));
    Bytes result(jpeg.begin(), jpeg.begin() + std::ptrdiff_t(end));
    for (int i = 0; i < copies; ++i)
        result.insert(result.end(), scan.begin(), scan.end());
    result.push_back(0xFF);
    result.push_back(0xD9);
    return result;
}

TEST_F(Damaged, JpegsWithEndlessScansOrWarningsFailQuickly) {
    Image image;
    // A few repeated scans are the kind of damage a real file may carry: it still loads.
    ASSERT_EQ(Load(JpegWithRepeatedScans(16, 16, 0), u"a.jpg", 0, image), kImageOk);
    Bytes repeated = JpegWithRepeatedScans(512, 512, 2000);
    EXPECT_EQ(Load(repeated, u"a.jpg", 0, image), kImageBadData);
    EXPECT_TRUE(image.Bitmap().IsEmpty());
    // The same as a thumbnail: the scans are read before any scaling could help.
    Image thumbnail;
    thumbnail.SetRequestedSize(64, 64);
    EXPECT_EQ(Load(repeated, u"a.jpg", 0x220, thumbnail), kImageBadData);
}

TEST_F(Damaged, BmpColourCountBeyondTheDepthIsRefused) {
    Bytes bmp = MakeBmp({4, 4, 4});
    bmp[46] = 17; // biClrUsed 17 for a 4-bit picture
    Image image;
    EXPECT_EQ(Load(bmp, u"a.bmp", 0, image), kImageBadData);
}

TEST_F(Damaged, ExifDetailsAreReadFromTheJpeg) {
    JpegSpec spec;
    spec.exif = MakeExifBlock();
    Image image;
    ASSERT_EQ(Load(MakeJpeg(spec), u"camera.jpg", 0, image), kImageOk);
    const ExifInfo& info = image.Info();
    EXPECT_TRUE(info.present);
    EXPECT_STREQ(info.make, "Tavik");
    EXPECT_STREQ(info.model, "Z1");
    EXPECT_STREQ(info.dateTime, "2026:12:07 10:11:12");
    EXPECT_EQ(info.exposureTime.numerator, 1u);
    EXPECT_EQ(info.exposureTime.denominator, 125u);
    EXPECT_EQ(info.fNumber.numerator, 28u);
    // Without an EXIF segment nothing is present.
    ASSERT_EQ(Load(MakeJpeg({}), u"plain.jpg", 0, image), kImageOk);
    EXPECT_FALSE(image.Info().present);
}

TEST_F(Damaged, ReadJpegInfoGivesSizeDepthVersionAndExif) {
    const struct {
        JpegSpec spec;
        int bits;
        const char16_t* version;
    } cases[] = {
        {{64, 48}, 24, u"Ver.1.01"},
        {{30, 20, true, true}, 8, u"Ver.1.01 - progressive"},
    };
    for (const auto& c : cases) {
        Bytes bytes = MakeJpeg(c.spec);
        common::MemoryStream stream(bytes.data(), LONG(bytes.size()));
        JpegInfo info;
        ASSERT_EQ(ReadJpegInfo(&stream, &info), kImageOk);
        EXPECT_EQ(info.width, c.spec.width);
        EXPECT_EQ(info.height, c.spec.height);
        EXPECT_EQ(info.bitsPerPixel, c.bits);
        EXPECT_EQ(std::u16string(info.version), c.version);
    }
    Bytes broken = {0xFF, 0xD8, 0xFF};
    common::MemoryStream stream(broken.data(), LONG(broken.size()));
    JpegInfo info;
    EXPECT_EQ(ReadJpegInfo(&stream, &info), kImageBadData);
}

TEST(ExifSegment, ShortOrForeignSegmentsHaveNoBlock) {
    const BYTE* block = nullptr;
    size_t size = 0;
    const BYTE exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I'};
    const struct {
        const BYTE* data;
        size_t length;
        bool found;
        size_t size;
    } cases[] = {
        {exif, 0, false, 0},  // length 2 on the device: "minus 8" would underflow
        {exif, 5, false, 0},
        {exif, 6, false, 0},  // exactly the signature: an empty block
        {exif, 8, true, 2},
        {reinterpret_cast<const BYTE*>("JFIF\0\0II"), 8, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExifReader::BlockOf(c.data, c.length, &block, &size), c.found) << c.length;
        if (c.found) {
            EXPECT_EQ(size, c.size);
        }
    }
    std::vector<BYTE> large(ExifReader::kMaxBlock + 6, 0);
    std::memcpy(large.data(), exif, 6);
    EXPECT_FALSE(ExifReader::BlockOf(large.data(), large.size(), &block, &size));
}

TEST(ExifBlock, HostileOffsetsAndLoopsAreSurvived) {
    Bytes good = MakeExifBlock();
    auto with32 = [](Bytes bytes, size_t at, uint32_t value) {
        for (int i = 0; i < 4; ++i)
            bytes.at(at + i) = uint8_t(value >> (8 * i));
        return bytes;
    };
    auto with16 = [](Bytes bytes, size_t at, unsigned value) {
        bytes.at(at) = uint8_t(value);
        bytes.at(at + 1) = uint8_t(value >> 8);
        return bytes;
    };
    const struct {
        const char* name;
        Bytes block;
        bool parsed;
    } cases[] = {
        {"good", good, true},
        {"byte order", WithByte(good, 0, 'X'), false},
        {"magic", with16(good, 2, 43), false},
        {"too short", Truncated(good, 7), false},
        {"IFD0 beyond the block", with32(good, 4, 0xFFFFFFF0), true},
        {"entry count beyond the block", with16(good, 8, 0xFFFF), true},
        {"value offset beyond the block", with32(good, 18, 0xFFFFFFF0), true},
        {"value count overflows", with32(good, 14, 0xFFFFFFFF), true},
        {"sub-IFD beyond the block", with32(good, 54, 190), true},
        {"IFD chain loops to itself", with32(good, 58, 8), true},
        {"sub-IFD is IFD0", with32(good, 54, 8), true},
        {"cut inside the texts", Truncated(good, 120), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExifInfo info;
        EXPECT_EQ(ExifReader::Parse(c.block.data(), c.block.size(), info), c.parsed);
        EXPECT_EQ(info.present, c.parsed);
        EXPECT_LT(std::strlen(info.make), sizeof(info.make));
        EXPECT_LT(std::strlen(info.dateTime), sizeof(info.dateTime));
    }
    // A damaged value only loses that value.
    ExifInfo info;
    Bytes badMake = with32(good, 18, 0xFFFFFFF0);
    ASSERT_TRUE(ExifReader::Parse(badMake.data(), badMake.size(), info));
    EXPECT_STREQ(info.make, "");
    EXPECT_STREQ(info.model, "Z1");
}

} // namespace
