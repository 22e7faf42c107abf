// Loading by path: the buffered stream over the device file (or URL). Kept apart from the
// stream decoding so code that reads only memory links without the file API.
#include "corlist/image/ImageLoader.h"

namespace corlist {

namespace {
constexpr LONG kStreamBuffer = 32768;
}

DWORD LoadImageFile(Image* image, LPCWSTR path, DWORD options) {
    if (!image || !path)
        return kImageBadArgument;
    common::Stream* stream = nullptr;
    if (common::OpenBufferedStream(path, kStreamBuffer, 0, false, &stream) != 0) {
        image->Empty();
        return kImageOpenFailed;
    }
    common::StreamPtr owned(stream);
    return LoadImageStream(image, stream, path, options, false);
}

} // namespace corlist
