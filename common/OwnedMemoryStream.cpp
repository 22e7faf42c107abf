#include "common/OwnedMemoryStream.h"

#include <utility>

namespace common {

OwnedMemoryStream::OwnedMemoryStream(std::unique_ptr<BYTE[]> block, LONG size)
    : MemoryStream(block.get(), size), m_block(std::move(block)) {}

} // namespace common
