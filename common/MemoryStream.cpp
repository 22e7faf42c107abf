#include "common/MemoryStream.h"

#include <algorithm>
#include <cstring>

namespace common {

MemoryStream::MemoryStream(void* block, LONG size)
    : m_block(static_cast<BYTE*>(block)), m_size(std::max<LONG>(size, 0)) {}

LONG MemoryStream::Read(void* buffer, LONG count) {
    LONG n = std::min(count, Remaining());
    if (n <= 0 || !m_block)
        return 0;
    std::memcpy(buffer, m_block + m_position, static_cast<size_t>(n));
    m_position += n;
    return n;
}

LONG MemoryStream::Write(const void* data, LONG count) {
    LONG n = std::min(count, Remaining());
    if (n <= 0 || !m_block)
        return 0;
    std::memcpy(m_block + m_position, data, static_cast<size_t>(n));
    m_position += n;
    m_highWater = m_position;
    return n;
}

// Origin 2 counts back from the end: (3, 2) on ten bytes lands on 7. Positions are
// clamped to the block, never beyond it.
LONG MemoryStream::Seek(LONG offset, int origin) {
    int64_t target = 0;
    switch (origin) {
    case kSeekBegin:
        target = offset;
        break;
    case kSeekCurrent:
        target = int64_t(m_position) + offset;
        break;
    case kSeekEnd:
        target = int64_t(m_size) - offset;
        break;
    default:
        target = 0;
        break;
    }
    m_position = static_cast<LONG>(std::clamp<int64_t>(target, 0, m_size));
    return Tell();
}

} // namespace common
