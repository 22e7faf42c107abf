// SaveJpeg: the image's pixels as a platform bitmap, pushed into the installed JPEG
// encoder of the Imaging API, which writes into the caller's stream.
#include "corlist/image/ComStreamAdapter.h"
#include "corlist/image/ImageLoader.h"

#include "ce/imaging.h"

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
    case 8: format = PixelFormat8bppIndexed; return true;
    case 16: // RGB565 is what the loader makes; other masks are not encoded
        format = PixelFormat16bppRGB565;
        return bitmap.header.biCompression != BI_BITFIELDS || bitmap.masks[0] == 0xF800;
    case 24: format = PixelFormat24bppRGB; return true;
    case 32: format = PixelFormat32bppARGB; return true;
    default: return false; // FIXME: 1- and 4-bit images would need widening to 8 bits first
    }
}

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
    table.palette.Count = bitmap.header.biClrUsed > 256 ? 256 : bitmap.header.biClrUsed;
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
