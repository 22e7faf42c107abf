// Call totals for the statistics: the calls of one kind that lie in a time window and
// their seconds inside it.
#pragma once

#include "common/CallLogEntry.h"

#include <vector>

namespace corvane {

struct CallTotals {
    int count = 0;
    DWORD seconds = 0;
};

// `entries` newest first. `kind` is compared with the flags masked by CallFlag::kKindMask.
// Either bound may be null. A call counts when it started before the window end and did
// not end before the window start; its seconds are those inside the window (a missed
// call counts with 0 seconds).
CallTotals SumCalls(const std::vector<common::CallLogEntry*>& entries, int kind,
                    const FILETIME* windowStart, const FILETIME* windowEnd);

// A file time as one 64-bit count of 100 ns.
inline uint64_t FileTimeValue(const FILETIME& time) {
    return uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

} // namespace corvane
