#include "imaging/JpegEncoder.h"

#include "imaging/JpegWriter.h"

#include <new>

namespace platform {

namespace {

constexpr UINT kMaxSide = 16384;
constexpr uint64_t kMaxPixels = 1ull << 26;

// One row of a pushed band in RGB order; false for a format the encoder does not read.
bool ConvertRow(const uint8_t* source, PixelFormat format, UINT width, const std::vector<DWORD>& palette,
                uint8_t* rgb) {
    for (UINT x = 0; x < width; ++x, rgb += 3) {
        uint32_t argb = 0;
        switch (format) {
        case PixelFormat8bppIndexed:
            argb = source[x] < palette.size() ? palette[source[x]] : 0;
            break;
        case PixelFormat16bppRGB565: {
            uint32_t v = source[2 * x] | (uint32_t(source[2 * x + 1]) << 8);
            uint32_t r = (v >> 11) & 0x1F, g = (v >> 5) & 0x3F, b = v & 0x1F;
            argb = (((r << 3) | (r >> 2)) << 16) | (((g << 2) | (g >> 4)) << 8) | ((b << 3) | (b >> 2));
            break;
        }
        case PixelFormat24bppRGB: // blue, green, red in memory
            argb = (uint32_t(source[3 * x + 2]) << 16) | (uint32_t(source[3 * x + 1]) << 8) | source[3 * x];
            break;
        case PixelFormat32bppRGB:
        case PixelFormat32bppARGB:
            argb = (uint32_t(source[4 * x + 2]) << 16) | (uint32_t(source[4 * x + 1]) << 8) | source[4 * x];
            break;
        default:
            return false;
        }
        rgb[0] = uint8_t(argb >> 16);
        rgb[1] = uint8_t(argb >> 8);
        rgb[2] = uint8_t(argb);
    }
    return true;
}

const WCHAR kCodecName[] = u"Built-in JPEG Codec";
const WCHAR kDllName[] = u"imaging.dll";
const WCHAR kDescription[] = u"JPEG";
const WCHAR kExtensions[] = u"*.JPG;*.JPEG;*.JPE;*.JFIF";
const WCHAR kMimeType[] = u"image/jpeg";

} // namespace

JpegEncoder* JpegEncoder::Create() { return new (std::nothrow) JpegEncoder(); }

const ImageCodecInfo& JpegEncoder::CodecInfo() {
    static const ImageCodecInfo info = {CLSID_JpegEncoder, ImageFormatJPEG, kCodecName, kDllName,
                                        kDescription,      kExtensions,     kMimeType,
                                        ImageCodecFlagsEncoder | ImageCodecFlagsBuiltin,
                                        1, 0, 0, nullptr, nullptr};
    return info;
}

JpegEncoder::~JpegEncoder() {
    if (m_stream)
        m_stream->Release();
}

HRESULT JpegEncoder::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IImageEncoder) {
        *object = static_cast<IImageEncoder*>(this);
    } else if (iid == IID_IImageSink) {
        *object = static_cast<IImageSink*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG JpegEncoder::Release() {
    ULONG remaining = 0;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT JpegEncoder::InitEncoder(IStream* stream) {
    if (!stream)
        return E_POINTER;
    if (m_stream)
        return E_UNEXPECTED;
    m_stream = stream;
    m_stream->AddRef();
    return S_OK;
}

HRESULT JpegEncoder::TerminateEncoder() {
    if (!m_stream)
        return E_UNEXPECTED;
    m_stream->Release();
    m_stream = nullptr;
    m_rgb = {};
    return S_OK;
}

HRESULT JpegEncoder::GetEncodeSink(IImageSink** sink) {
    if (!sink)
        return E_POINTER;
    *sink = nullptr;
    if (!m_stream || m_written)
        return E_UNEXPECTED;
    AddRef();
    *sink = this;
    return S_OK;
}

HRESULT JpegEncoder::BeginSink(ImageInfo* info, RECT* subarea) {
    if (!info)
        return E_POINTER;
    if (m_begun || !m_stream)
        return E_UNEXPECTED;
    if (info->Width == 0 || info->Height == 0 || info->Width > kMaxSide || info->Height > kMaxSide ||
        uint64_t(info->Width) * info->Height > kMaxPixels)
        return E_INVALIDARG;
    m_rgb.assign(size_t(info->Width) * info->Height * 3, 0);
    m_width = info->Width;
    m_height = info->Height;
    m_begun = true;
    if (subarea)
        *subarea = {0, 0, LONG(m_width), LONG(m_height)};
    return S_OK;
}

HRESULT JpegEncoder::SetPalette(const ColorPalette* palette) {
    if (!palette)
        return E_POINTER;
    if (palette->Count > 256)
        return E_INVALIDARG;
    m_palette.assign(palette->Entries, palette->Entries + palette->Count);
    return S_OK;
}

HRESULT JpegEncoder::PushPixelData(const RECT* rect, const BitmapData* data, BOOL lastPass) {
    if (!rect || !data || !data->Scan0)
        return E_POINTER;
    if (!m_begun)
        return E_UNEXPECTED;
    if (rect->left != 0 || rect->right != LONG(m_width) || rect->top < 0 || rect->bottom > LONG(m_height) ||
        rect->top >= rect->bottom || data->Width < m_width || LONG(data->Height) < rect->bottom - rect->top)
        return E_INVALIDARG;
    const auto* row = static_cast<const uint8_t*>(data->Scan0);
    for (LONG y = rect->top; y < rect->bottom; ++y, row += data->Stride) {
        if (!ConvertRow(row, data->PixelFormat, m_width, m_palette, &m_rgb[size_t(y) * m_width * 3]))
            return E_INVALIDARG;
    }
    return S_OK;
}

HRESULT JpegEncoder::EndSink(HRESULT status) {
    if (!m_begun)
        return E_UNEXPECTED;
    m_begun = false;
    if (FAILED(status))
        return status;
    bool written = WriteJpeg(m_rgb.data(), m_width, m_height, kQuality, m_stream);
    m_rgb = {};
    m_written = true;
    return written ? S_OK : E_FAIL;
}

} // namespace platform
