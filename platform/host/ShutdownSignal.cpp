#include "host/ShutdownSignal.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace host {

namespace {

std::atomic<bool> g_requested{false};
std::atomic<bool> g_signalled{false};
int g_pipe[2] = {-1, -1};

// Async-signal-safe: an atomic store and write(2) only.
void Wake() {
    g_requested.store(true);
    int saved = errno;
    char byte = 1;
    if (g_pipe[1] >= 0) {
        // A full pipe already wakes the reader, so a failed write loses nothing.
        [[maybe_unused]] ssize_t n = write(g_pipe[1], &byte, 1);
    }
    errno = saved;
}

void OnSignal(int) {
    g_signalled.store(true);
    Wake();
}

} // namespace

static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

bool ShutdownSignal::Install() {
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return false;
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // A console client that hangs up must not kill the device.
    signal(SIGPIPE, SIG_IGN);
    return true;
}

void ShutdownSignal::Request() { Wake(); }

bool ShutdownSignal::Requested() { return g_requested.load(); }

bool ShutdownSignal::Signalled() { return g_signalled.load(); }

int ShutdownSignal::ReadFd() { return g_pipe[0]; }

} // namespace host
