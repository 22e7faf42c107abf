// The device clock: host time plus an offset, or frozen and stepped by the console.
// GetTickCount, GetSystemTime, GetLocalTime, timers and scheduled wake-ups all read it,
// so schedules can be tested exactly. Waits with a time-out (Sleep, WaitFor...) run on
// host time so that a frozen clock never hangs a program that polls.
#pragma once

#include "ce/types.h"
#include "kernel/WaitHub.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>

namespace platform {

class DeviceClock {
public:
    static DeviceClock& Instance();

    // Milliseconds since boot on the device clock (what GetTickCount reports).
    int64_t MonotonicMs() const;
    // UTC in 100 ns units since 1601 (FILETIME).
    int64_t UtcTicks() const;
    int64_t LocalTicks() const { return UtcTicks() - int64_t(BiasMinutes()) * 600000000; }
    void SetUtcTicks(int64_t ticks);

    bool IsFrozen() const;
    void Freeze();
    void Run();
    // Moves the clock forward; with a frozen clock this is the only way it moves.
    void Advance(int64_t milliseconds);
    // Advances in steps, stopping at every due timer or scheduled event on the way so
    // that each fires at its own time and in order; waits for the device to settle at
    // each stop for at most `settleMs`. Returns false when `cancel` became true on the
    // way: the clock then stands at the last stop.
    bool AdvanceStepwise(int64_t milliseconds, int settleMs,
                         const std::atomic<bool>* cancel = nullptr);

    // Host deadline at which the device clock reaches `monotonicMs`; none while frozen.
    std::optional<HostClock::time_point> HostDeadlineFor(int64_t monotonicMs) const;

    // Time zone: local = UTC - bias (minutes), as TIME_ZONE_INFORMATION.
    LONG BiasMinutes() const;
    void SetBiasMinutes(LONG bias);

    // Back to boot state: running, host time, tick count 0 (device boot).
    void Reset();

private:
    DeviceClock() { Reset(); }
    int64_t MonotonicLocked() const;

    mutable std::mutex m_mutex;
    bool m_frozen = false;
    int64_t m_frozenMs = 0;
    HostClock::time_point m_bootHost = HostClock::now();
    int64_t m_monoOffsetMs = 0;  // device monotonic = host ms since boot + offset
    int64_t m_wallOffset = 0;    // device UTC ticks = monotonic * 10000 + wall offset
    LONG m_biasMinutes = 0;
};

} // namespace platform
