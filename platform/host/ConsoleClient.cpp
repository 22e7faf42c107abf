#include "host/ConsoleClient.h"

#include "console/ConsoleServer.h"
#include "console/UnixSocket.h"

#include <cerrno>
#include <cstdio>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace host {

namespace {

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        data += n;
        size -= size_t(n);
    }
    return true;
}

} // namespace

int ConsoleClient::Run(const std::filesystem::path& deviceFolder) {
    auto path = platform::ConsoleServer::SocketPathIn(deviceFolder);
    std::string error;
    int fd = platform::UnixSocket::Connect(path, error);
    if (fd < 0) {
        std::fprintf(stderr, "dialora: no device is running in %s (%s)\n",
                     deviceFolder.c_str(), error.c_str());
        return 1;
    }
    int status = Converse(fd);
    close(fd);
    return status;
}

int ConsoleClient::Converse(int socketFd) {
    bool inputOpen = true;
    char buffer[4096];
    while (true) {
        pollfd fds[2] = {{socketFd, POLLIN, 0}, {inputOpen ? 0 : -1, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            return 1;
        }
        if (fds[0].revents) {
            ssize_t n = read(socketFd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            // The device closed the connection: every answer has arrived.
            if (n <= 0)
                return 0;
            if (!WriteAll(1, buffer, size_t(n)))
                return 1;
        }
        if (fds[1].revents) {
            ssize_t n = read(0, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0) {
                // No more commands; the answers still pending follow.
                shutdown(socketFd, SHUT_WR);
                inputOpen = false;
            } else if (!platform::UnixSocket::SendAll(socketFd, std::string(buffer, size_t(n)))) {
                return 1;
            }
        }
    }
}

} // namespace host
