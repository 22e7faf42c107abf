// A stream over one device file, through the platform's file API.
#pragma once

#include "common/Stream.h"

namespace common {

class FileStream final : public Stream {
public:
    // Read-only: read access, shared reading, existing file only. Otherwise read and write
    // access, no sharing, the file is opened or created. A failed open leaves Handle 0.
    FileStream(LPCWSTR path, bool readOnly);
    ~FileStream() override;

    HANDLE Handle() override { return m_file; }
    LONG Read(void* buffer, LONG count) override;
    LONG Write(const void* data, LONG count) override;
    LONG Seek(LONG offset, int origin) override;
    LONG Tell() override;
    // -1 when the size cannot be read or does not fit 31 bits.
    LONG Size() override;
    bool AtEnd() override { return Tell() >= Size(); }

private:
    HANDLE m_file = nullptr;
    bool m_open = false;
};

} // namespace common
