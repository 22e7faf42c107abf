#include "notify/WakeupTable.h"

#include "kernel/DeviceClock.h"
#include "kernel/EventObject.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"

#include <vector>

namespace platform {

namespace {

constexpr int64_t kTicksPerMs = 10000;

// The device-monotonic millisecond at which the local clock reaches `localTicks`,
// rounded up so that the wake-up is really due when the hub looks at it.
int64_t MonotonicFor(int64_t localTicks) {
    DeviceClock& clock = DeviceClock::Instance();
    int64_t remaining = localTicks - clock.LocalTicks();
    int64_t remainingMs = remaining <= 0 ? 0 : (remaining + kTicksPerMs - 1) / kTicksPerMs;
    return clock.MonotonicMs() + remainingMs;
}

} // namespace

WakeupTable& WakeupTable::Instance() {
    static WakeupTable table;
    return table;
}

void WakeupTable::Boot() {
    auto& hub = WaitHub::Instance();
    {
        std::lock_guard lock(hub.Mutex());
        m_wakeups.clear();
        m_stop = false;
        m_dueSource = hub.AddDueSource([this]() -> std::optional<int64_t> {
            auto earliest = EarliestLocked();
            if (!earliest)
                return std::nullopt;
            return MonotonicFor(*earliest);
        });
    }
    m_thread = std::thread([this] { Run(); });
}

void WakeupTable::Shutdown() {
    auto& hub = WaitHub::Instance();
    {
        std::lock_guard lock(hub.Mutex());
        m_stop = true;
        hub.NotifyAll();
    }
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(hub.Mutex());
    if (m_dueSource)
        hub.RemoveDueSource(*m_dueSource);
    m_dueSource.reset();
    m_wakeups.clear();
}

void WakeupTable::Set(const std::u16string& eventName, int64_t localTicks) {
    auto& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    m_wakeups[FoldCase(eventName)] = Wakeup{eventName, localTicks};
    ++m_changes;
    hub.NotifyAll();
}

bool WakeupTable::Remove(const std::u16string& eventName) {
    auto& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    bool removed = m_wakeups.erase(FoldCase(eventName)) != 0;
    ++m_changes;
    hub.NotifyAll();
    return removed;
}

std::optional<int64_t> WakeupTable::Find(const std::u16string& eventName) const {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    auto it = m_wakeups.find(FoldCase(eventName));
    if (it == m_wakeups.end())
        return std::nullopt;
    return it->second.localTicks;
}

std::optional<int64_t> WakeupTable::EarliestLocked() const {
    std::optional<int64_t> earliest;
    for (const auto& entry : m_wakeups)
        if (!earliest || entry.second.localTicks < *earliest)
            earliest = entry.second.localTicks;
    return earliest;
}

bool WakeupTable::FireDueLocked() {
    int64_t now = DeviceClock::Instance().LocalTicks();
    std::vector<std::pair<std::u16string, Wakeup>> due;
    for (const auto& entry : m_wakeups)
        if (entry.second.localTicks <= now)
            due.push_back(entry);
    if (due.empty())
        return false;
    // Signalled and forgotten in one step under the hub lock, so nobody sees the event set
    // while the wake-up is still listed, or the wake-up gone before the event is set.
    for (const auto& entry : due) {
        bool signalled = EventObject::SetNamedLocked(entry.second.eventName);
        Trace("notify", "wake-up of %s %s", ToUtf8(entry.second.eventName).c_str(),
              signalled ? "signalled" : "found no event");
        m_wakeups.erase(entry.first);
    }
    WaitHub::Instance().NotifyAll();
    return true;
}

void WakeupTable::Run() {
    auto& hub = WaitHub::Instance();
    std::unique_lock lock(hub.Mutex());
    while (!m_stop) {
        if (FireDueLocked())
            continue;
        auto earliest = EarliestLocked();
        std::optional<HostClock::time_point> deadline;
        if (earliest)
            deadline = DeviceClock::Instance().HostDeadlineFor(MonotonicFor(*earliest));
        uint64_t seen = m_changes;
        // The clock moving (advance, set, run) wakes every hub waiter, this one too.
        hub.Wait(lock, [&] {
            return m_stop || m_changes != seen ||
                   (earliest && DeviceClock::Instance().LocalTicks() >= *earliest);
        }, deadline, true);
    }
}

} // namespace platform
