// Exported search functions: FindFirstFileW, FindNextFileW, FindClose.
#include "ce/files.h"
#include "ce/kernel.h"
#include "files/DevicePath.h"
#include "files/FileInfo.h"
#include "files/FileSystem.h"
#include "files/FindObject.h"
#include "files/Wildcard.h"
#include "kernel/HandleTable.h"
#include "kernel/Utf.h"

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

WIN32_FIND_DATAW MakeFindData(const std::filesystem::path& host, const struct stat& info,
                              std::u16string_view name) {
    WIN32_FIND_DATAW data{};
    data.dwFileAttributes = FileInfo::Attributes(host, info);
    data.ftCreationTime = FileInfo::ToFileTime(info.st_ctim);
    struct statx extended;
    if (statx(AT_FDCWD, host.c_str(), AT_SYMLINK_NOFOLLOW, STATX_BTIME, &extended) == 0 &&
        (extended.stx_mask & STATX_BTIME)) {
        struct timespec birth{extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec};
        data.ftCreationTime = FileInfo::ToFileTime(birth);
    }
    data.ftLastAccessTime = FileInfo::ToFileTime(info.st_atim);
    data.ftLastWriteTime = FileInfo::ToFileTime(info.st_mtim);
    if (!S_ISDIR(info.st_mode)) {
        data.nFileSizeHigh = DWORD(uint64_t(info.st_size) >> 32);
        data.nFileSizeLow = DWORD(uint64_t(info.st_size) & 0xFFFFFFFFu);
    }
    size_t length = std::min(name.size(), size_t(MAX_PATH - 1));
    name.copy(data.cFileName, length);
    data.cFileName[length] = 0;
    return data;
}

// Every entry of `folder` whose name matches `pattern`; symbolic links and names too
// long for a device path are left out.
std::vector<WIN32_FIND_DATAW> Collect(const std::filesystem::path& folder,
                                      std::u16string_view pattern) {
    std::vector<WIN32_FIND_DATAW> matches;
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return matches;
    while (dirent* entry = readdir(dir)) {
        std::string_view hostName = entry->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        std::u16string name = FromUtf8(hostName);
        if (name.size() >= MAX_PATH || !MatchWildcard(pattern, name))
            continue;
        std::filesystem::path host = folder / std::string(hostName);
        struct stat info;
        if (lstat(host.c_str(), &info) != 0 || S_ISLNK(info.st_mode))
            continue;
        matches.push_back(MakeFindData(host, info, name));
    }
    closedir(dir);
    std::sort(matches.begin(), matches.end(), [](const auto& a, const auto& b) {
        return FoldCase(a.cFileName) < FoldCase(b.cFileName);
    });
    return matches;
}

} // namespace

CE_API HANDLE FindFirstFileW(LPCWSTR fileName, LPWIN32_FIND_DATAW findData) {
    if (!fileName || !*fileName || !findData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::u16string_view pattern = DevicePath::FileName(fileName);
    DWORD error = ERROR_SUCCESS;
    auto folder = FileSystem::Lookup(DevicePath::Folder(fileName), error);
    if (folder && (!folder->exists || !folder->isDirectory))
        error = ERROR_PATH_NOT_FOUND;
    // The pattern is checked as a name, wildcards allowed.
    if (folder && error == ERROR_SUCCESS)
        DevicePath::Split(pattern, error, true);
    if (!folder || error != ERROR_SUCCESS || pattern.empty()) {
        SetLastError(error != ERROR_SUCCESS ? error : (DWORD)ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto matches = Collect(folder->host, pattern);
    if (matches.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<FindObject>(std::move(matches));
    search->Next(*findData);
    return HandleTable::Instance().Insert(search);
}

CE_API BOOL FindNextFileW(HANDLE findFile, LPWIN32_FIND_DATAW findData) {
    auto search = HandleTable::Instance().LookupAs<FindObject>(findFile, ObjectType::Find);
    if (!search || !findData) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (!search->Next(*findData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

CE_API BOOL FindClose(HANDLE findFile) {
    if (!HandleTable::Instance().LookupAs<FindObject>(findFile, ObjectType::Find) ||
        !HandleTable::Instance().Close(findFile)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
