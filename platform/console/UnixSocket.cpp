#include "console/UnixSocket.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace platform {

namespace {

// Runs `call` on a socket address for `path`, through the folder's descriptor when the
// path does not fit the address.
template <typename Call>
int WithAddress(const std::filesystem::path& path, std::string& error, Call call) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::string text = path.string();
    int folderFd = -1;
    if (text.size() >= sizeof address.sun_path) {
        folderFd = open(path.parent_path().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (folderFd < 0) {
            error = "cannot open " + path.parent_path().string() + ": " + std::strerror(errno);
            return -1;
        }
        text = "/proc/self/fd/" + std::to_string(folderFd) + "/" + path.filename().string();
        if (text.size() >= sizeof address.sun_path) {
            close(folderFd);
            error = "socket name too long: " + path.filename().string();
            return -1;
        }
    }
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    int result = call(reinterpret_cast<sockaddr*>(&address), socklen_t(sizeof address));
    int saved = errno;
    if (folderFd >= 0)
        close(folderFd);
    errno = saved;
    return result;
}

int NewSocket(std::string& error) {
    int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        error = std::string("cannot create a socket: ") + std::strerror(errno);
    return fd;
}

// Removes a socket file nobody serves; refuses anything else at that path.
bool ClearStale(const std::filesystem::path& path, std::string& error) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0)
        return true;
    if (!S_ISSOCK(info.st_mode)) {
        error = path.string() + " exists and is not a socket";
        return false;
    }
    if (UnixSocket::IsServed(path)) {
        error = "another dialora is running on this device folder (" + path.string() + ")";
        return false;
    }
    unlink(path.c_str());
    return true;
}

} // namespace

int UnixSocket::Listen(const std::filesystem::path& path, std::string& error) {
    if (!ClearStale(path, error))
        return -1;
    int fd = NewSocket(error);
    if (fd < 0)
        return -1;
    int bound = WithAddress(path, error, [fd](const sockaddr* address, socklen_t size) {
        return bind(fd, address, size);
    });
    if (bound != 0 || chmod(path.c_str(), 0600) != 0 || listen(fd, 8) != 0) {
        if (error.empty())
            error = "cannot listen on " + path.string() + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

int UnixSocket::Connect(const std::filesystem::path& path, std::string& error) {
    int fd = NewSocket(error);
    if (fd < 0)
        return -1;
    int connected = WithAddress(path, error, [fd](const sockaddr* address, socklen_t size) {
        int result;
        do
            result = connect(fd, address, size);
        while (result != 0 && errno == EINTR);
        return result;
    });
    if (connected != 0) {
        if (error.empty())
            error = "cannot connect to " + path.string() + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}

bool UnixSocket::IsServed(const std::filesystem::path& path) {
    std::string error;
    int fd = Connect(path, error);
    if (fd < 0)
        return false;
    close(fd);
    return true;
}

bool UnixSocket::SendAll(int fd, const std::string& data) {
    size_t sent = 0;
    while (sent < data.size()) {
        ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += size_t(n);
    }
    return true;
}

} // namespace platform
