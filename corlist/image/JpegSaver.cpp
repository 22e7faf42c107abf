// SaveJpeg: the image's pixels as a platform bitmap, pushed into the installed JPEG
// encoder of the Imaging API, which writes into the caller's stream.
#include "corlist/image/ComStreamAdapter.h"
#include "corlist/image/ImageLoader.h"

#include "ce/imaging.h"

#include <new>
#include <vector>

namespace corlist {

namespace {

// Releases a COM pointer at the end of its scope.
template <typename T>
class ComRef {
public:
    ComRef() = default;
    explicit ComRef(T* pointer) : m_pointer(pointer) {}
    ~ComRef() {
        if (m_pointer)
            m_pointer->Release();
    }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;
    T* Get() const { return m_pointer; }
    T** Out() { return &m_pointer; }
    void** OutVoid() { return reinterpret_cast<void**>(&m_pointer); }
    T* operator->() const { return m_pointer; }

private:
    T* m_pointer = nullptr;
};

bool FormatOf(const ImageBitmap& bitmap, PixelFormatID& format) {
    switch (bitmap.BitsPerPixel()) {
    case 1:
    case 4: // widened to 8 bits first (WidenedRows)
    case 8: format = PixelFormat8bppIndexed; return true;
    case 16: // RGB565 is what the loader makes; other masks are not encoded
        format = PixelFormat16bppRGB565;
        return bitmap.header.biCompression != BI_BITFIELDS || bitmap.masks[0] == 0xF800;
    case 24: format = PixelFormat24bppRGB; return true;
    case 32: format = PixelFormat32bppARGB; return true;
    default: return false;
    }
}

// A 1- or 4-bit picture as 8-bit rows, top row first, with the same colour indexes: the
// encoder reads 8-bit indexed pixels, not packed ones.
class WidenedRows {
public:
    bool Make(const ImageBitmap& bitmap) {
        int bits = bitmap.BitsPerPixel();
        LONG width = bitmap.Width();
        m_stride = (width + 3) & ~LONG(3);
        try {
            m_bytes.assign(size_t(m_stride) * size_t(bitmap.Height()), 0);
        } catch (const std::bad_alloc&) {
            return false;
        }
        for (LONG y = 0; y < bitmap.Height(); ++y) {
            const BYTE* from = bitmap.Row(y);
            BYTE* to = m_bytes.data() + size_t(y) * size_t(m_stride);
            for (LONG x = 0; x < width; ++x) {
                to[x] = bits == 1 ? BYTE((from[x >> 3] >> (7 - (x & 7))) & 1)
                                  : BYTE((from[x >> 1] >> ((x & 1) ? 0 : 4)) & 0x0F);
            }
        }
        return true;
    }
    BYTE* Rows() { return m_bytes.data(); }
    LONG Stride() const { return m_stride; }

private:
    std::vector<BYTE> m_bytes;
    LONG m_stride = 0;
};

// The bottom-up DIB is walked from its top row with a negative stride.
BitmapData DataOf(const ImageBitmap& bitmap, PixelFormatID format) {
    BitmapData data{};
    data.Width = UINT(bitmap.Width());
    data.Height = UINT(bitmap.Height());
    data.PixelFormat = format;
    data.Stride = bitmap.topDown ? bitmap.stride : -bitmap.stride;
    data.Scan0 = bitmap.Row(0);
    return data;
}

bool SetPalette(IBitmapImage* platformBitmap, const ImageBitmap& bitmap) {
    struct {
        ColorPalette palette;
        DWORD more[255];
    } table{};
    // No count means a full table for the depth.
    UINT count = bitmap.header.biClrUsed ? bitmap.header.biClrUsed : 1u << bitmap.BitsPerPixel();
    table.palette.Count = count > 256 ? 256 : count;
    for (UINT i = 0; i < table.palette.Count; ++i) {
        const RGBQUAD& c = bitmap.colours[i];
        (&table.palette.Entries[0])[i] =
            0xFF000000u | (DWORD(c.rgbRed) << 16) | (DWORD(c.rgbGreen) << 8) | c.rgbBlue;
    }
    return SUCCEEDED(platformBitmap->SetPalette(&table.palette));
}

bool FindJpegEncoder(IImagingFactory* factory, CLSID& clsid) {
    UINT count = 0;
    ImageCodecInfo* encoders = nullptr;
    if (FAILED(factory->GetInstalledEncoders(&count, &encoders)))
        return false;
    bool found = false;
    for (UINT i = 0; i < count && !found; ++i) {
        const WCHAR* mime = encoders[i].MimeType;
        const char16_t* wanted = u"image/jpeg";
        while (mime && *mime && *wanted &&
               (*mime == *wanted || (*mime >= u'A' && *mime <= u'Z' && char16_t(*mime + 32) == *wanted)))
            ++mime, ++wanted;
        if (mime && !*mime && !*wanted) {
            clsid = encoders[i].Clsid;
            found = true;
        }
    }
    CoTaskMemFree(encoders);
    return found;
}

} // namespace

bool SaveJpeg(const Image* image, common::Stream* stream) {
    if (!image || !stream || image->Bitmap().IsEmpty())
        return false;
    const ImageBitmap& bitmap = image->Bitmap();
    PixelFormatID format;
    if (!FormatOf(bitmap, format))
        return false;
    ComRef<IImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_ImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IImagingFactory,
                                factory.OutVoid())))
        return false;
    BitmapData data = DataOf(bitmap, format);
    WidenedRows widened;
    if (bitmap.BitsPerPixel() < 8) {
        if (!widened.Make(bitmap))
            return false;
        data.Scan0 = widened.Rows();
        data.Stride = widened.Stride();
    }
    ComRef<IBitmapImage> platformBitmap;
    if (FAILED(factory->CreateBitmapFromBuffer(&data, platformBitmap.Out())))
        return false;
    if (bitmap.BitsPerPixel() <= 8 && !SetPalette(platformBitmap.Get(), bitmap))
        return false;
    ComRef<IImage> platformImage;
    CLSID encoderClsid;
    if (FAILED(platformBitmap->QueryInterface(IID_IImage, platformImage.OutVoid())) ||
        !FindJpegEncoder(factory.Get(), encoderClsid))
        return false;
    ComRef<ComStreamAdapter> target(ComStreamAdapter::Create(stream));
    ComRef<IImageEncoder> encoder;
    if (!target.Get() || FAILED(factory->CreateImageEncoderToStream(&encoderClsid, target.Get(), encoder.Out())))
        return false;
    HRESULT result;
    {
        ComRef<IImageSink> sink;
        result = encoder->GetEncodeSink(sink.Out());
        if (SUCCEEDED(result))
            result = platformImage->PushIntoSink(sink.Get());
    }
    HRESULT terminated = encoder->TerminateEncoder();
    return SUCCEEDED(result) && SUCCEEDED(terminated);
}

} // namespace corlist
