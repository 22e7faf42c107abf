#include "files/FileInfo.h"

#include "ce/files.h"
#include "files/FileSystem.h"
#include "kernel/DeviceClock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>

namespace platform {

namespace {

constexpr const char* kAttributeName = "user.dialora.attributes";
constexpr DWORD kStoredAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                    FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_TEMPORARY;
// 100 ns units between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;

} // namespace

DWORD FileInfo::Attributes(const std::filesystem::path& host, const struct stat& info) {
    bool folder = S_ISDIR(info.st_mode);
    DWORD stored = 0;
    ssize_t size = lgetxattr(host.c_str(), kAttributeName, &stored, sizeof stored);
    // A file never given attributes has the archive bit, as a freshly written file does.
    DWORD attributes = size == sizeof stored ? (stored & kStoredAttributes)
                                             : (folder ? 0 : FILE_ATTRIBUTE_ARCHIVE);
    if (folder)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    if (IsReadOnly(info))
        attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes ? attributes : FILE_ATTRIBUTE_NORMAL;
}

DWORD FileInfo::SetAttributes(const std::filesystem::path& host, const struct stat& info,
                              DWORD attributes) {
    DWORD stored = attributes & kStoredAttributes;
    if (lsetxattr(host.c_str(), kAttributeName, &stored, sizeof stored, 0) != 0)
        return errno == ENOTSUP ? (DWORD)ERROR_NOT_SUPPORTED : FileSystem::ErrorFromErrno(errno);
    mode_t mode = info.st_mode & 07777;
    mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~mode_t(0222)) : (mode | S_IWUSR);
    if (chmod(host.c_str(), mode) != 0)
        return FileSystem::ErrorFromErrno(errno);
    return ERROR_SUCCESS;
}

FILETIME FileInfo::FromTicks(int64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(uint64_t(ticks) & 0xFFFFFFFFu);
    time.dwHighDateTime = static_cast<DWORD>(uint64_t(ticks) >> 32);
    return time;
}

FILETIME FileInfo::ToFileTime(const struct timespec& time) {
    return FromTicks(int64_t(time.tv_sec) * 10000000 + time.tv_nsec / 100 + kUnixEpochTicks);
}

struct timespec FileInfo::ToTimespec(int64_t ticks) {
    int64_t unixTicks = ticks - kUnixEpochTicks;
    struct timespec time;
    time.tv_sec = unixTicks / 10000000;
    time.tv_nsec = (unixTicks % 10000000) * 100;
    if (time.tv_nsec < 0) {
        time.tv_nsec += 1000000000;
        time.tv_sec -= 1;
    }
    return time;
}

FILETIME FileInfo::CreationTime(int fd, const struct stat& info) {
    struct statx extended;
    if (statx(fd, "", AT_EMPTY_PATH, STATX_BTIME, &extended) == 0 &&
        (extended.stx_mask & STATX_BTIME)) {
        struct timespec birth{extended.stx_btime.tv_sec, extended.stx_btime.tv_nsec};
        return ToFileTime(birth);
    }
    return ToFileTime(info.st_ctim);
}

void FileInfo::TouchWithDeviceClock(int fd) {
    struct timespec times[2];
    times[0].tv_sec = 0;
    times[0].tv_nsec = UTIME_OMIT;
    times[1] = ToTimespec(DeviceClock::Instance().UtcTicks());
    futimens(fd, times);
}

} // namespace platform
