// A stream over a block of memory it does not own (skin package entries, test data).
// The block never grows; a write moves the high-water mark that Size reports.
#pragma once

#include "common/Stream.h"

namespace common {

class MemoryStream : public Stream {
public:
    MemoryStream(void* block, LONG size);

    HANDLE Handle() override { return m_block; }
    LONG Read(void* buffer, LONG count) override;
    LONG Write(const void* data, LONG count) override;
    LONG Seek(LONG offset, int origin) override;
    LONG Tell() override { return m_position; }
    // The high-water mark once something was written, else the block size.
    LONG Size() override { return m_highWater >= 0 ? m_highWater : m_size; }
    bool AtEnd() override { return Tell() >= Size(); }

private:
    LONG Remaining() const { return m_size - m_position; }

    BYTE* m_block = nullptr;
    LONG m_position = 0;
    LONG m_size = 0;
    LONG m_highWater = -1;
};

} // namespace common
