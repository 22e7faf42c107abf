#include "ImageDevice.h"

#include "ce/imaging.h"
#include "common/MemoryStream.h"

#include <cstdlib>
#include <png.h>

using namespace corlist;
using namespace imagetest;

namespace {

class SaveJpegTest : public ImageDevice {
protected:
    void SetUp() override {
        ImageDevice::SetUp();
        ASSERT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    }
    void TearDown() override {
        CoUninitialize();
        ImageDevice::TearDown();
    }

    // Saves into a memory block and decodes the result; returns the bytes written.
    LONG RoundTrip(const Image& source, Image& decoded) {
        m_block.assign(1 << 20, 0);
        common::MemoryStream stream(m_block.data(), LONG(m_block.size()));
        if (!SaveJpeg(&source, &stream))
            return -1;
        LONG size = stream.Size();
        m_block.resize(size_t(size));
        EXPECT_EQ(Load(m_block, u"saved.jpg", 0, decoded), kImageOk);
        return size;
    }

    Bytes m_block;
};

double MeanError(const ImageBitmap& a, const ImageBitmap& b) {
    double total = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            Rgb p = PixelOf(a, x, y), q = PixelOf(b, x, y);
            total += std::abs(p.red - q.red) + std::abs(p.green - q.green) + std::abs(p.blue - q.blue);
        }
    }
    return total / (3.0 * a.Width() * a.Height());
}

TEST_F(SaveJpegTest, EveryDepthRoundTripsCloseToTheOriginal) {
    const struct {
        const char* name;
        PngSpec spec;
        DWORD options;
        int bits;
    } cases[] = {
        {"24-bit", {48, 32, PNG_COLOR_TYPE_RGB, 8}, 0, 24},
        {"32-bit", {48, 32, PNG_COLOR_TYPE_RGB_ALPHA, 8}, 0, 32},
        {"8-bit palette", {48, 32, PNG_COLOR_TYPE_GRAY, 8}, kLoadKeepPalette, 8},
        {"top-down 16-bit", {48, 32, PNG_COLOR_TYPE_RGB, 8}, 0, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Image source;
        ASSERT_EQ(Load(MakePng(c.spec), u"p.png", c.options, source), kImageOk);
        if (c.bits == 16) { // an RGB565 top-down copy of the picture
            ImageBitmap converted;
            ASSERT_EQ(CreateBitmap(&converted, source.Bitmap().Width(), -source.Bitmap().Height(), 16, nullptr, 0),
                      kImageOk);
            for (int y = 0; y < converted.Height(); ++y)
                for (int x = 0; x < converted.Width(); ++x) {
                    Rgb p = PixelOf(source.Bitmap(), x, y);
                    unsigned v = ((p.red >> 3) << 11) | ((p.green >> 2) << 5) | (p.blue >> 3);
                    converted.Row(y)[2 * x] = BYTE(v), converted.Row(y)[2 * x + 1] = BYTE(v >> 8);
                }
            source.ReplaceBitmap(converted);
        }
        if (c.bits == 8) { // a table that is not the identity: the encoder must look colours up
            for (int i = 0; i < 256; ++i)
                source.Bitmap().colours[i] = RGBQUAD{BYTE(i / 2), BYTE(255 - i), BYTE(i), 0};
        }
        ASSERT_EQ(source.Bitmap().BitsPerPixel(), c.bits);
        Image decoded;
        LONG size = RoundTrip(source, decoded);
        ASSERT_GT(size, 100);
        EXPECT_EQ(m_block[0], 0xFF);
        EXPECT_EQ(m_block[1], 0xD8);
        ASSERT_EQ(decoded.Bitmap().Width(), source.Bitmap().Width());
        ASSERT_EQ(decoded.Bitmap().Height(), source.Bitmap().Height());
        EXPECT_LT(MeanError(source.Bitmap(), decoded.Bitmap()), 6.0);
    }
}

// Packed pictures are saved through 8-bit rows with the same colour table: stripes of the
// table's colours come back as those colours.
TEST_F(SaveJpegTest, OneAndFourBitPicturesAreWidenedForTheEncoder) {
    for (int bits : {1, 4}) {
        SCOPED_TRACE(bits);
        const RGBQUAD table[16] = {{0, 0, 0, 0},     {255, 255, 255, 0}, {0, 0, 255, 0},
                                   {0, 255, 0, 0},   {255, 0, 0, 0},     {0, 255, 255, 0},
                                   {255, 0, 255, 0}, {255, 255, 0, 0},   {128, 128, 128, 0},
                                   {0, 0, 128, 0},   {0, 128, 0, 0},     {128, 0, 0, 0},
                                   {0, 128, 128, 0}, {128, 0, 128, 0},   {128, 128, 0, 0},
                                   {64, 64, 64, 0}};
        int colours = 1 << bits;
        Image source;
        ImageBitmap bitmap;
        ASSERT_EQ(CreateBitmap(&bitmap, 64, 40, bits, table, colours), kImageOk);
        // Vertical stripes 8 pixels wide, one colour each.
        for (LONG y = 0; y < bitmap.Height(); ++y) {
            for (LONG x = 0; x < bitmap.Width(); ++x) {
                int index = (x / 8) % colours;
                BYTE* row = bitmap.Row(y);
                if (bits == 1)
                    row[x >> 3] = BYTE(row[x >> 3] | (index << (7 - (x & 7))));
                else
                    row[x >> 1] = BYTE(row[x >> 1] | (index << ((x & 1) ? 0 : 4)));
            }
        }
        source.ReplaceBitmap(bitmap);
        Image decoded;
        ASSERT_GT(RoundTrip(source, decoded), 100);
        ASSERT_EQ(decoded.Bitmap().Width(), 64);
        for (LONG x = 4; x < 64; x += 8) { // the middle of each stripe
            const RGBQUAD& want = table[(x / 8) % colours];
            Rgb got = PixelOf(decoded.Bitmap(), x, 20);
            EXPECT_NEAR(got.red, want.rgbRed, 12) << x;
            EXPECT_NEAR(got.green, want.rgbGreen, 12) << x;
            EXPECT_NEAR(got.blue, want.rgbBlue, 12) << x;
        }
    }
}

TEST_F(SaveJpegTest, FailsWithoutComOrRoomOrPixels) {
    Image source;
    ASSERT_EQ(Load(MakePng({}), u"p.png", 0, source), kImageOk);
    Bytes tiny(64);
    common::MemoryStream full(tiny.data(), LONG(tiny.size()));
    EXPECT_FALSE(SaveJpeg(&source, &full)); // the stream cannot take the file
    Image empty;
    Bytes block(4096);
    common::MemoryStream stream(block.data(), LONG(block.size()));
    EXPECT_FALSE(SaveJpeg(&empty, &stream));
    CoUninitialize();
    EXPECT_FALSE(SaveJpeg(&source, &stream)); // this thread has no COM any more
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
}

TEST_F(SaveJpegTest, TheImagingFactoryIsACoClassOfTheDevice) {
    IImagingFactory* factory = nullptr;
    ASSERT_EQ(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    UINT count = 0;
    ImageCodecInfo* encoders = nullptr;
    ASSERT_EQ(factory->GetInstalledEncoders(&count, &encoders), S_OK);
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(std::u16string(encoders[0].MimeType), u"image/jpeg");
    EXPECT_TRUE(encoders[0].Clsid == CLSID_JpegEncoder);
    CoTaskMemFree(encoders);
    void* other = nullptr;
    EXPECT_EQ(factory->QueryInterface(IID_IImage, &other), E_NOINTERFACE);
    EXPECT_EQ(factory->Release(), 0u);
    const CLSID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(CoCreateInstance(unknown, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &other), REGDB_E_CLASSNOTREG);
    // Bitmaps over a buffer refuse formats and strides that do not fit.
    ASSERT_EQ(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    BYTE pixels[64] = {};
    BitmapData data = {4, 4, 4, PixelFormat24bppRGB, pixels, 0};
    IBitmapImage* bitmap = nullptr;
    EXPECT_EQ(factory->CreateBitmapFromBuffer(&data, &bitmap), E_INVALIDARG); // 12 bytes a row
    data.Stride = -12;
    ASSERT_EQ(factory->CreateBitmapFromBuffer(&data, &bitmap), S_OK);
    bitmap->Release();
    factory->Release();
}

TEST(Com, ClassesNeedAnInitialisedThread) {
    void* object = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory, &object),
              CO_E_NOTINITIALIZED);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_OK);
    EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory, &object),
              CO_E_NOTINITIALIZED);
}

} // namespace
