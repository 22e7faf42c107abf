// Reads the EXIF block of a JPEG file: the APP1 segment check and the TIFF structure
// (byte order, IFD0, the EXIF sub-IFD) into ExifInfo. Every offset and count is bounded by
// the block, and the chain of IFDs is limited, so any input is safe to hand in.
#pragma once

#include "corlist/image/ExifInfo.h"

#include <cstddef>

namespace corlist {

class ExifReader {
public:
    // Blocks of this size or more are ignored.
    static constexpr size_t kMaxBlock = 65000;
    static constexpr int kMaxIfds = 4;

    // The TIFF block inside the data of an APP1 segment (the bytes after its length field):
    // "Exif", a zero byte and one more byte come first. False when it is not an EXIF
    // segment or the block is empty or too large.
    static bool BlockOf(const BYTE* segment, size_t length, const BYTE** block, size_t* size);
    // Fills `info` from the TIFF block; false (info untouched but `present` false) when it
    // is not one.
    static bool Parse(const BYTE* block, size_t size, ExifInfo& info);
};

} // namespace corlist
