// Which scheduled profile is in force at a moment of the week, or which one starts next
// and after how long. Pure arithmetic over the list, so it is tested without a device.
#pragma once

#include "common/ProfileRecord.h"

#include <cstdint>
#include <vector>

namespace corvane {

struct ScheduleChoice {
    // Null when no profile is in force and none ever starts.
    const common::ProfileRecord* profile = nullptr;
    bool inForce = false;
    // In force since the day before (its period runs past midnight).
    bool begunYesterday = false;
    // Seconds until `profile` starts, when it is not in force.
    int64_t waitSeconds = 0;
};

// `weekday` 0 = Sunday .. 6 = Saturday; `seconds` since midnight. The first profile of
// the list in force wins; otherwise the one that starts first, the earlier in the list
// on a tie.
ScheduleChoice FindScheduledProfile(const std::vector<common::ProfileRecord>& list, int weekday,
                                    int32_t seconds);

} // namespace corvane
