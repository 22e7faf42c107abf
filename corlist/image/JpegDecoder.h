// The built-in codec's JPEG (and THM) decoder: true colour rows straight from libjpeg,
// grey pictures as 8-bit grey ramps when the palette is kept, reduced-scale decoding for
// a requested size, and the EXIF block.
#pragma once

#include "corlist/image/CodecRecord.h"

namespace corlist {

class JpegDecoder final : public ImageDecoder {
public:
    explicit JpegDecoder(AbortTest abortTest) : m_abortTest(abortTest) {}

    DWORD Decode(common::Stream* stream, ImageBitmap* bitmap, DWORD options, ExifInfo* info) override;
    void Cleanup() override {}
    void Destroy() override { delete this; }

private:
    ~JpegDecoder() = default;

    AbortTest m_abortTest;
};

// The header of a JPEG stream (ReadJpegInfo); kImageOk or a result code.
DWORD ReadJpegStreamInfo(common::Stream* stream, JpegInfo* info);

} // namespace corlist
