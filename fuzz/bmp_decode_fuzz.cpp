// BMP decoding from a memory stream through the codec library's decoder, with the host's
// own bitmap and memory functions: any input fails cleanly or gives a bitmap within the caps.
#include "DecoderFuzz.h"
#include "codecs/bmp/BmpDecoder.h"
#include "corlist/image/ImageMemory.h"

namespace {

const corlist::CodecContext kContext = {corlist::CreateBitmap, corlist::ReleaseBitmap,
                                        corlist::ImageMemory::Allocate, corlist::ImageMemory::Free,
                                        nullptr, nullptr};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecoder(data, size, [] { return new bmpcodec::BmpDecoder(&kContext, nullptr); });
}
