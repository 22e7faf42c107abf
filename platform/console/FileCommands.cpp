// push, pull, ls and rm: files between the host and the device file system. Device paths
// resolve through FileSystem, so they match without regard to case and can never name
// anything outside the device folder (".." above the root and symbolic links are refused).
#include "ce/files.h"
#include "ce/kernel.h"
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "files/FileInfo.h"
#include "files/FileSystem.h"
#include "files/OpenFileTable.h"
#include "kernel/Utf.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <dirent.h>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

// Larger host files are refused: the device's storage is a phone's.
constexpr uintmax_t kMaxPushBytes = uintmax_t(256) << 20;

CommandResult Failure(DWORD error, const std::string& path) {
    return CommandResult::Error(ConsoleFormat::ErrorText(error) + ": " + path);
}

// The device path named by `text` when it exists; otherwise `failure` says why not.
std::optional<ResolvedPath> LookupExisting(const std::string& text, CommandResult& failure) {
    DWORD error = ERROR_SUCCESS;
    auto path = FileSystem::Lookup(FromUtf8(text), error);
    if (!path || !path->exists) {
        failure = Failure(path ? DWORD(ERROR_FILE_NOT_FOUND) : error, text);
        return std::nullopt;
    }
    return path;
}

// Resolves `path`; a folder that exists stands for `nameInFolder` inside it.
std::optional<ResolvedPath> LookupTarget(const std::string& path, std::u16string_view nameInFolder,
                                         DWORD& error) {
    auto target = FileSystem::Lookup(FromUtf8(path), error);
    if (target && target->exists && target->isDirectory && !nameInFolder.empty())
        target = FileSystem::Lookup(target->device + u"\\" + std::u16string(nameInFolder), error);
    return target;
}

bool ReadHostFile(const std::filesystem::path& file, std::string& content, std::string& error) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        error = "no such host file: " + file.string();
        return false;
    }
    uintmax_t size = std::filesystem::file_size(file, ec);
    if (ec || size > kMaxPushBytes) {
        error = ec ? "cannot read " + file.string() : "host file too large: " + file.string();
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    content.assign(static_cast<size_t>(size), '\0');
    if (!in.read(content.data(), static_cast<std::streamsize>(size)) || in.peek() != EOF) {
        error = "cannot read " + file.string();
        return false;
    }
    return true;
}

// Writes `content` to a new file beside `target` and renames it into place, so a failed
// push never leaves a half-written device file. Returns a Win32 error.
DWORD ReplaceFile(const std::filesystem::path& target, const std::string& content) {
    std::string temp = (target.parent_path() / ".dialora-push-XXXXXX").string();
    int fd = mkstemp(temp.data());
    if (fd < 0)
        return FileSystem::ErrorFromErrno(errno);
    int failure = fchmod(fd, 0644) == 0 ? 0 : errno;
    for (size_t done = 0; !failure && done < content.size();) {
        ssize_t n = write(fd, content.data() + done, content.size() - done);
        if (n > 0)
            done += size_t(n);
        else if (n == 0 || errno != EINTR)
            failure = n == 0 ? ENOSPC : errno;
    }
    if (!failure && fsync(fd) != 0)
        failure = errno;
    close(fd);
    if (!failure && rename(temp.c_str(), target.c_str()) != 0)
        failure = errno;
    if (failure) {
        unlink(temp.c_str());
        return FileSystem::ErrorFromErrno(failure);
    }
    return ERROR_SUCCESS;
}

CommandResult Push(const Console::Arguments& args, ConsoleOutput&) {
    if (args.size() != 2 || args[0].empty() || args[1].empty())
        return CommandResult::Usage();
    std::filesystem::path hostFile(args[0]);
    std::string content, reason;
    if (!ReadHostFile(hostFile, content, reason))
        return CommandResult::Error(reason);
    DWORD error = ERROR_SUCCESS;
    auto target = LookupTarget(args[1], FromUtf8(hostFile.filename().string()), error);
    if (!target)
        return Failure(error, args[1]);
    if (target->isRoot || target->isDirectory)
        return Failure(ERROR_ACCESS_DENIED, args[1]);
    if (target->exists) {
        // Replacing a file follows the device's rules: not a read-only one, not one a
        // program holds open without sharing writes.
        if (FileInfo::IsReadOnly(target->info))
            return Failure(ERROR_ACCESS_DENIED, args[1]);
        if (!OpenFileTable::Instance().AllOpensShare({target->info.st_dev, target->info.st_ino},
                                                     FILE_SHARE_WRITE))
            return Failure(ERROR_SHARING_VIOLATION, args[1]);
    }
    error = ReplaceFile(target->host, content);
    return error == ERROR_SUCCESS ? CommandResult::Ok() : Failure(error, args[1]);
}

CommandResult Pull(const Console::Arguments& args, ConsoleOutput&) {
    if (args.size() != 2 || args[0].empty() || args[1].empty())
        return CommandResult::Usage();
    CommandResult failure = CommandResult::Ok();
    auto source = LookupExisting(args[0], failure);
    if (!source)
        return failure;
    if (source->isDirectory)
        return Failure(ERROR_ACCESS_DENIED, args[0]);
    std::filesystem::path hostFile(args[1]);
    std::error_code ec;
    if (std::filesystem::is_directory(hostFile, ec))
        hostFile /= source->host.filename();
    std::filesystem::copy_file(source->host, hostFile,
                               std::filesystem::copy_options::overwrite_existing, ec);
    if (ec)
        return CommandResult::Error("cannot write " + hostFile.string() + ": " + ec.message());
    return CommandResult::Ok();
}

struct Entry {
    std::u16string name;
    bool folder = false;
    uint64_t size = 0;
};

void PrintEntry(const Entry& entry, ConsoleOutput& out) {
    if (entry.folder)
        out.Line(ConsoleFormat::Word(entry.name + u"\\"));
    else
        out.Printf("%s %llu", ConsoleFormat::Word(entry.name).c_str(), (unsigned long long)entry.size);
}

// The entries of a host folder as the device lists them: symbolic links and special
// files are left out.
bool ListFolder(const std::filesystem::path& folder, std::vector<Entry>& entries) {
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return false;
    while (dirent* item = readdir(dir)) {
        std::string name = item->d_name;
        struct stat info {};
        if (name == "." || name == ".." || fstatat(dirfd(dir), item->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0)
            continue;
        if (S_ISDIR(info.st_mode) || S_ISREG(info.st_mode))
            entries.push_back({FromUtf8(name), S_ISDIR(info.st_mode), uint64_t(info.st_size)});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
        return FoldCase(a.name) < FoldCase(b.name);
    });
    return true;
}

CommandResult Ls(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() != 1 || args[0].empty())
        return CommandResult::Usage();
    CommandResult failure = CommandResult::Ok();
    auto path = LookupExisting(args[0], failure);
    if (!path)
        return failure;
    if (!path->isDirectory) {
        PrintEntry({std::u16string(path->host.filename().u16string()), false,
                    uint64_t(path->info.st_size)}, out);
        return CommandResult::Ok();
    }
    std::vector<Entry> entries;
    if (!ListFolder(path->host, entries))
        return Failure(FileSystem::ErrorFromErrno(errno), args[0]);
    for (const Entry& entry : entries)
        PrintEntry(entry, out);
    return CommandResult::Ok();
}

CommandResult Rm(const Console::Arguments& args, ConsoleOutput&) {
    if (args.size() != 1 || args[0].empty())
        return CommandResult::Usage();
    CommandResult failure = CommandResult::Ok();
    auto path = LookupExisting(args[0], failure);
    if (!path)
        return failure;
    // The device's own delete: read-only files, files held open and folders that are not
    // empty stay, as they would for a program.
    BOOL done = path->isDirectory ? RemoveDirectoryW(path->device.c_str()) : DeleteFileW(path->device.c_str());
    return done ? CommandResult::Ok() : Failure(GetLastError(), args[0]);
}

} // namespace

void RegisterFileCommands(Console& console) {
    console.Register("push", "HOSTFILE DEVICEPATH", Push);
    console.Register("pull", "DEVICEPATH HOSTFILE", Pull);
    console.Register("ls", "DEVICEPATH", Ls);
    console.Register("rm", "DEVICEPATH", Rm);
}

} // namespace platform
