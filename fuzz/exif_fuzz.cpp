// The EXIF reader: the input is an APP1 segment's data (after its length field).
#include "corlist/image/ExifReader.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const BYTE* block = nullptr;
    size_t blockSize = 0;
    corlist::ExifInfo info;
    if (corlist::ExifReader::BlockOf(data, size, &block, &blockSize))
        corlist::ExifReader::Parse(block, blockSize, info);
    // Also as a bare TIFF block, so the fuzzer need not find the signature first.
    corlist::ExifReader::Parse(data, size, info);
    if (std::strlen(info.make) >= sizeof(info.make) || std::strlen(info.dateTime) >= sizeof(info.dateTime))
        __builtin_trap();
    return 0;
}
