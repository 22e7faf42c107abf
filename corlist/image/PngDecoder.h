// The built-in codec's PNG decoder: palette pictures as 8-bit indexed when the palette is
// kept, otherwise 24-bit, or 32-bit with alpha when the file has transparency.
#pragma once

#include "corlist/image/CodecRecord.h"

namespace corlist {

class PngDecoder final : public ImageDecoder {
public:
    explicit PngDecoder(AbortTest abortTest) : m_abortTest(abortTest) {}

    // Decodes at full size: PNG has no reduced scale, and a larger picture meets any request.
    DWORD Decode(common::Stream* stream, ImageBitmap* bitmap, DWORD options, ExifInfo* info) override;
    void Cleanup() override {}
    void Destroy() override { delete this; }

private:
    ~PngDecoder() = default;

    AbortTest m_abortTest;
};

} // namespace corlist
