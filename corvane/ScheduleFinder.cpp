#include "corvane/ScheduleFinder.h"

#include <optional>

namespace corvane {

namespace {

constexpr int kDaysPerWeek = 7;

bool HasDay(const common::ProfileRecord& profile, int weekday) {
    return (profile.dayMask >> (weekday % kDaysPerWeek)) & 1;
}

// Seconds until the next start of `profile` after `seconds` on `weekday`; nothing when
// its mask has no day.
std::optional<int64_t> WaitForStart(const common::ProfileRecord& profile, int weekday,
                                    int32_t seconds) {
    int64_t wait = int64_t(profile.start) - seconds;
    if (seconds < profile.start && HasDay(profile, weekday))
        return wait;
    for (int i = 1; i <= kDaysPerWeek; ++i)
        if (HasDay(profile, weekday + i))
            return wait + int64_t(i) * common::kSecondsPerDay;
    return std::nullopt;
}

} // namespace

ScheduleChoice FindScheduledProfile(const std::vector<common::ProfileRecord>& list, int weekday,
                                    int32_t seconds) {
    ScheduleChoice next;
    for (const common::ProfileRecord& profile : list) {
        if (HasDay(profile, weekday) && profile.start <= seconds && seconds < profile.end)
            return ScheduleChoice{&profile, true, false, 0};
        if (profile.end > common::kSecondsPerDay && HasDay(profile, weekday + kDaysPerWeek - 1) &&
            seconds < profile.end - common::kSecondsPerDay)
            return ScheduleChoice{&profile, true, true, 0};
        auto wait = WaitForStart(profile, weekday, seconds);
        if (!wait)
            continue;
        if (*wait == 0)
            return ScheduleChoice{&profile, true, false, 0};
        if (!next.profile || *wait < next.waitSeconds)
            next = ScheduleChoice{&profile, false, false, *wait};
    }
    return next;
}

} // namespace corvane
