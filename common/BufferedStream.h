// A read buffer in front of another stream (file or network): it answers every operation
// exactly as the inner stream would, but reads the inner stream in large pieces. Writes
// and seeks outside the buffered window pass straight through.
#pragma once

#include "common/Stream.h"

#include <memory>

namespace common {

class BufferedStream final : public Stream {
public:
    // bufferSize: bytes read from the inner stream at a time (clamped to 1 .. 16 MiB).
    // directReadSize: a Read that finds the buffer used up and still wants at least this many
    //   bytes goes straight to the caller's buffer, saving a copy (0 means bufferSize).
    // prefetch: fill the buffer at once, so the inner stream's first transfer (a network
    //   stream's connection) starts before the first Read.
    BufferedStream(StreamPtr inner, LONG bufferSize, LONG directReadSize, bool prefetch);

    HANDLE Handle() override { return m_inner->Handle(); }
    LONG Read(void* buffer, LONG count) override;
    LONG Write(const void* data, LONG count) override;
    LONG Seek(LONG offset, int origin) override;
    LONG Tell() override { return m_innerPosition - (m_length - m_offset); }
    LONG Size() override { return m_inner->Size(); }
    bool AtEnd() override { return Tell() >= Size(); }

private:
    bool Fill();
    // Puts the inner stream at the position the caller sees and forgets the buffer.
    void Drop();

    StreamPtr m_inner;
    std::unique_ptr<BYTE[]> m_buffer;
    LONG m_capacity = 0;
    LONG m_directReadSize = 0;
    // The inner stream's own position; the buffer holds the m_length bytes before it.
    LONG m_innerPosition = 0;
    LONG m_length = 0;
    LONG m_offset = 0;
};

} // namespace common
