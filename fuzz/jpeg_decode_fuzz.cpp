// JPEG decoding and header reading from a memory stream, at full and at reduced scale: any
// input fails cleanly or gives a bitmap within the caps.
#include "common/MemoryStream.h"
#include "corlist/image/JpegDecoder.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24))
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), LONG(copy.size()));
    corlist::JpegInfo info;
    corlist::ReadJpegStreamInfo(&stream, &info);
    for (int pass = 0; pass < 2; ++pass) {
        stream.Seek(0, common::kSeekBegin);
        corlist::ImageDecoder* decoder = new corlist::JpegDecoder(nullptr);
        corlist::ImageBitmap bitmap;
        corlist::ExifInfo exif;
        if (pass == 1) { // a thumbnail request
            bitmap.header.biWidth = -16;
            bitmap.header.biHeight = -16;
        }
        decoder->Decode(&stream, &bitmap, pass ? corlist::kLoadKeepPalette : corlist::kLoadTrueColour, &exif);
        corlist::ReleaseBitmap(&bitmap);
        decoder->Destroy();
    }
    return 0;
}
