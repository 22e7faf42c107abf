// One entry of an open skin package as the reader keeps it.
#pragma once

#include "common/Stream.h"

#include <cstdint>
#include <string>

namespace common {

struct SkinPackageEntry {
    uint32_t dataOffset = 0;
    uint32_t dataSize = 0;
    uint32_t nameHash = 0;
    uint16_t nameBytes = 0; // with the terminator, as in the file
    std::u16string name;
    // The entry's data with its stream, for an entry opened with the keep flag; the
    // stream owns the data.
    StreamPtr cached;
};

} // namespace common
