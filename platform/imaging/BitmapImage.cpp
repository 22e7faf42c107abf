#include "imaging/BitmapImage.h"

#include <cstring>
#include <new>

namespace platform {

namespace {

bool IsEncodableFormat(PixelFormat format) {
    return format == PixelFormat8bppIndexed || format == PixelFormat16bppRGB565 ||
           format == PixelFormat24bppRGB || format == PixelFormat32bppRGB || format == PixelFormat32bppARGB;
}

constexpr UINT kMaxSide = 16384;

ColorPalette* CopyPalette(const std::vector<DWORD>& entries, UINT flags) {
    size_t bytes = sizeof(ColorPalette) + sizeof(DWORD) * (entries.empty() ? 0 : entries.size() - 1);
    auto* palette = static_cast<ColorPalette*>(CoTaskMemAlloc(bytes));
    if (!palette)
        return nullptr;
    palette->Flags = flags;
    palette->Count = UINT(entries.size());
    if (!entries.empty())
        std::memcpy(palette->Entries, entries.data(), entries.size() * sizeof(DWORD));
    return palette;
}

} // namespace

BitmapImage* BitmapImage::Create(const BitmapData& data) {
    if (!data.Scan0 || data.Width == 0 || data.Height == 0 || data.Width > kMaxSide ||
        data.Height > kMaxSide || !IsEncodableFormat(data.PixelFormat))
        return nullptr;
    // A row must fit in the stride the caller gave.
    uint64_t rowBytes = (uint64_t(data.Width) * GetPixelFormatSize(data.PixelFormat) + 7) / 8;
    uint64_t stride = data.Stride < 0 ? uint64_t(-int64_t(data.Stride)) : uint64_t(data.Stride);
    if (stride < rowBytes)
        return nullptr;
    return new (std::nothrow) BitmapImage(data);
}

HRESULT BitmapImage::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IBitmapImage) {
        *object = static_cast<IBitmapImage*>(this);
    } else if (iid == IID_IImage) {
        *object = static_cast<IImage*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG BitmapImage::Release() {
    ULONG remaining = 0;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT BitmapImage::GetSize(SIZE* size) {
    if (!size)
        return E_POINTER;
    size->cx = LONG(m_data.Width);
    size->cy = LONG(m_data.Height);
    return S_OK;
}

HRESULT BitmapImage::GetPixelFormatID(PixelFormatID* format) {
    if (!format)
        return E_POINTER;
    *format = m_data.PixelFormat;
    return S_OK;
}

HRESULT BitmapImage::LockBits(const RECT* rect, UINT flags, PixelFormatID format, BitmapData* data) {
    if (!data)
        return E_POINTER;
    // FIXME: locking converts no formats and no sub-rectangles; only the whole bitmap in
    // its own format is handed out.
    if (rect || format != m_data.PixelFormat || (flags & ImageLockModeUserInputBuf))
        return E_NOTIMPL;
    *data = m_data;
    return S_OK;
}

HRESULT BitmapImage::UnlockBits(const BitmapData* data) { return data ? S_OK : E_POINTER; }

HRESULT BitmapImage::GetPalette(ColorPalette** palette) {
    if (!palette)
        return E_POINTER;
    *palette = CopyPalette(m_palette, m_paletteFlags);
    return *palette ? S_OK : E_OUTOFMEMORY;
}

HRESULT BitmapImage::SetPalette(const ColorPalette* palette) {
    if (!palette)
        return E_POINTER;
    if (palette->Count > 256)
        return E_INVALIDARG;
    m_palette.assign(palette->Entries, palette->Entries + palette->Count);
    m_paletteFlags = palette->Flags;
    return S_OK;
}

HRESULT BitmapImage::GetImageInfo(ImageInfo* info) {
    if (!info)
        return E_POINTER;
    *info = ImageInfo{};
    info->PixelFormat = m_data.PixelFormat;
    info->Width = m_data.Width;
    info->Height = m_data.Height;
    info->TileWidth = m_data.Width;
    info->TileHeight = 1;
    info->Xdpi = info->Ydpi = 96.0;
    info->Flags = IMGFLAG_COLORSPACE_RGB | ((m_data.PixelFormat & PixelFormatAlpha) ? IMGFLAG_HASALPHA : 0);
    return S_OK;
}

HRESULT BitmapImage::PushIntoSink(IImageSink* sink) {
    if (!sink)
        return E_POINTER;
    if ((m_data.PixelFormat & PixelFormatIndexed) && m_palette.empty())
        return E_UNEXPECTED; // an indexed bitmap cannot be encoded without its colours
    ImageInfo info;
    GetImageInfo(&info);
    HRESULT result = sink->BeginSink(&info, nullptr);
    if (SUCCEEDED(result) && (m_data.PixelFormat & PixelFormatIndexed)) {
        ColorPalette* palette = CopyPalette(m_palette, m_paletteFlags);
        result = palette ? sink->SetPalette(palette) : E_OUTOFMEMORY;
        CoTaskMemFree(palette);
    }
    if (SUCCEEDED(result)) {
        RECT all = {0, 0, LONG(m_data.Width), LONG(m_data.Height)};
        result = sink->PushPixelData(&all, &m_data, TRUE);
    }
    HRESULT ended = sink->EndSink(result);
    return FAILED(result) ? result : ended;
}

} // namespace platform
