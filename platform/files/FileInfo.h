// Attributes and times of device files as the file API reports them. The read-only
// attribute is the host file's write permission; hidden, system, archive and temporary
// are kept in an extended attribute of the host file ("user.dialora.attributes").
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <filesystem>
#include <sys/stat.h>

namespace platform {

class FileInfo {
public:
    // FILE_ATTRIBUTE_* of a host file or folder (not following symbolic links).
    static DWORD Attributes(const std::filesystem::path& host, const struct stat& info);
    // Applies `attributes`; returns a Win32 error or ERROR_SUCCESS.
    static DWORD SetAttributes(const std::filesystem::path& host, const struct stat& info,
                               DWORD attributes);
    static bool IsReadOnly(const struct stat& info) { return (info.st_mode & S_IWUSR) == 0; }

    static FILETIME ToFileTime(const struct timespec& time);
    static FILETIME FromTicks(int64_t ticks);
    static struct timespec ToTimespec(int64_t ticks);
    // Creation time: the host's birth time where the file system keeps one, else the
    // last change time.
    static FILETIME CreationTime(int fd, const struct stat& info);
    // Stamps the last write time of an open file with the device clock, so that file
    // times follow a device clock that was set or frozen.
    static void TouchWithDeviceClock(int fd);
};

} // namespace platform
