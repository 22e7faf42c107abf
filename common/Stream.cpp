// The opening functions that need no file system. OpenStream and OpenBufferedStream live
// in StreamOpen.cpp, so a program that only reads memory does not pull in the file API.
#include "common/Stream.h"

#include "common/MemoryStream.h"

#include <new>

namespace common {

int CheckStream(Stream* stream, Stream** result) {
    *result = nullptr;
    if (!stream)
        return -1;
    HANDLE handle = stream->Handle();
    if (!handle || handle == INVALID_HANDLE_VALUE) {
        stream->Release();
        return -1;
    }
    *result = stream;
    return 0;
}

int OpenMemoryStream(void* block, LONG size, Stream** result) {
    return CheckStream(new (std::nothrow) MemoryStream(block, size), result);
}

} // namespace common
