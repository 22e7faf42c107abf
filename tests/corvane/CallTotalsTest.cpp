// Call totals of the statistics: kinds, windows with and without bounds, clipping at the
// window edges, missed calls, and older long calls that reach into the window.
#include "corvane/CallTotals.h"

#include <gtest/gtest.h>

#include <vector>

using namespace corvane;
using common::CallLogEntry;

namespace {

constexpr uint64_t kSecond = 10'000'000;
constexpr uint64_t kBase = 130'000'000'000'000'000ull; // some day in 2012

FILETIME At(int64_t seconds) {
    uint64_t value = kBase + uint64_t(seconds * int64_t(kSecond));
    return FILETIME{DWORD(value), DWORD(value >> 32)};
}

struct Call {
    int start;
    int seconds;
    DWORD flags;
};

// Entries newest first, as the cache keeps them.
std::vector<CallLogEntry> Entries(std::vector<Call> calls) {
    std::vector<CallLogEntry> entries(calls.size());
    for (size_t i = 0; i < calls.size(); ++i) {
        entries[i].start = At(calls[i].start);
        entries[i].end = At(calls[i].start + calls[i].seconds);
        entries[i].flags = calls[i].flags;
    }
    return entries;
}

std::vector<CallLogEntry*> Pointers(std::vector<CallLogEntry>& entries) {
    std::vector<CallLogEntry*> pointers;
    for (CallLogEntry& entry : entries)
        pointers.push_back(&entry);
    return pointers;
}

constexpr DWORD kIn = 0, kOut = common::CallFlag::kOutgoing, kMissed = common::CallFlag::kMissed;
constexpr int kNone = -1;

struct TotalsCase {
    const char* what;
    std::vector<Call> calls;
    int kind;
    int windowStart; // kNone: no bound
    int windowEnd;
    int count;
    DWORD seconds;
};

const TotalsCase kCases[] = {
    {"no bounds", {{300, 60, kIn}, {200, 30, kOut}, {100, 10, kIn}}, 0, kNone, kNone, 2, 70},
    {"outgoing only", {{300, 60, kIn}, {200, 30, kOut}, {100, 10, kIn}}, 4, kNone, kNone, 1, 30},
    {"missed call counts with 0 seconds", {{300, 0, kMissed}, {200, 30, kIn}}, 8, 0, 1000, 1, 0},
    {"inside the window", {{300, 60, kIn}, {200, 30, kIn}}, 0, 250, 400, 1, 60},
    {"started before the window start", {{300, 60, kIn}}, 0, 330, kNone, 1, 30},
    {"ends after the window end", {{300, 60, kIn}}, 0, kNone, 320, 1, 20},
    {"starts at the window end", {{300, 60, kIn}}, 0, kNone, 300, 0, 0},
    {"ended before the window", {{300, 60, kIn}, {100, 10, kIn}}, 0, 200, kNone, 1, 60},
    {"ends at the window start", {{100, 100, kIn}}, 0, 200, kNone, 1, 0},
    {"older long call reaches in past a newer short one",
     {{300, 60, kIn}, {150, 10, kIn}, {100, 500, kIn}},
     0,
     200,
     kNone,
     2,
     60 + 400},
    {"window on both sides of a long call", {{100, 1000, kOut}}, 4, 400, 500, 1, 100},
};

TEST(CallTotals, CountsAndClipsToTheWindow) {
    for (const TotalsCase& c : kCases) {
        std::vector<CallLogEntry> entries = Entries(c.calls);
        FILETIME start = At(c.windowStart), end = At(c.windowEnd);
        CallTotals totals =
            SumCalls(Pointers(entries), c.kind, c.windowStart == kNone ? nullptr : &start,
                     c.windowEnd == kNone ? nullptr : &end);
        EXPECT_EQ(totals.count, c.count) << c.what;
        EXPECT_EQ(totals.seconds, c.seconds) << c.what;
    }
}

TEST(CallTotals, AnEmptyLogHasNoCalls) {
    CallTotals totals = SumCalls({}, 0, nullptr, nullptr);
    EXPECT_EQ(totals.count, 0);
    EXPECT_EQ(totals.seconds, 0u);
}

} // namespace
