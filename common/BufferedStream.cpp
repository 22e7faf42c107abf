#include "common/BufferedStream.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace common {

namespace {
constexpr LONG kMaxBufferSize = 16 << 20;
}

BufferedStream::BufferedStream(StreamPtr inner, LONG bufferSize, LONG directReadSize,
                               bool prefetch)
    : m_inner(std::move(inner)) {
    m_capacity = std::clamp<LONG>(bufferSize, 1, kMaxBufferSize);
    m_buffer.reset(new (std::nothrow) BYTE[size_t(m_capacity)]);
    if (!m_buffer)
        m_capacity = 0; // every read then goes straight to the inner stream
    m_directReadSize = directReadSize > 0 ? directReadSize : std::max<LONG>(m_capacity, 1);
    m_innerPosition = std::max<LONG>(m_inner->Tell(), 0);
    if (prefetch)
        Fill();
}

bool BufferedStream::Fill() {
    m_length = m_offset = 0;
    if (m_capacity == 0)
        return false;
    LONG n = m_inner->Read(m_buffer.get(), m_capacity);
    if (n <= 0)
        return false;
    m_length = n;
    m_innerPosition += n;
    return true;
}

void BufferedStream::Drop() {
    if (m_offset < m_length) {
        LONG logical = Tell();
        LONG position = m_inner->Seek(logical, kSeekBegin);
        m_innerPosition = position >= 0 ? position : m_inner->Tell();
    }
    m_length = m_offset = 0;
}

// Reads until the count is met or the inner stream delivers nothing more, as a file or
// memory stream does in one call.
LONG BufferedStream::Read(void* buffer, LONG count) {
    if (count <= 0)
        return 0;
    BYTE* target = static_cast<BYTE*>(buffer);
    LONG done = 0;
    while (done < count) {
        if (m_offset < m_length) {
            LONG take = std::min(count - done, m_length - m_offset);
            std::memcpy(target + done, m_buffer.get() + m_offset, size_t(take));
            m_offset += take;
            done += take;
            continue;
        }
        m_length = m_offset = 0;
        if (count - done >= m_directReadSize || m_capacity == 0) {
            LONG n = m_inner->Read(target + done, count - done);
            if (n <= 0)
                break;
            m_innerPosition += n;
            done += n;
        } else if (!Fill()) {
            break;
        }
    }
    return done;
}

LONG BufferedStream::Write(const void* data, LONG count) {
    Drop();
    LONG n = m_inner->Write(data, count);
    if (n > 0)
        m_innerPosition += n;
    return n;
}

// A target inside the buffered window is reached without the inner stream: every stream
// would land exactly there. Anything else is the inner stream's own answer.
LONG BufferedStream::Seek(LONG offset, int origin) {
    if (m_length > 0 && (origin == kSeekBegin || origin == kSeekCurrent)) {
        int64_t target = origin == kSeekBegin ? int64_t(offset) : int64_t(Tell()) + offset;
        int64_t windowStart = int64_t(m_innerPosition) - m_length;
        if (target >= windowStart && target <= m_innerPosition) {
            m_offset = static_cast<LONG>(target - windowStart);
            return static_cast<LONG>(target);
        }
    }
    Drop();
    LONG position = m_inner->Seek(offset, origin);
    m_innerPosition = position >= 0 ? position : std::max<LONG>(m_inner->Tell(), 0);
    return position;
}

} // namespace common
