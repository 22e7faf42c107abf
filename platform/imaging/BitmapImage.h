// A bitmap image over pixels the caller keeps (CreateBitmapFromBuffer): it describes them,
// holds a palette for indexed formats, and pushes them into an encoder's sink.
#pragma once

#include "ce/imaging.h"
#include "imaging/ComObject.h"

#include <vector>

namespace platform {

class BitmapImage final : public IBitmapImage, public IImage {
public:
    // Null when the format is not one the platform encodes or the size is empty.
    static BitmapImage* Create(const BitmapData& data);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    HRESULT GetSize(SIZE* size) override;
    HRESULT GetPixelFormatID(PixelFormatID* format) override;
    HRESULT LockBits(const RECT* rect, UINT flags, PixelFormatID format, BitmapData* data) override;
    HRESULT UnlockBits(const BitmapData* data) override;
    HRESULT GetPalette(ColorPalette** palette) override;
    HRESULT SetPalette(const ColorPalette* palette) override;

    HRESULT GetImageInfo(ImageInfo* info) override;
    HRESULT PushIntoSink(IImageSink* sink) override;

private:
    explicit BitmapImage(const BitmapData& data) : m_data(data) {}
    ~BitmapImage() = default;

    ComRefCount m_refs;
    BitmapData m_data;
    std::vector<DWORD> m_palette; // ARGB entries
    UINT m_paletteFlags = 0;
};

} // namespace platform
