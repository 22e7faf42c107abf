#include "kernel/WaitHub.h"

#include "kernel/DeviceClock.h"

#include <thread>

namespace platform {

namespace {
thread_local bool t_emulated = false;
}

WaitHub& WaitHub::Instance() {
    static WaitHub hub;
    return hub;
}

bool WaitHub::Wait(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
                   std::optional<HostClock::time_point> deadline, bool untilClockChange) {
    if (ready())
        return true;
    const uint64_t epoch = m_clockEpoch;
    // Only emulated threads count for idleness; a foreign thread (console, test body)
    // waiting here must not make the device look busy or idle.
    auto it = t_emulated ? m_waiters.insert(m_waiters.end(), Waiter{&ready}) : m_waiters.end();
    bool result = true;
    while (!ready()) {
        if (untilClockChange && m_clockEpoch != epoch) {
            result = false;
            break;
        }
        if (deadline) {
            if (m_changed.wait_until(lock, *deadline) == std::cv_status::timeout && !ready()) {
                result = false;
                break;
            }
        } else {
            m_changed.wait(lock);
        }
    }
    if (it != m_waiters.end())
        m_waiters.erase(it);
    // An idle check may be waiting for this thread to block again.
    m_changed.notify_all();
    return result;
}

void WaitHub::ClockChanged() {
    std::lock_guard lock(m_mutex);
    ++m_clockEpoch;
    m_changed.notify_all();
}

uint64_t WaitHub::AddDueSource(DueSource source) {
    uint64_t id = m_nextDueId++;
    m_dueSources.emplace_back(id, std::move(source));
    return id;
}

void WaitHub::RemoveDueSource(uint64_t id) {
    m_dueSources.remove_if([id](const auto& entry) { return entry.first == id; });
}

void WaitHub::ThreadStarted() { ++m_liveThreads; }

void WaitHub::ThreadEnded() {
    --m_liveThreads;
    m_changed.notify_all();
}

bool WaitHub::IsEmulatedThread() { return t_emulated; }

void WaitHub::MarkEmulatedThread(bool emulated) { t_emulated = emulated; }

bool WaitHub::IsIdleLocked() const {
    if (static_cast<int>(m_waiters.size()) < m_liveThreads)
        return false;
    for (const Waiter& waiter : m_waiters)
        if ((*waiter.ready)())
            return false;
    auto next = NextDueLocked();
    return !next || *next > DeviceClock::Instance().MonotonicMs();
}

std::optional<int64_t> WaitHub::NextDueLocked() const {
    std::optional<int64_t> next;
    for (const auto& entry : m_dueSources)
        if (auto due = entry.second(); due && (!next || *due < *next))
            next = due;
    return next;
}

bool WaitHub::WaitIdle(std::chrono::milliseconds timeout) {
    auto deadline = HostClock::now() + timeout;
    std::unique_lock lock(m_mutex);
    // The device must be found at rest twice, a few milliseconds apart, so that a thread
    // that was just woken but has not run yet is not mistaken for a blocked one.
    int quietChecks = 0;
    while (quietChecks < 2) {
        if (IsIdleLocked()) {
            ++quietChecks;
        } else {
            quietChecks = 0;
        }
        if (HostClock::now() >= deadline)
            return quietChecks >= 2;
        m_changed.wait_until(lock, std::min(deadline, HostClock::now() +
                                                          std::chrono::milliseconds(5)));
    }
    return true;
}

} // namespace platform
