// Opening streams by path: device files now, network streams once the HTTP client exists.
#include "common/BufferedStream.h"
#include "common/FileStream.h"
#include "common/Stream.h"

#include "ce/kernel.h"

#include <new>

namespace common {

namespace {

bool IsHttpPath(LPCWSTR path) {
    static constexpr char16_t kScheme[] = u"http://";
    for (int i = 0; kScheme[i]; ++i) {
        char16_t c = path[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (c != kScheme[i])
            return false; // also stops at the terminator of a short path
    }
    return true;
}

} // namespace

int OpenStream(LPCWSTR path, bool readOnly, Stream** result) {
    *result = nullptr;
    if (!path)
        return -1;
    if (IsHttpPath(path)) {
        // FIXME: hand URLs to the HTTP input stream (30000 ms time-out) once the HTTP
        // client exists; until then a URL fails to open.
        SetLastError(ERROR_NOT_SUPPORTED);
        return -1;
    }
    return CheckStream(new (std::nothrow) FileStream(path, readOnly), result);
}

int OpenBufferedStream(LPCWSTR path, LONG bufferSize, LONG directReadSize, bool prefetch,
                       Stream** result) {
    *result = nullptr;
    if (!path)
        return -1;
    if (bufferSize == 0)
        return CheckStream(new (std::nothrow) FileStream(path, true), result);
    Stream* inner = nullptr;
    if (OpenStream(path, true, &inner) != 0)
        return -1;
    StreamPtr owned(inner); // released by the buffered stream, or here when it cannot be made
    Stream* buffered =
        new (std::nothrow) BufferedStream(std::move(owned), bufferSize, directReadSize, prefetch);
    return CheckStream(buffered, result);
}

} // namespace common
