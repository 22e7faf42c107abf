#include "pim/DeviceFileReader.h"

#include "ce/files.h"
#include "ce/kernel.h"
#include "ce/winerror.h"

namespace platform {

bool ReadDeviceFile(std::u16string_view path, size_t maxBytes, std::string& content, DWORD& error) {
    std::u16string name(path);
    HANDLE file = CreateFileW(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = GetLastError();
        return false;
    }
    DWORD high = 0;
    DWORD low = GetFileSize(file, &high);
    uint64_t size = (uint64_t(high) << 32) | low;
    bool ok = size <= maxBytes;
    error = ok ? 0 : DWORD(ERROR_NOT_ENOUGH_MEMORY);
    if (ok) {
        content.resize(size_t(size));
        DWORD read = 0;
        ok = size == 0 || (ReadFile(file, content.data(), DWORD(size), &read, nullptr) && read == size);
        if (!ok)
            error = ERROR_READ_FAULT;
    }
    CloseHandle(file);
    return ok;
}

} // namespace platform
