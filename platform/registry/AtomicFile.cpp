#include "registry/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        content.remove_prefix(static_cast<size_t>(written));
    }
    return true;
}

std::string Describe(const char* step, const std::filesystem::path& path) {
    return std::string(step) + " " + path.string() + ": " + std::strerror(errno);
}

} // namespace

bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content, std::string& error) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = Describe("cannot create", temporary);
        return false;
    }
    bool written = WriteAll(fd, content) && ::fsync(fd) == 0;
    if (!written)
        error = Describe("cannot write", temporary);
    if (::close(fd) != 0 && written) {
        error = Describe("cannot close", temporary);
        written = false;
    }
    if (!written || ::rename(temporary.c_str(), file.c_str()) != 0) {
        if (written)
            error = Describe("cannot replace", file);
        ::unlink(temporary.c_str());
        return false;
    }
    std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
    int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0 || ::fsync(dirFd) != 0) {
        // The new file is in place; only its durability across a power cut is in doubt.
        error = Describe("cannot sync folder", folder);
        if (dirFd >= 0)
            ::close(dirFd);
        return false;
    }
    ::close(dirFd);
    return true;
}

} // namespace platform
