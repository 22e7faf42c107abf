#include "corvane/CallTotals.h"

#include <algorithm>
#include <limits>

namespace corvane {

namespace {

constexpr uint64_t kTicksPerSecond = 10'000'000;

} // namespace

CallTotals SumCalls(const std::vector<common::CallLogEntry*>& entries, int kind,
                    const FILETIME* windowStart, const FILETIME* windowEnd) {
    uint64_t first = windowStart ? FileTimeValue(*windowStart) : 0;
    uint64_t last = windowEnd ? FileTimeValue(*windowEnd) : std::numeric_limits<uint64_t>::max();
    CallTotals totals;
    uint64_t seconds = 0;
    // Every entry is looked at: a call that ended before the window must not end the walk,
    // since an older, longer call may still reach into the window.
    for (const common::CallLogEntry* entry : entries) {
        uint64_t start = FileTimeValue(entry->start);
        uint64_t end = FileTimeValue(entry->end);
        if (start >= last || end < first)
            continue;
        if (int(entry->flags & common::CallFlag::kKindMask) != kind)
            continue;
        ++totals.count;
        uint64_t clippedStart = std::max(start, first);
        uint64_t clippedEnd = std::min(end, last);
        if (clippedEnd > clippedStart)
            seconds += (clippedEnd - clippedStart) / kTicksPerSecond;
    }
    totals.seconds = DWORD(std::min<uint64_t>(seconds, std::numeric_limits<DWORD>::max()));
    return totals;
}

} // namespace corvane
