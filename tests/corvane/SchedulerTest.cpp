// Scheduled profiles on a frozen device clock: the profile in force when a profile is
// applied, the wake-up registered for the next change, the switch by itself when the
// clock passes a boundary, and a clean stop.
#include "ce/kernel.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "common/ProfileFile.h"
#include "common/Settings.h"
#include "corvane/ProfileEngine.h"
#include "kernel/DeviceClock.h"
#include "kernel/WaitHub.h"
#include "notify/WakeupTable.h"
#include "support/TestDevice.h"

#include <optional>
#include <string>
#include <vector>

using common::ProfileRecord;
using corvane::ProfileEngine;
using corvane::Scheduler;
using platform::DeviceClock;

namespace {

constexpr WCHAR kProfileFile[] = u"\\Temp\\CustomProfile.xml";
constexpr uint32_t kWeekdays = 0x3E;

// 2026-03-04 is a Wednesday.
SYSTEMTIME Date(WORD day, WORD hour, WORD minute = 0) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 3;
    time.wDay = day;
    time.wHour = hour;
    time.wMinute = minute;
    return time;
}

ProfileRecord Scheduled(const char16_t* name, uint32_t days, int startHour, int endHour) {
    ProfileRecord record;
    record.name = name;
    record.dayMask = days;
    record.ringTone = u"*none*";
    record.ringScript = u"af3";
    record.initialRingLevel = 0;
    record.start = startHour * 3600;
    record.end = endHour * 3600 + (endHour < startHour ? common::kSecondsPerDay : 0);
    return record;
}

std::optional<std::u16string> ActiveName() {
    WCHAR name[64] = {};
    if (FAILED(RegistryGetString(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"ActiveSchedProfile",
                                 name, 64)))
        return std::nullopt;
    return std::u16string(name);
}

DWORD Mode() {
    DWORD mode = 99;
    RegistryGetDWORD(HKEY_CURRENT_USER, u"ControlPanel\\Notifications\\ShellOverrides", u"Mode",
                     &mode);
    return mode;
}

// The pending wake-up as "day hh:mm", or "none".
std::string Wakeup() {
    auto ticks = platform::WakeupTable::Instance().Find(Scheduler::kEventName);
    if (!ticks)
        return "none";
    FILETIME file{DWORD(uint64_t(*ticks)), DWORD(uint64_t(*ticks) >> 32)};
    SYSTEMTIME time;
    FileTimeToSystemTime(&file, &time);
    char text[32];
    snprintf(text, sizeof text, "%u %02u:%02u:%02u", time.wDay, time.wHour, time.wMinute,
             time.wSecond);
    return text;
}

class SchedulerTest : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        DeviceClock::Instance().Freeze();
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"ScheduledProfiles", 1);
        m_engine.emplace(kProfileFile);
    }
    void TearDown() override {
        m_engine.reset();
        TestDevice::TearDown();
    }

    // Writes the file with `scheduled` in list order (the file holds them reversed).
    static void WriteSchedule(std::vector<ProfileRecord> scheduled) {
        ProfileRecord base;
        base.name = u"Custom";
        std::vector<ProfileRecord> fileOrder(scheduled.rbegin(), scheduled.rend());
        ASSERT_TRUE(common::WriteProfileFile(kProfileFile, base, fileOrder));
    }

    static void SetClock(const SYSTEMTIME& time) { ASSERT_TRUE(SetLocalTime(&time)); }

    static void Advance(int64_t minutes) {
        DeviceClock::Instance().AdvanceStepwise(minutes * 60 * 1000, 2000);
    }

    std::optional<ProfileEngine> m_engine;
};

struct NightCase {
    WORD hour;
    bool inForce;
    const char* wakeup;
};

TEST_F(SchedulerTest, TheNightProfileAroundItsPeriod) {
    WriteSchedule({Scheduled(u"Night", common::kAllDays, 22, 7)});
    const NightCase cases[] = {
        {23, true, "5 07:00:00"},  // a wake-up the next morning
        {3, true, "4 07:00:00"},   // begun the day before; the same morning
        {7, false, "4 22:00:00"},  // over at 07:00 exactly; next start in the evening
    };
    for (const NightCase& c : cases) {
        SCOPED_TRACE(c.hour);
        SetClock(Date(4, c.hour));
        ASSERT_TRUE(m_engine->ApplyByIndex(0));
        EXPECT_EQ(ActiveName(), c.inForce ? std::optional<std::u16string>(u"Night") : std::nullopt);
        EXPECT_EQ(Mode(), c.inForce ? 2u : 0u);
        EXPECT_EQ(Wakeup(), c.wakeup);
        EXPECT_TRUE(m_engine->ScheduledSwitching().ThreadRunning());
    }
}

TEST_F(SchedulerTest, AWeekdayProfileOnSaturdayWaitsForMonday) {
    WriteSchedule({Scheduled(u"Work", kWeekdays, 9, 17)});
    SetClock(Date(7, 10));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    EXPECT_EQ(ActiveName(), std::nullopt);
    EXPECT_EQ(Wakeup(), "9 09:00:00");
}

TEST_F(SchedulerTest, TheFirstInTheListWinsATie) {
    ProfileRecord meeting = Scheduled(u"Meeting", common::kAllDays, 9, 11);
    meeting.ringTone = u"*vibrate*";
    WriteSchedule({meeting, Scheduled(u"Quiet", common::kAllDays, 9, 12)});
    SetClock(Date(4, 10));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    EXPECT_EQ(ActiveName(), u"Meeting");
    EXPECT_EQ(Mode(), 1u);
    EXPECT_EQ(Wakeup(), "4 11:00:00");
}

TEST_F(SchedulerTest, AnEmptyPeriodNeverComesIntoForce) {
    WriteSchedule({Scheduled(u"Never", common::kAllDays, 8, 8)});
    SetClock(Date(4, 8));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    EXPECT_EQ(ActiveName(), std::nullopt);
    EXPECT_EQ(Wakeup(), "5 08:00:00");
    Advance(24 * 60);
    EXPECT_EQ(ActiveName(), std::nullopt);
    EXPECT_EQ(Mode(), 0u);
}

TEST_F(SchedulerTest, PassingABoundarySwitchesByItself) {
    WriteSchedule({Scheduled(u"Night", common::kAllDays, 22, 7)});
    SetClock(Date(4, 21, 59));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    EXPECT_EQ(Mode(), 0u);
    EXPECT_EQ(ActiveName(), std::nullopt);

    Advance(2);
    EXPECT_EQ(ActiveName(), u"Night");
    EXPECT_EQ(Mode(), 2u);
    EXPECT_EQ(Wakeup(), "5 07:00:00");
    // "LastProfile" names the profile applied by index, never a scheduled one.
    DWORD last = 99;
    RegistryGetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile", &last);
    EXPECT_EQ(last, 0u);

    Advance(9 * 60);
    EXPECT_EQ(ActiveName(), std::nullopt);
    EXPECT_EQ(Mode(), 0u);
    DWORD ringer = 0;
    RegistryGetDWORD(HKEY_CURRENT_USER, u"ControlPanel\\Volume", u"Ringer", &ringer);
    EXPECT_EQ(ringer, 3u);
    EXPECT_EQ(Wakeup(), "5 22:00:00");
}

std::u16string RingScript() {
    WCHAR script[16] = {};
    RegistryGetString(HKEY_CURRENT_USER, u"ControlPanel\\Sounds\\RingTone0", u"Script", script, 16);
    return script;
}

TEST_F(SchedulerTest, TheUsersOwnRingScriptSurvivesEverySwitch) {
    // A script of the user's own: the factory one equals a profile's and hides the loss.
    RegistrySetString(HKEY_CURRENT_USER, u"ControlPanel\\Sounds\\RingTone0", u"Script", u"USER");
    WriteSchedule({Scheduled(u"Night", common::kAllDays, 22, 7)});
    SetClock(Date(4, 21, 59));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    Advance(2);
    ASSERT_EQ(ActiveName(), u"Night");
    EXPECT_EQ(RingScript(), u"af3");
    Advance(9 * 60);
    ASSERT_EQ(ActiveName(), std::nullopt);
    // The user switches by hand, then the schedule switches twice more.
    ASSERT_TRUE(m_engine->ApplyByIndex(2));
    Advance(15 * 60);
    ASSERT_EQ(ActiveName(), u"Night");
    Advance(9 * 60);
    m_engine->Shutdown();
    EXPECT_EQ(RingScript(), u"USER");
}

TEST_F(SchedulerTest, WithoutTheOptionTheScheduleIsIgnored) {
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"ScheduledProfiles", 0);
    WriteSchedule({Scheduled(u"Night", common::kAllDays, 22, 7)});
    SetClock(Date(4, 23));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    EXPECT_EQ(Mode(), 0u);
    EXPECT_EQ(Wakeup(), "none");
    EXPECT_FALSE(m_engine->ScheduledSwitching().ThreadRunning());
}

TEST_F(SchedulerTest, AForeignSignalIsResetAndDoesNotSpin) {
    WriteSchedule({Scheduled(u"Night", common::kAllDays, 22, 7)});
    SetClock(Date(4, 12));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    HANDLE named = OpenEventW(EVENT_ALL_ACCESS, FALSE, Scheduler::kEventName);
    ASSERT_NE(named, nullptr);
    SetEvent(named);
    EXPECT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(3000)));
    EXPECT_EQ(WaitForSingleObject(named, 0), WAIT_TIMEOUT);
    EXPECT_EQ(Mode(), 0u);
    EXPECT_EQ(Wakeup(), "4 22:00:00");
    CloseHandle(named);
}

TEST_F(SchedulerTest, StopEndsTheThreadAndLeavesNothingRegistered) {
    WriteSchedule({Scheduled(u"Night", common::kAllDays, 22, 7)});
    SetClock(Date(4, 23));
    ASSERT_TRUE(m_engine->ApplyByIndex(0));
    ASSERT_TRUE(m_engine->ScheduledSwitching().ThreadRunning());
    m_engine->Shutdown();
    EXPECT_FALSE(m_engine->ScheduledSwitching().ThreadRunning());
    EXPECT_FALSE(m_engine->ScheduledSwitching().WakeupSet());
    EXPECT_EQ(Wakeup(), "none");
    EXPECT_EQ(ActiveName(), std::nullopt);
    // The night profile's script gave way to the one it saved.
    WCHAR script[16] = {};
    RegistryGetString(HKEY_CURRENT_USER, u"ControlPanel\\Sounds\\RingTone0", u"Script", script, 16);
    EXPECT_EQ(std::u16string(script), u"apw3r");
    // Only the scheduler's thread was started; it has ended.
    EXPECT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(1000)));
}

} // namespace
