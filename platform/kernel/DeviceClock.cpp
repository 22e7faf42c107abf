#include "kernel/DeviceClock.h"

#include <chrono>

namespace platform {

namespace {

// 100 ns ticks between 1601-01-01 and 1970-01-01.
constexpr int64_t kUnixEpochTicks = 116444736000000000LL;

int64_t HostUtcTicks() {
    auto now = std::chrono::system_clock::now().time_since_epoch();
    return kUnixEpochTicks + std::chrono::duration_cast<std::chrono::microseconds>(now).count() * 10;
}

} // namespace

DeviceClock& DeviceClock::Instance() {
    static DeviceClock clock;
    return clock;
}

int64_t DeviceClock::MonotonicLocked() const {
    if (m_frozen)
        return m_frozenMs;
    auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(HostClock::now() - m_bootHost);
    return elapsed.count() + m_monoOffsetMs;
}

int64_t DeviceClock::MonotonicMs() const {
    std::lock_guard lock(m_mutex);
    return MonotonicLocked();
}

int64_t DeviceClock::UtcTicks() const {
    std::lock_guard lock(m_mutex);
    return MonotonicLocked() * 10000 + m_wallOffset;
}

void DeviceClock::SetUtcTicks(int64_t ticks) {
    {
        std::lock_guard lock(m_mutex);
        m_wallOffset = ticks - MonotonicLocked() * 10000;
    }
    WaitHub::Instance().ClockChanged();
}

bool DeviceClock::IsFrozen() const {
    std::lock_guard lock(m_mutex);
    return m_frozen;
}

void DeviceClock::Freeze() {
    {
        std::lock_guard lock(m_mutex);
        if (m_frozen)
            return;
        m_frozenMs = MonotonicLocked();
        m_frozen = true;
    }
    WaitHub::Instance().ClockChanged();
}

void DeviceClock::Run() {
    {
        std::lock_guard lock(m_mutex);
        if (!m_frozen)
            return;
        m_frozen = false;
        auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(HostClock::now() - m_bootHost);
        m_monoOffsetMs = m_frozenMs - elapsed.count();
    }
    // Waits computed no deadline while the clock stood still: they compute one now.
    WaitHub::Instance().ClockChanged();
}

void DeviceClock::Advance(int64_t milliseconds) {
    if (milliseconds <= 0)
        return;
    {
        std::lock_guard lock(m_mutex);
        if (m_frozen)
            m_frozenMs += milliseconds;
        else
            m_monoOffsetMs += milliseconds;
    }
    // Every waiter re-checks its timers and events against the new time.
    WaitHub::Instance().ClockChanged();
}

bool DeviceClock::AdvanceStepwise(int64_t milliseconds, int settleMs,
                                  const std::atomic<bool>* cancel) {
    auto& hub = WaitHub::Instance();
    const auto settle = std::chrono::milliseconds(settleMs);
    int64_t target = MonotonicMs() + milliseconds;
    int64_t lastStop = -1;
    for (;;) {
        if (cancel && cancel->load())
            return false;
        std::optional<int64_t> next;
        {
            std::lock_guard lock(hub.Mutex());
            next = hub.NextDueLocked();
        }
        int64_t now = MonotonicMs();
        // No work before the target, or work that was due before this step (or at the last
        // stop) and that nobody takes: the rest of the way in one step.
        if (!next || *next > target || *next < now || (*next == now && now == lastStop)) {
            Advance(target - now);
            break;
        }
        Advance(*next - now);
        lastStop = *next;
        hub.WaitIdle(settle, cancel);
        if (*next >= target)
            break;
    }
    return hub.WaitIdle(settle, cancel) || !(cancel && cancel->load());
}

std::optional<HostClock::time_point> DeviceClock::HostDeadlineFor(int64_t monotonicMs) const {
    std::lock_guard lock(m_mutex);
    if (m_frozen)
        return std::nullopt;
    int64_t remaining = monotonicMs - MonotonicLocked();
    if (remaining < 0)
        remaining = 0;
    return HostClock::now() + std::chrono::milliseconds(remaining);
}

LONG DeviceClock::BiasMinutes() const {
    std::lock_guard lock(m_mutex);
    return m_biasMinutes;
}

void DeviceClock::SetBiasMinutes(LONG bias) {
    {
        std::lock_guard lock(m_mutex);
        m_biasMinutes = bias;
    }
    WaitHub::Instance().ClockChanged();
}

void DeviceClock::Reset() {
    std::lock_guard lock(m_mutex);
    m_frozen = false;
    m_frozenMs = 0;
    m_bootHost = HostClock::now();
    m_monoOffsetMs = 0;
    m_wallOffset = HostUtcTicks();
    m_biasMinutes = 0;
}

} // namespace platform
