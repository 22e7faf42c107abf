#include "host/StandardInput.h"

#include "host/ShutdownSignal.h"

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace host {

StandardInput::~StandardInput() {
    if (m_thread.joinable())
        m_thread.join();
}

void StandardInput::Start() { m_thread = std::thread([this] { Run(); }); }

bool StandardInput::Next(platform::LineBuffer::Line& line) {
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return !m_lines.empty() || m_ended; });
    if (m_lines.empty())
        return false;
    line = std::move(m_lines.front());
    m_lines.pop_front();
    m_changed.notify_all();
    return true;
}

bool StandardInput::Queue(platform::LineBuffer& buffer) {
    platform::LineBuffer::Line line;
    while (buffer.Next(line)) {
        std::unique_lock lock(m_mutex);
        // Backpressure: a paste of a million lines is not all held at once.
        m_changed.wait(lock, [this] { return m_lines.size() < kMaxQueued || m_ended; });
        if (m_ended)
            return false;
        m_lines.push_back(std::move(line));
        m_changed.notify_all();
    }
    return true;
}

void StandardInput::End(bool dropLines) {
    std::lock_guard lock(m_mutex);
    if (dropLines)
        m_lines.clear();
    m_ended = true;
    m_changed.notify_all();
}

void StandardInput::Run() {
    platform::LineBuffer buffer;
    char chunk[4096];
    for (;;) {
        pollfd fds[2] = {{0, POLLIN, 0}, {ShutdownSignal::ReadFd(), POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR)
            break;
        if (fds[1].revents) {
            End(true);
            return;
        }
        if (!fds[0].revents)
            continue;
        ssize_t n = read(0, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        buffer.Append(chunk, size_t(n));
        if (!Queue(buffer))
            return;
    }
    buffer.Finish();
    if (isatty(0)) {
        End(true);
        m_onTerminalEnd();
        return;
    }
    Queue(buffer);
    End(false);
}

} // namespace host
