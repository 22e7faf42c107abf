// BMP decoding from a memory stream through the codec library's decoder, with the host's
// own bitmap and memory functions: any input fails cleanly or gives a bitmap within the caps.
#include "codecs/bmp/BmpDecoder.h"
#include "common/MemoryStream.h"
#include "corlist/image/ImageBitmap.h"
#include "corlist/image/ImageMemory.h"

#include <cstdint>
#include <vector>

namespace {

const corlist::CodecContext kContext = {corlist::CreateBitmap, corlist::ReleaseBitmap,
                                        corlist::ImageMemory::Allocate, corlist::ImageMemory::Free,
                                        nullptr, nullptr};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 24))
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), LONG(copy.size()));
    const DWORD options[] = {corlist::kLoadTrueColour, corlist::kLoadKeepPalette};
    for (DWORD option : options) {
        stream.Seek(0, common::kSeekBegin);
        corlist::ImageDecoder* decoder = new bmpcodec::BmpDecoder(&kContext, nullptr);
        corlist::ImageBitmap bitmap;
        decoder->Decode(&stream, &bitmap, option, nullptr);
        corlist::ReleaseBitmap(&bitmap);
        decoder->Destroy();
    }
    return 0;
}
