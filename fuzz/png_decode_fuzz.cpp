// PNG decoding from a memory stream: any input fails cleanly or gives a bitmap within the caps.
#include "common/MemoryStream.h"
#include "corlist/image/PngDecoder.h"

#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24))
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), LONG(copy.size()));
    const DWORD options[] = {corlist::kLoadTrueColour, corlist::kLoadKeepPalette};
    for (DWORD option : options) {
        stream.Seek(0, common::kSeekBegin);
        corlist::ImageDecoder* decoder = new corlist::PngDecoder(nullptr);
        corlist::ImageBitmap bitmap;
        decoder->Decode(&stream, &bitmap, option, nullptr);
        corlist::ReleaseBitmap(&bitmap);
        decoder->Destroy();
    }
    return 0;
}
