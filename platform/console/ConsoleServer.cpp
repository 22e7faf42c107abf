#include "console/ConsoleServer.h"

#include "console/LineBuffer.h"
#include "console/UnixSocket.h"
#include "kernel/Trace.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace platform {

namespace {
// A client that stops reading its answers must not hold the console forever.
constexpr int kSendTimeoutSeconds = 5;
} // namespace

std::filesystem::path ConsoleServer::SocketPathIn(const std::filesystem::path& deviceFolder) {
    return deviceFolder / "console.sock";
}

bool ConsoleServer::Start(std::string& error) {
    if (pipe2(m_wake, O_CLOEXEC) != 0) {
        error = std::string("cannot create a pipe: ") + std::strerror(errno);
        return false;
    }
    m_listenFd = UnixSocket::Listen(m_path, error);
    if (m_listenFd < 0)
        return false;
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    Trace("console", "serving %s", m_path.c_str());
    return true;
}

void ConsoleServer::Stop() {
    if (m_acceptThread.joinable()) {
        char byte = 0;
        while (write(m_wake[1], &byte, 1) < 0 && errno == EINTR) {
        }
        m_acceptThread.join();
    }
    if (m_listenFd >= 0) {
        close(m_listenFd);
        m_listenFd = -1;
        unlink(m_path.c_str());
    }
    Reap(true);
    for (int& fd : m_wake) {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }
}

void ConsoleServer::AcceptLoop() {
    while (true) {
        pollfd fds[2] = {{m_listenFd, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR)
                continue;
            Trace("console", "poll failed: %s", std::strerror(errno));
            return;
        }
        if (fds[1].revents)
            return;
        if (fds[0].revents & POLLIN)
            Accept();
        Reap(false);
    }
}

void ConsoleServer::Accept() {
    int fd = accept4(m_listenFd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    timeval timeout{kSendTimeoutSeconds, 0};
    setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    std::lock_guard lock(m_clientsMutex);
    if (m_clients.size() >= size_t(kMaxClients)) {
        UnixSocket::SendAll(fd, "ERROR too many console clients\n");
        close(fd);
        return;
    }
    auto client = std::make_unique<Client>();
    client->fd = fd;
    Client* raw = client.get();
    m_clients.push_back(std::move(client));
    raw->thread = std::thread([this, raw] { Serve(*raw); });
}

void ConsoleServer::Serve(Client& client) {
    LineBuffer buffer;
    char chunk[4096];
    bool open = true;
    while (open) {
        ssize_t n = recv(client.fd, chunk, sizeof chunk, 0);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            buffer.Finish();
            open = false;
        } else {
            buffer.Append(chunk, size_t(n));
        }
        LineBuffer::Line line;
        while (buffer.Next(line)) {
            ConsoleAnswer answer;
            if (line.tooLong)
                answer.lines = {"ERROR line too long"};
            else
                answer = m_console.Execute(line.text);
            if (!answer.IsEmpty() && !UnixSocket::SendAll(client.fd, answer.Text())) {
                open = false;
                break;
            }
        }
    }
    // The client sees the end of the answers now; the descriptor is closed when reaped.
    shutdown(client.fd, SHUT_WR);
    client.done = true;
}

void ConsoleServer::Reap(bool all) {
    std::list<std::unique_ptr<Client>> ended;
    {
        std::lock_guard lock(m_clientsMutex);
        for (auto it = m_clients.begin(); it != m_clients.end();) {
            if (all || (*it)->done) {
                // Reading ends at once; a command already running still sends its answer.
                if (all)
                    shutdown((*it)->fd, SHUT_RD);
                ended.push_back(std::move(*it));
                it = m_clients.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (auto& client : ended) {
        client->thread.join();
        close(client->fd);
    }
}

} // namespace platform
