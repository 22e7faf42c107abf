// Which scheduled profile is in force at a moment of the week, or which starts next.
#include "corvane/ScheduleFinder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using common::ProfileRecord;

namespace {

constexpr uint32_t kWeekdays = 0x3E; // Monday to Friday
constexpr int kSunday = 0, kMonday = 1, kWednesday = 3, kSaturday = 6;

int32_t Clock(int hour, int minute = 0) { return hour * 3600 + minute * 60; }

ProfileRecord Scheduled(const char16_t* name, uint32_t days, int32_t start, int32_t end) {
    ProfileRecord record;
    record.name = name;
    record.dayMask = days;
    record.start = start;
    record.end = end <= start && end != start ? end + common::kSecondsPerDay : end;
    return record;
}

struct Case {
    const char* what;
    std::vector<ProfileRecord> list;
    int weekday;
    int32_t seconds;
    std::u16string expected; // empty: nothing at all
    bool inForce;
    bool begunYesterday;
    int64_t wait;
};

TEST(ScheduleFinder, FindsTheProfileInForceOrTheNextStart) {
    const ProfileRecord night = Scheduled(u"Night", common::kAllDays, Clock(22), Clock(7));
    const ProfileRecord work = Scheduled(u"Work", kWeekdays, Clock(9), Clock(17));
    const ProfileRecord early = Scheduled(u"Early", common::kAllDays, Clock(8), Clock(12));
    const ProfileRecord alsoEarly = Scheduled(u"AlsoEarly", common::kAllDays, Clock(8), Clock(10));
    const ProfileRecord empty = Scheduled(u"Empty", common::kAllDays, Clock(8), Clock(8));
    const ProfileRecord noDays = Scheduled(u"NoDays", 0, Clock(0), Clock(23));
    const ProfileRecord mondayNight = Scheduled(u"MondayNight", 1u << kMonday, Clock(22), Clock(7));
    const Case cases[] = {
        {"night at 23:00", {night}, kWednesday, Clock(23), u"Night", true, false, 0},
        {"night at 03:00, begun the day before", {night}, kWednesday, Clock(3), u"Night", true, true, 0},
        {"night at 07:00 exactly", {night}, kWednesday, Clock(7), u"Night", false, false, Clock(15)},
        {"night at 21:59", {night}, kWednesday, Clock(21, 59), u"Night", false, false, 60},
        {"weekdays on Saturday 10:00", {work}, kSaturday, Clock(10), u"Work", false, false,
         2 * 86400 - 3600},
        {"weekdays on Wednesday 17:00", {work}, kWednesday, Clock(17), u"Work", false, false,
         86400 - 8 * 3600},
        {"weekdays on Wednesday 09:00", {work}, kWednesday, Clock(9), u"Work", true, false, 0},
        {"a tie goes to the first in the list", {alsoEarly, early}, kWednesday, Clock(7),
         u"AlsoEarly", false, false, 3600},
        {"the first in the list in force wins", {early, alsoEarly}, kWednesday, Clock(9), u"Early",
         true, false, 0},
        {"the earliest start wins", {night, early}, kWednesday, Clock(7, 30), u"Early", false,
         false, 1800},
        {"08:00-08:00 at 08:00", {empty}, kWednesday, Clock(8), u"Empty", false, false, 86400},
        {"08:00-08:00 at 07:00", {empty}, kWednesday, Clock(7), u"Empty", false, false, 3600},
        {"no day in the mask", {noDays}, kWednesday, Clock(12), u"", false, false, 0},
        {"Monday's night on Tuesday 03:00", {mondayNight}, 2, Clock(3), u"MondayNight", true, true, 0},
        {"Monday's night on Monday 03:00", {mondayNight}, kMonday, Clock(3), u"MondayNight", false,
         false, Clock(19)},
        {"Monday's night on Sunday 23:00", {mondayNight}, kSunday, Clock(23), u"MondayNight", false,
         false, Clock(23)},
        {"an empty list", {}, kWednesday, Clock(12), u"", false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        corvane::ScheduleChoice choice = corvane::FindScheduledProfile(c.list, c.weekday, c.seconds);
        if (c.expected.empty()) {
            EXPECT_EQ(choice.profile, nullptr);
            continue;
        }
        ASSERT_NE(choice.profile, nullptr);
        EXPECT_EQ(choice.profile->name, c.expected);
        EXPECT_EQ(choice.inForce, c.inForce);
        EXPECT_EQ(choice.begunYesterday, c.begunYesterday);
        if (!c.inForce) {
            EXPECT_EQ(choice.waitSeconds, c.wait);
        }
    }
}

} // namespace
