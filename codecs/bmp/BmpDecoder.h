// Decoder of Windows bitmap files: 1, 4, 8, 16, 24 and 32 bits per pixel, BI_RGB and
// BI_BITFIELDS, bottom-up and top-down. Every size in the file is checked against the
// bitmap caps and what the stream really holds.
#pragma once

#include "corlist/image/CodecRecord.h"

namespace bmpcodec {

class BmpDecoder final : public corlist::ImageDecoder {
public:
    BmpDecoder(const corlist::CodecContext* context, corlist::AbortTest abortTest)
        : m_context(context), m_abortTest(abortTest) {}

    DWORD Decode(common::Stream* stream, corlist::ImageBitmap* bitmap, DWORD options,
                 corlist::ExifInfo* info) override;
    void Cleanup() override;
    void Destroy() override { delete this; }

private:
    ~BmpDecoder() { Cleanup(); }

    struct Layout;
    DWORD ReadLayout(common::Stream* stream, Layout& layout);
    DWORD ReadRows(common::Stream* stream, const Layout& layout, corlist::ImageBitmap* bitmap);

    const corlist::CodecContext* m_context;
    corlist::AbortTest m_abortTest;
    BYTE* m_row = nullptr; // one file row, from the host's allocator
};

} // namespace bmpcodec
