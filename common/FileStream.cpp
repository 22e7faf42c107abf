#include "common/FileStream.h"

#include "ce/files.h"
#include "ce/kernel.h"

#include <cstdint>

namespace common {

FileStream::FileStream(LPCWSTR path, bool readOnly) {
    if (!path)
        return;
    DWORD access = readOnly ? GENERIC_READ : GENERIC_READ | GENERIC_WRITE;
    DWORD share = readOnly ? FILE_SHARE_READ : 0;
    DWORD disposition = readOnly ? OPEN_EXISTING : OPEN_ALWAYS;
    HANDLE file = CreateFileW(path, access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE || !file)
        return;
    m_file = file;
    m_open = true;
}

FileStream::~FileStream() {
    if (m_open)
        CloseHandle(m_file);
}

LONG FileStream::Read(void* buffer, LONG count) {
    DWORD done = 0;
    if (!m_open || count <= 0 || !ReadFile(m_file, buffer, DWORD(count), &done, nullptr))
        return 0;
    return static_cast<LONG>(done);
}

LONG FileStream::Write(const void* data, LONG count) {
    DWORD done = 0;
    if (!m_open || count <= 0 || !WriteFile(m_file, data, DWORD(count), &done, nullptr))
        return 0;
    return static_cast<LONG>(done);
}

LONG FileStream::Seek(LONG offset, int origin) {
    if (!m_open)
        return -1;
    DWORD position = SetFilePointer(m_file, offset, nullptr, DWORD(origin));
    return position == INVALID_SET_FILE_POINTER ? -1 : static_cast<LONG>(position);
}

LONG FileStream::Tell() { return Seek(0, kSeekCurrent); }

LONG FileStream::Size() {
    if (!m_open)
        return -1;
    DWORD high = 0;
    DWORD low = GetFileSize(m_file, &high);
    // INVALID_FILE_SIZE is beyond the 31-bit range as well, so one check covers failure.
    if (high != 0 || low > DWORD(INT32_MAX))
        return -1;
    return static_cast<LONG>(low);
}

} // namespace common
