// The timed wake-ups of CeRunAppAtTime that signal named events. A host thread fires each
// one when the device clock reaches its local time; the table is also a due source of the
// wait hub, so `idle` waits for a due wake-up and `time advance` stops at each one.
//
// The table is guarded by the WaitHub lock (the due source reads it under that lock). A
// wake-up stays in the table until its event was signalled, so the device never looks
// idle between the moment a wake-up falls due and the moment its waiter can run.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace platform {

class WakeupTable {
public:
    static WakeupTable& Instance();

    // Starts the firing thread with an empty table.
    void Boot();
    // Ends the firing thread and forgets every wake-up.
    void Shutdown();

    // Registers or replaces (same name, compared without regard to case) the wake-up of
    // event `eventName` at `localTicks` (local FILETIME ticks).
    void Set(const std::u16string& eventName, int64_t localTicks);
    // False when no wake-up of that name was registered.
    bool Remove(const std::u16string& eventName);
    // The local time of the pending wake-up of `eventName`.
    std::optional<int64_t> Find(const std::u16string& eventName) const;

private:
    struct Wakeup {
        std::u16string eventName;
        int64_t localTicks = 0;
    };

    void Run();
    // Fires every due wake-up (hub lock held); returns whether any was due.
    bool FireDueLocked();
    std::optional<int64_t> EarliestLocked() const;

    std::map<std::u16string, Wakeup> m_wakeups; // by folded event name
    uint64_t m_changes = 0; // wakes the firing thread to recompute its deadline
    bool m_stop = false;
    std::optional<uint64_t> m_dueSource;
    std::thread m_thread;
};

} // namespace platform
