// A memory stream that owns its block: package entries and loose files read into memory.
#pragma once

#include "common/MemoryStream.h"

#include <memory>

namespace common {

class OwnedMemoryStream final : public MemoryStream {
public:
    // The stream covers the first `size` bytes of `block`.
    OwnedMemoryStream(std::unique_ptr<BYTE[]> block, LONG size);

private:
    std::unique_ptr<BYTE[]> m_block;
};

} // namespace common
