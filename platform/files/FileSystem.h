// Maps device paths onto the host folder of the device file system (Device::FsRoot()).
// Every component is matched without regard to case against the real directory
// entries, new names keep the spelling they were given, and nothing outside the
// device folder can be named: ".." above the root is refused and host symbolic links
// are never followed (a path through one is refused, listings leave them out).
// The file API, the console (push, pull, ls, rm) and the module loader all resolve
// paths here.
#pragma once

#include "ce/types.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace platform {

struct ResolvedPath {
    std::filesystem::path host;   // inside the device file system
    std::u16string device;        // canonical device path: the spelling found on disk
    bool exists = false;
    bool isDirectory = false;
    bool isRoot = false;
    struct stat info {};          // valid when `exists`
};

class FileSystem {
public:
    // Host folder of the running device's file system; empty when no device runs.
    static std::filesystem::path Root();

    // Resolves `devicePath`. The last component may be missing (`exists` false); a
    // missing or non-folder component before it gives ERROR_PATH_NOT_FOUND. Returns
    // nullopt with `error` set (ERROR_BAD_PATHNAME, ERROR_INVALID_NAME,
    // ERROR_ACCESS_DENIED for a symbolic link, ERROR_NOT_READY without a device).
    static std::optional<ResolvedPath> Lookup(std::u16string_view devicePath, DWORD& error,
                                              bool wildcardLast = false);
    // Host path of `devicePath`; with `mustExist` a missing file or folder gives
    // ERROR_FILE_NOT_FOUND. Sets the last error on failure.
    static std::optional<std::filesystem::path> Resolve(std::u16string_view devicePath,
                                                        bool mustExist);
    // Device path of a host path inside the device file system, or nullopt.
    static std::optional<std::u16string> ToDevicePath(const std::filesystem::path& host);

    // Creates `devicePath` and every missing folder above it (existing names matched
    // without regard to case). Returns false with `error` set.
    static bool CreateFolders(std::u16string_view devicePath, DWORD& error);

    // Win32 last error for a host errno.
    static DWORD ErrorFromErrno(int error);
};

} // namespace platform
