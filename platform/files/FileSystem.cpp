#include "files/FileSystem.h"

#include "ce/files.h"
#include "ce/kernel.h"
#include "device/Device.h"
#include "files/DevicePath.h"
#include "kernel/Utf.h"

#include <cerrno>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace platform {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

// Host name of the entry of `folder` that matches `name` without regard to case: the
// exact spelling when it exists, otherwise the first entry that folds equal.
std::optional<std::string> FindEntry(const std::filesystem::path& folder, const std::u16string& name) {
    std::string exact = ToUtf8(name);
    struct stat info;
    if (lstat((folder / exact).c_str(), &info) == 0)
        return exact;
    std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
    if (!dir)
        return std::nullopt;
    while (dirent* entry = readdir(dir.get())) {
        std::string_view hostName = entry->d_name;
        if (hostName == "." || hostName == "..")
            continue;
        if (EqualsNoCase(FromUtf8(hostName), name))
            return std::string(hostName);
    }
    return std::nullopt;
}

} // namespace

std::filesystem::path FileSystem::Root() {
    Device* device = Device::Current();
    return device ? device->FsRoot() : std::filesystem::path();
}

std::optional<ResolvedPath> FileSystem::Lookup(std::u16string_view devicePath, DWORD& error,
                                               bool wildcardLast) {
    std::filesystem::path root = Root();
    if (root.empty()) {
        error = ERROR_NOT_READY;
        return std::nullopt;
    }
    auto components = DevicePath::Split(devicePath, error, wildcardLast);
    if (!components)
        return std::nullopt;
    ResolvedPath result;
    result.host = root;
    result.exists = true;
    result.isDirectory = true;
    result.isRoot = components->empty();
    if (stat(root.c_str(), &result.info) != 0) {
        error = ERROR_NOT_READY;
        return std::nullopt;
    }
    std::vector<std::u16string> spelled;
    for (const auto& component : *components) {
        if (!result.exists || !result.isDirectory) {
            error = ERROR_PATH_NOT_FOUND;
            return std::nullopt;
        }
        auto entry = FindEntry(result.host, component);
        result.host /= entry ? *entry : ToUtf8(component);
        spelled.push_back(entry ? FromUtf8(*entry) : component);
        result.exists = entry && lstat(result.host.c_str(), &result.info) == 0;
        if (result.exists && S_ISLNK(result.info.st_mode)) {
            error = ERROR_ACCESS_DENIED;
            return std::nullopt;
        }
        result.isDirectory = result.exists && S_ISDIR(result.info.st_mode);
    }
    result.device = DevicePath::Join(spelled);
    return result;
}

std::optional<std::filesystem::path> FileSystem::Resolve(std::u16string_view devicePath,
                                                         bool mustExist) {
    DWORD error = ERROR_SUCCESS;
    auto resolved = Lookup(devicePath, error);
    if (resolved && mustExist && !resolved->exists)
        error = ERROR_FILE_NOT_FOUND;
    if (!resolved || error != ERROR_SUCCESS) {
        SetLastError(error);
        return std::nullopt;
    }
    return resolved->host;
}

std::optional<std::u16string> FileSystem::ToDevicePath(const std::filesystem::path& host) {
    std::filesystem::path root = Root();
    if (root.empty())
        return std::nullopt;
    std::filesystem::path relative = host.lexically_normal().lexically_relative(root.lexically_normal());
    if (relative.empty())
        return std::nullopt;
    std::vector<std::u16string> components;
    for (const auto& part : relative) {
        if (part == "..")
            return std::nullopt;
        if (part != "." && !part.empty())
            components.push_back(FromUtf8(part.string()));
    }
    return DevicePath::Join(components);
}

bool FileSystem::CreateFolders(std::u16string_view devicePath, DWORD& error) {
    auto components = DevicePath::Split(devicePath, error);
    if (!components)
        return false;
    std::vector<std::u16string> partial;
    for (const auto& component : *components) {
        partial.push_back(component);
        auto resolved = Lookup(DevicePath::Join(partial), error);
        if (!resolved)
            return false;
        if (resolved->exists && !resolved->isDirectory) {
            error = ERROR_PATH_NOT_FOUND;
            return false;
        }
        if (!resolved->exists && mkdir(resolved->host.c_str(), 0755) != 0 && errno != EEXIST) {
            error = ErrorFromErrno(errno);
            return false;
        }
    }
    return true;
}

DWORD FileSystem::ErrorFromErrno(int error) {
    switch (error) {
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case EACCES: case EPERM: case EROFS: case EISDIR: case ELOOP: return ERROR_ACCESS_DENIED;
    case ENOSPC: case EFBIG: case EDQUOT: return ERROR_DISK_FULL;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    default: return ERROR_ACCESS_DENIED;
    }
}

} // namespace platform
