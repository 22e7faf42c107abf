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

namespace {

bool ReadFrom(LPCWSTR path, ProfileSet& result) {
    result = ProfileSet();
    FileStream file(path, true);
    if (!file.Handle())
        return false;
    ProfileReader reader;
    return reader.Read(file, result);
}

} // namespace

bool ReadProfileFile(LPCWSTR path, ProfileSet& result) {
    if (!path)
        return false;
    if (ReadFrom(path, result))
        return true;
    // A writer that stopped between its write and its rename left the complete new text in
    // "<name>.new"; when the file itself is missing, that text is the file.
    if (GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES)
        return false;
    std::u16string temporary = std::u16string(path) + u".new";
    if (!ReadFrom(temporary.c_str(), result))
        return false;
    MoveFileExW(temporary.c_str(), path, 0);
    return true;
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
    // One replacing rename: the file holds its old or its new text at every moment.
    if (MoveFileExW(temporary.c_str(), path, MOVEFILE_REPLACE_EXISTING))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

} // namespace common
