#include "corlist/image/PngDecoder.h"

#include "corlist/image/PngReader.h"

namespace corlist {

DWORD PngDecoder::Decode(common::Stream* stream, ImageBitmap* bitmap, DWORD options, ExifInfo* info) {
    if (!stream || !bitmap)
        return kImageBadArgument;
    if (info)
        *info = ExifInfo{};
    PngJob job{};
    job.stream = stream;
    job.bitmap = bitmap;
    job.options = options;
    job.abortTest = m_abortTest;
    return DecodePng(&job);
}

} // namespace corlist
