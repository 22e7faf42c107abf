// Exported functions on files and folders by name: delete, move, copy, folders,
// attributes and temporary names.
#include "ce/files.h"
#include "ce/kernel.h"
#include "files/DevicePath.h"
#include "files/FileInfo.h"
#include "files/FileSystem.h"
#include "files/OpenFileTable.h"
#include "kernel/Utf.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace platform;

namespace {

BOOL Fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// Looks up a name that must exist; sets the last error and returns nullopt otherwise.
std::optional<ResolvedPath> LookupExisting(LPCWSTR name) {
    DWORD error = ERROR_SUCCESS;
    if (!name || !*name) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    auto path = FileSystem::Lookup(name, error);
    if (path && !path->exists)
        error = ERROR_FILE_NOT_FOUND;
    if (!path || !path->exists) {
        SetLastError(error);
        return std::nullopt;
    }
    return path;
}

FileIdentity IdentityOf(const ResolvedPath& path) { return {path.info.st_dev, path.info.st_ino}; }

// Copies the contents of `source` into a new temporary file beside `target` and
// renames it into place, so an interrupted copy never leaves a half target.
DWORD CopyContents(const ResolvedPath& source, const std::filesystem::path& target) {
    int in = open(source.host.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (in < 0)
        return FileSystem::ErrorFromErrno(errno);
    std::string temp = target.string() + ".~copy-XXXXXX";
    int out = mkostemp(temp.data(), O_CLOEXEC);
    if (out < 0) {
        close(in);
        return FileSystem::ErrorFromErrno(errno);
    }
    DWORD error = ERROR_SUCCESS;
    char buffer[65536];
    for (;;) {
        ssize_t n = read(in, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n < 0)
                error = ERROR_READ_FAULT;
            break;
        }
        for (ssize_t done = 0; done < n && error == ERROR_SUCCESS;) {
            ssize_t w = write(out, buffer + done, size_t(n - done));
            if (w < 0 && errno == EINTR)
                continue;
            if (w <= 0)
                error = w == 0 ? (DWORD)ERROR_DISK_FULL : FileSystem::ErrorFromErrno(errno);
            else
                done += w;
        }
        if (error != ERROR_SUCCESS)
            break;
    }
    if (error == ERROR_SUCCESS) {
        // The copy keeps the source's last write time and read-only attribute.
        struct timespec times[2] = {source.info.st_atim, source.info.st_mtim};
        futimens(out, times);
        fchmod(out, source.info.st_mode & 0777);
        if (fsync(out) != 0)
            error = FileSystem::ErrorFromErrno(errno);
    }
    close(in);
    close(out);
    if (error == ERROR_SUCCESS && rename(temp.c_str(), target.c_str()) != 0)
        error = FileSystem::ErrorFromErrno(errno);
    if (error != ERROR_SUCCESS)
        unlink(temp.c_str());
    return error;
}

// Host path for a new name: the existing parent folder plus the name as spelt.
std::optional<std::filesystem::path> NewNameTarget(LPCWSTR name, ResolvedPath& resolved) {
    DWORD error = ERROR_SUCCESS;
    if (!name || !*name) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return std::nullopt;
    }
    auto path = FileSystem::Lookup(name, error);
    if (!path) {
        SetLastError(error);
        return std::nullopt;
    }
    if (path->isRoot) {
        SetLastError(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    resolved = *path;
    return path->host.parent_path() / ToUtf8(DevicePath::FileName(name));
}

} // namespace

CE_API BOOL DeleteFileW(LPCWSTR fileName) {
    auto path = LookupExisting(fileName);
    if (!path)
        return FALSE;
    if (path->isDirectory)
        return Fail(ERROR_ACCESS_DENIED);
    if (FileInfo::IsReadOnly(path->info))
        return Fail(ERROR_ACCESS_DENIED);
    if (!OpenFileTable::Instance().AllOpensShare(IdentityOf(*path), FILE_SHARE_DELETE))
        return Fail(ERROR_SHARING_VIOLATION);
    if (unlink(path->host.c_str()) != 0)
        return Fail(FileSystem::ErrorFromErrno(errno));
    return TRUE;
}

CE_API BOOL MoveFileW(LPCWSTR existingFileName, LPCWSTR newFileName) {
    return MoveFileExW(existingFileName, newFileName, 0);
}

CE_API BOOL MoveFileExW(LPCWSTR existingFileName, LPCWSTR newFileName, DWORD flags) {
    if (flags & ~DWORD(MOVEFILE_REPLACE_EXISTING))
        return Fail(ERROR_INVALID_PARAMETER);
    auto source = LookupExisting(existingFileName);
    if (!source)
        return FALSE;
    if (source->isRoot)
        return Fail(ERROR_ACCESS_DENIED);
    ResolvedPath target;
    auto targetHost = NewNameTarget(newFileName, target);
    if (!targetHost)
        return FALSE;
    // A new spelling of the same name is a rename, not a clash.
    bool sameFile = target.exists && target.host == source->host;
    bool replace = target.exists && !sameFile;
    if (replace && !(flags & MOVEFILE_REPLACE_EXISTING))
        return Fail(ERROR_ALREADY_EXISTS);
    // Only a file replaces a file, and only one that may be deleted now.
    if (replace && (source->isDirectory || target.isDirectory || FileInfo::IsReadOnly(target.info)))
        return Fail(ERROR_ACCESS_DENIED);
    if (replace && !OpenFileTable::Instance().AllOpensShare(IdentityOf(target), FILE_SHARE_DELETE))
        return Fail(ERROR_SHARING_VIOLATION);
    if (!source->isDirectory &&
        !OpenFileTable::Instance().AllOpensShare(IdentityOf(*source), FILE_SHARE_DELETE))
        return Fail(ERROR_SHARING_VIOLATION);
    if (replace)
        targetHost = target.host;
    // The replacing rename is atomic: the target holds either its old or its new contents.
    unsigned renameFlags = sameFile || replace ? 0 : RENAME_NOREPLACE;
    if (renameat2(AT_FDCWD, source->host.c_str(), AT_FDCWD, targetHost->c_str(), renameFlags) != 0)
        return Fail(errno == EEXIST ? (DWORD)ERROR_ALREADY_EXISTS : FileSystem::ErrorFromErrno(errno));
    return TRUE;
}

CE_API BOOL CopyFileW(LPCWSTR existingFileName, LPCWSTR newFileName, BOOL failIfExists) {
    auto source = LookupExisting(existingFileName);
    if (!source)
        return FALSE;
    if (source->isDirectory)
        return Fail(ERROR_ACCESS_DENIED);
    ResolvedPath target;
    auto targetHost = NewNameTarget(newFileName, target);
    if (!targetHost)
        return FALSE;
    if (target.exists) {
        if (failIfExists)
            return Fail(ERROR_FILE_EXISTS);
        if (target.isDirectory || FileInfo::IsReadOnly(target.info))
            return Fail(ERROR_ACCESS_DENIED);
        if (target.host == source->host ||
            !OpenFileTable::Instance().AllOpensShare(IdentityOf(target), FILE_SHARE_WRITE))
            return Fail(ERROR_SHARING_VIOLATION);
        targetHost = target.host;
    }
    DWORD error = CopyContents(*source, *targetHost);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

CE_API BOOL CreateDirectoryW(LPCWSTR pathName, LPSECURITY_ATTRIBUTES) {
    DWORD error = ERROR_SUCCESS;
    if (!pathName || !*pathName)
        return Fail(ERROR_PATH_NOT_FOUND);
    auto path = FileSystem::Lookup(pathName, error);
    if (!path)
        return Fail(error);
    if (path->exists)
        return Fail(ERROR_ALREADY_EXISTS);
    if (mkdir(path->host.c_str(), 0755) != 0)
        return Fail(FileSystem::ErrorFromErrno(errno));
    return TRUE;
}

CE_API BOOL RemoveDirectoryW(LPCWSTR pathName) {
    auto path = LookupExisting(pathName);
    if (!path)
        return FALSE;
    if (path->isRoot)
        return Fail(ERROR_ACCESS_DENIED);
    if (!path->isDirectory)
        return Fail(ERROR_DIRECTORY);
    if (rmdir(path->host.c_str()) != 0)
        return Fail(errno == EEXIST ? (DWORD)ERROR_DIR_NOT_EMPTY : FileSystem::ErrorFromErrno(errno));
    return TRUE;
}

CE_API DWORD GetFileAttributesW(LPCWSTR fileName) {
    auto path = LookupExisting(fileName);
    if (!path)
        return INVALID_FILE_ATTRIBUTES;
    return FileInfo::Attributes(path->host, path->info);
}

CE_API BOOL SetFileAttributesW(LPCWSTR fileName, DWORD attributes) {
    auto path = LookupExisting(fileName);
    if (!path)
        return FALSE;
    if (path->isRoot)
        return Fail(ERROR_ACCESS_DENIED);
    DWORD error = FileInfo::SetAttributes(path->host, path->info, attributes);
    return error == ERROR_SUCCESS ? TRUE : Fail(error);
}

CE_API DWORD GetTempPathW(DWORD bufferLength, LPWSTR buffer) {
    static constexpr std::u16string_view kTemp = u"\\Temp\\";
    if (!buffer || bufferLength <= kTemp.size())
        return DWORD(kTemp.size() + 1);
    kTemp.copy(buffer, kTemp.size());
    buffer[kTemp.size()] = 0;
    return DWORD(kTemp.size());
}

namespace {

// "<path>\<up to 3 prefix characters><hex number>.tmp"
std::u16string TempName(std::u16string_view folder, LPCWSTR prefix, UINT number) {
    std::u16string name(folder);
    if (name.empty() || (name.back() != u'\\' && name.back() != u'/'))
        name += u'\\';
    if (prefix)
        name += std::u16string_view(prefix).substr(0, 3);
    char hex[16];
    std::snprintf(hex, sizeof hex, "%X", number);
    for (const char* c = hex; *c; ++c)
        name += char16_t(*c);
    name += u".tmp";
    return name;
}

} // namespace

CE_API UINT GetTempFileNameW(LPCWSTR pathName, LPCWSTR prefixString, UINT unique,
                             LPWSTR tempFileName) {
    if (!pathName || !tempFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto folder = LookupExisting(pathName);
    if (!folder)
        return 0;
    if (!folder->isDirectory) {
        SetLastError(ERROR_DIRECTORY);
        return 0;
    }
    static std::atomic<UINT> counter{UINT(getpid())};
    UINT number = unique & 0xFFFF;
    std::u16string name;
    // With a number given, the name is only formed; otherwise a new empty file is made.
    bool formed = false;
    for (int attempt = 0; attempt <= 0xFFFF && !formed; ++attempt) {
        if (!unique && (number = counter.fetch_add(1) & 0xFFFF) == 0)
            continue;
        name = TempName(pathName, prefixString, number);
        if (name.size() >= MAX_PATH) {
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
            return 0;
        }
        formed = unique != 0;
        if (!formed) {
            HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS)
                return 0;
            formed = file != INVALID_HANDLE_VALUE;
            if (formed)
                CloseHandle(file);
        }
    }
    if (!formed) {
        SetLastError(ERROR_FILE_EXISTS);
        return 0;
    }
    name.copy(tempFileName, name.size());
    tempFileName[name.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return number;
}
