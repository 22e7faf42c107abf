// The input stream every reader takes its bytes from: skin descriptions, package entries,
// pictures, HTTP answers. The virtual operations keep the device interface's slot order,
// so a stream built here and one built by another module fill the same table.
#pragma once

#include "ce/types.h"

#include <memory>

namespace common {

// Origins of Seek.
constexpr int kSeekBegin = 0;
constexpr int kSeekCurrent = 1;
constexpr int kSeekEnd = 2;

class Stream {
public:
    // The native handle (file handle, start of the memory block); 0 or -1 means the stream
    // is not usable.
    virtual HANDLE Handle() = 0;
    virtual void NoOperation() {}
    // Returns the number of bytes read; a count of 0 or less reads nothing.
    virtual LONG Read(void* buffer, LONG count) = 0;
    virtual LONG Reserved3() { return 0; }
    // Returns the number of bytes written.
    virtual LONG Write(const void* data, LONG count) = 0;
    // Returns the new position, or -1 when the stream cannot seek.
    virtual LONG Seek(LONG offset, int origin) = 0;
    virtual LONG Tell() = 0;
    // The length in bytes; -1 when the stream does not know it.
    virtual LONG Size() = 0;
    virtual bool AtEnd() = 0;
    virtual LONG Reserved9() { return 0; }
    virtual void Reserved10() {}
    // Destroys the stream; the caller's pointer is dangling afterwards.
    virtual void Release() { delete this; }
    virtual ~Stream() = default;
};

struct StreamReleaser {
    void operator()(Stream* stream) const { stream->Release(); }
};
using StreamPtr = std::unique_ptr<Stream, StreamReleaser>;

// Every opening function ends with this check: a stream whose Handle is 0 or -1 is
// released and the result is -1 with *result null; otherwise 0 with *result = stream.
int CheckStream(Stream* stream, Stream** result);

// A stream over a caller-owned block, positioned at its start; the block must outlive the
// stream. A null block fails the check.
int OpenMemoryStream(void* block, LONG size, Stream** result);

// A file stream on a device path, read-only (shared reading, existing file only) or
// read-write (no sharing, opened or created). Paths beginning with "http://" (any case)
// name a network stream.
int OpenStream(LPCWSTR path, bool readOnly, Stream** result);

// With bufferSize 0 a read-only file stream (a URL then fails); otherwise a BufferedStream
// with a read buffer of bufferSize bytes over OpenStream(path, read-only). directReadSize
// and prefetch are the BufferedStream's tuning parameters (see there).
int OpenBufferedStream(LPCWSTR path, LONG bufferSize, LONG directReadSize, bool prefetch,
                       Stream** result);

} // namespace common
