// File access of the profile file, apart from its parsing and formatting so that those
// can be used (and tested) over memory alone.
#include "common/ProfileFile.h"

#include "common/FileStream.h"
#include "common/ProfileReader.h"
#include "common/ProfileWriter.h"

#include "ce/files.h"
#include "ce/kernel.h"

#include <algorithm>
#include <string>

namespace common {

namespace {

bool WriteAll(HANDLE file, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        DWORD chunk = DWORD(std::min<size_t>(text.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, text.data() + done, chunk, &written, nullptr) || written == 0)
            return false;
        done += written;
    }
    return FlushFileBuffers(file) != FALSE;
}

} // namespace

bool ReadProfileFile(LPCWSTR path, ProfileSet& result) {
    result = ProfileSet();
    FileStream file(path, true);
    if (!file.Handle())
        return false;
    ProfileReader reader;
    return reader.Read(file, result);
}

bool WriteProfileFile(LPCWSTR path, const ProfileRecord& base,
                      const std::vector<ProfileRecord>& scheduled) {
    if (!path)
        return false;
    std::string text = FormatProfileFile(base, scheduled);
    std::u16string temporary = std::u16string(path) + u".new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE || !file)
        return false;
    bool written = WriteAll(file, text);
    CloseHandle(file);
    if (!written) {
        DeleteFileW(temporary.c_str());
        return false;
    }
    if (MoveFileW(temporary.c_str(), path))
        return true;
    // MoveFileW does not replace an existing file. The new text is complete at this point,
    // so a failure after the delete keeps it in the temporary file.
    DeleteFileW(path);
    return MoveFileW(temporary.c_str(), path) != FALSE;
}

} // namespace common
