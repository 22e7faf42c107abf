// PNG decoding from a memory stream: any input fails cleanly or gives a bitmap within the caps.
#include "DecoderFuzz.h"
#include "corlist/image/PngDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return FuzzDecoder(data, size, [] { return new corlist::PngDecoder(nullptr); });
}
