// The installed JPEG encoder: its sink collects the pushed rows as RGB, and the picture is
// compressed into the stream when the sink ends.
#pragma once

#include "ce/imaging.h"
#include "imaging/ComObject.h"

#include <vector>

namespace platform {

class JpegEncoder final : public IImageEncoder, public IImageSink {
public:
    static constexpr int kQuality = 90;

    static JpegEncoder* Create();
    // The entry GetInstalledEncoders reports for this encoder.
    static const ImageCodecInfo& CodecInfo();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    HRESULT InitEncoder(IStream* stream) override;
    HRESULT TerminateEncoder() override;
    HRESULT GetEncodeSink(IImageSink** sink) override;

    HRESULT BeginSink(ImageInfo* info, RECT* subarea) override;
    HRESULT EndSink(HRESULT status) override;
    HRESULT SetPalette(const ColorPalette* palette) override;
    HRESULT PushPixelData(const RECT* rect, const BitmapData* data, BOOL lastPass) override;

private:
    JpegEncoder() = default;
    ~JpegEncoder();

    ComRefCount m_refs;
    IStream* m_stream = nullptr; // referenced from InitEncoder to TerminateEncoder
    bool m_begun = false;
    bool m_written = false;
    UINT m_width = 0;
    UINT m_height = 0;
    std::vector<DWORD> m_palette;
    std::vector<uint8_t> m_rgb; // the whole picture, 3 bytes a pixel
};

} // namespace platform
