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
    auto it = m_waiters.end();
    if (t_emulated) {
        it = m_waiters.insert(m_waiters.end(),
                              Waiter{&ready, deadline, untilClockChange ? std::optional(epoch) : std::nullopt});
        // This thread blocks now: an idle check may be waiting for exactly that.
        m_idleChanged.notify_all();
    }
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
    m_idleChanged.notify_all();
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
    m_idleChanged.notify_all();
}

void WaitHub::HostWorkEnded() {
    // The lock orders this against an idle check that just found the work pending.
    std::lock_guard lock(m_mutex);
    m_hostWork.fetch_sub(1);
    m_idleChanged.notify_all();
}

bool WaitHub::IsEmulatedThread() { return t_emulated; }

void WaitHub::MarkEmulatedThread(bool emulated) { t_emulated = emulated; }

bool WaitHub::IsBlockedLocked(const Waiter& waiter, HostClock::time_point now) const {
    if ((*waiter.ready)())
        return false;
    // A thread whose time-out passed, or whose clock moved, wakes without any notification;
    // one that sleeps briefly (a haptic pulse, a poll) is still at work.
    if (waiter.deadline && *waiter.deadline <= now + kBriefWait)
        return false;
    return !waiter.clockEpoch || *waiter.clockEpoch == m_clockEpoch;
}

bool WaitHub::IsIdleLocked() const {
    if (static_cast<int>(m_waiters.size()) < m_liveThreads || m_hostWork.load() > 0)
        return false;
    auto now = HostClock::now();
    for (const Waiter& waiter : m_waiters)
        if (!IsBlockedLocked(waiter, now))
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

bool WaitHub::WaitIdle(std::chrono::milliseconds timeout, const std::atomic<bool>* cancel) {
    auto deadline = HostClock::now() + timeout;
    std::unique_lock lock(m_mutex);
    // Every way a thread leaves its wait is visible under the lock (its condition holds, its
    // deadline passed, its clock changed), and threads and host work tell this check when
    // they block or end; the short poll only covers a missed wake-up.
    for (;;) {
        if (cancel && cancel->load())
            return false;
        if (IsIdleLocked())
            return true;
        auto now = HostClock::now();
        if (now >= deadline)
            return false;
        m_idleChanged.wait_until(lock, std::min(deadline, now + std::chrono::milliseconds(1)));
    }
}

} // namespace platform
