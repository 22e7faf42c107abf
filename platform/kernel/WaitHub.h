// The one lock of the simulated kernel. Every blocking wait of an emulated thread
// (events, messages, sleeps) goes through this hub, so that the console can tell
// when the whole device is at rest and so that one notification wakes every waiter
// whose condition may have changed.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <mutex>
#include <optional>

namespace platform {

using HostClock = std::chrono::steady_clock;

class WaitHub {
public:
    // A wait that ends within this much host time does not count as resting.
    static constexpr std::chrono::milliseconds kBriefWait{1000};
    static WaitHub& Instance();

    std::mutex& Mutex() { return m_mutex; }

    // Wakes every waiter so it re-checks its condition. The caller may hold the lock.
    void NotifyAll() { m_changed.notify_all(); }

    // Blocks until `ready` holds (evaluated under the lock) or the deadline passes.
    // `ready` may be called from other threads (the idle check), so it must read only
    // state guarded by this lock. Returns true when `ready` held.
    // A waiter whose deadline comes from the device clock passes `untilClockChange`: the
    // wait then also ends (returning false) when the clock is frozen, run, set or advanced,
    // so the caller computes its deadline again.
    bool Wait(std::unique_lock<std::mutex>& lock, const std::function<bool()>& ready,
              std::optional<HostClock::time_point> deadline, bool untilClockChange = false);

    // Called by the device clock after it changed (not under the lock): wakes every waiter,
    // and ends the waits that follow the clock.
    void ClockChanged();

    // Sources of work that falls due on the device clock: timers and scheduled events.
    // Each returns the device-monotonic millisecond of its next due work, if any. Called
    // under the lock.
    using DueSource = std::function<std::optional<int64_t>()>;
    // The earliest due time over every source (under the lock).
    std::optional<int64_t> NextDueLocked() const;
    uint64_t AddDueSource(DueSource source);
    void RemoveDueSource(uint64_t id);

    // Emulated threads are counted so that `idle` knows when all of them are blocked.
    void ThreadStarted();
    void ThreadEnded();
    // True when this thread is an emulated thread that counts for idleness.
    static bool IsEmulatedThread();
    static void MarkEmulatedThread(bool emulated);

    // Work that a host thread does for the device (a registry notification on its way to a
    // window): the device is not idle while any is pending. Counted without the lock, so
    // that callers holding their own locks may begin it.
    void HostWorkBegan() { m_hostWork.fetch_add(1); }
    void HostWorkEnded();

    // Waits until every emulated thread is blocked with an unsatisfied condition, no thread
    // is about to wake (its host deadline passed, or the clock it follows changed), no host
    // work is pending and no due source has work, for at most `timeout`. Returns true when
    // the device is idle; false on time-out or when `cancel` becomes true.
    bool WaitIdle(std::chrono::milliseconds timeout, const std::atomic<bool>* cancel = nullptr);

    int LiveThreads() const { return m_liveThreads; }

private:
    struct Waiter {
        const std::function<bool()>* ready;
        std::optional<HostClock::time_point> deadline;
        // The clock epoch at which a waiter that follows the clock computed its deadline.
        std::optional<uint64_t> clockEpoch;
    };
    // True when `waiter` is blocked and stays blocked until something changes.
    bool IsBlockedLocked(const Waiter& waiter, HostClock::time_point now) const;
    bool IsIdleLocked() const;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    // Wakes idle checks when a thread blocks or ends or host work ends.
    std::condition_variable m_idleChanged;
    std::atomic<int> m_hostWork{0};
    std::list<Waiter> m_waiters;
    std::list<std::pair<uint64_t, DueSource>> m_dueSources;
    uint64_t m_nextDueId = 1;
    uint64_t m_clockEpoch = 0;
    int m_liveThreads = 0;
};

} // namespace platform
