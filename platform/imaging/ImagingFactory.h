// The imaging factory (CLSID_ImagingFactory): bitmaps over caller memory, the installed
// encoders and encoders writing to a stream.
#pragma once

#include "ce/imaging.h"
#include "imaging/ComObject.h"

namespace platform {

class ImagingFactory final : public IImagingFactory {
public:
    // Registers the factory class with the COM class table (a boot step).
    static void RegisterClass();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    HRESULT CreateBitmapFromBuffer(BitmapData* data, IBitmapImage** bitmap) override;
    HRESULT GetInstalledEncoders(UINT* count, ImageCodecInfo** encoders) override;
    HRESULT CreateImageEncoderToStream(const CLSID* clsid, IStream* stream, IImageEncoder** encoder) override;

private:
    ImagingFactory() = default;
    ~ImagingFactory() = default;

    ComRefCount m_refs;
};

} // namespace platform
