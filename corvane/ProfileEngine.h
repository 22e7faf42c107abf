// The sound-profile engine of the main program: applies a profile by index (a built-in
// one, or the custom one of the profile file), keeps the current base profile and the
// list of scheduled profiles, and lets the scheduler switch between them.
//
// Threads: the main thread applies by index; the scheduler thread applies on its
// wake-ups. One lock guards the current profile, the scheduled list and every apply; the
// main thread stops the scheduler thread without holding it.
#pragma once

#include "ce/kernel.h"
#include "common/ProfileRecord.h"
#include "corvane/Scheduler.h"

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace corvane {

class ProfileEngine {
public:
    // The decline rule of the current base profile, for the call watcher.
    struct DeclineRule {
        common::DeclineAction action = common::DeclineAction::None;
        std::u16string text; // the SMS of DeclineWithSms; empty = none
    };

    // `profileFile` is the device path of "CustomProfile.xml".
    explicit ProfileEngine(std::u16string profileFile);
    ~ProfileEngine();
    ProfileEngine(const ProfileEngine&) = delete;
    ProfileEngine& operator=(const ProfileEngine&) = delete;

    // Applies profile `index` (0 to 5, or -1 for the stored "LastProfile") and stores it
    // as "LastProfile". False, with "LastProfile" unchanged, for an index outside -1..5,
    // a missing "LastProfile", or index 5 without a readable profile file.
    bool ApplyByIndex(int64_t index);
    // Writes the sound settings of one record.
    void ApplyRecord(const common::ProfileRecord& record);
    // Writes the saved ring script back (at shutdown and before every apply by index).
    void RestoreRingScript();
    // At exit: no wake-up stays registered, the user's ring script comes back.
    void Shutdown();

    // The rule when the current base profile declines all calls; nothing otherwise.
    std::optional<DeclineRule> CurrentDeclineRule() const;
    // The name of the current base profile; nothing when no profile is current.
    std::optional<std::u16string> CurrentName() const;

    const Scheduler& ScheduledSwitching() const { return m_scheduler; }

private:
    class Guard;

    // Under the lock: loads the base profile and the scheduled list of `index`.
    bool LoadLocked(int index);
    void OnWakeUp();

    mutable CRITICAL_SECTION m_lock;
    // Serialises applies by index, whose stop of the scheduler runs outside m_lock.
    std::mutex m_indexLock;
    std::u16string m_profileFile;
    std::optional<common::ProfileRecord> m_current;
    std::vector<common::ProfileRecord> m_scheduled; // list order decides ties
    Scheduler m_scheduler;
};

} // namespace corvane
