// Timed named-event wake-ups on the device clock: each fires at its own time, a second
// registration replaces the first, a null time removes it, and the console's stepwise
// advance stops at it so a waiting program sees the wake-up at the right time.
#include "ce/kernel.h"
#include "ce/notify.h"
#include "kernel/DeviceClock.h"
#include "kernel/WaitHub.h"
#include "notify/WakeupTable.h"
#include "support/TestDevice.h"

#include <atomic>
#include <string>

using platform::DeviceClock;
using platform::WaitHub;
using platform::WakeupTable;

namespace {

constexpr WCHAR kPath[] = u"\\\\.\\Notifications\\NamedEvents\\TestWakeEvent";
constexpr WCHAR kEventName[] = u"TestWakeEvent";

SYSTEMTIME At(WORD hour, WORD minute, WORD second) {
    SYSTEMTIME time{};
    time.wYear = 2026;
    time.wMonth = 3;
    time.wDay = 2;
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

class CeRunAppAtTimeTest : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        DeviceClock::Instance().Freeze();
        SYSTEMTIME start = At(10, 0, 0);
        ASSERT_TRUE(SetLocalTime(&start));
        m_event = CreateEventW(nullptr, TRUE, FALSE, kEventName);
        ASSERT_NE(m_event, nullptr);
    }
    void TearDown() override {
        CloseHandle(m_event);
        TestDevice::TearDown();
    }

    // Moves the frozen clock and gives the firing thread the time to look at it.
    bool SignalledAfter(int64_t seconds) {
        DeviceClock::Instance().Advance(seconds * 1000);
        return WaitForSingleObject(m_event, 500) == WAIT_OBJECT_0;
    }

    HANDLE m_event = nullptr;
};

TEST_F(CeRunAppAtTimeTest, SignalsTheEventWhenTheClockReachesTheTime) {
    SYSTEMTIME due = At(10, 0, 30);
    ASSERT_TRUE(CeRunAppAtTime(kPath, &due));
    EXPECT_FALSE(SignalledAfter(29));
    EXPECT_TRUE(SignalledAfter(1));
    // Fired wake-ups are forgotten.
    EXPECT_FALSE(WakeupTable::Instance().Find(kEventName).has_value());
}

TEST_F(CeRunAppAtTimeTest, ASecondRegistrationReplacesTheFirst) {
    SYSTEMTIME first = At(10, 0, 10), second = At(10, 1, 0);
    ASSERT_TRUE(CeRunAppAtTime(kPath, &first));
    // The event name is compared without regard to case.
    ASSERT_TRUE(CeRunAppAtTime(u"\\\\.\\notifications\\namedevents\\TESTWAKEEVENT", &second));
    EXPECT_FALSE(SignalledAfter(30));
    EXPECT_TRUE(SignalledAfter(30));
}

TEST_F(CeRunAppAtTimeTest, ANullTimeRemovesTheWakeup) {
    SYSTEMTIME due = At(10, 0, 10);
    ASSERT_TRUE(CeRunAppAtTime(kPath, &due));
    ASSERT_TRUE(CeRunAppAtTime(kPath, nullptr));
    EXPECT_FALSE(WakeupTable::Instance().Find(kEventName).has_value());
    EXPECT_FALSE(SignalledAfter(60));
    // Removing what is not registered is no error.
    EXPECT_TRUE(CeRunAppAtTime(kPath, nullptr));
}

TEST_F(CeRunAppAtTimeTest, ATimeAlreadyPastFiresAtOnce) {
    SYSTEMTIME past = At(9, 0, 0);
    ASSERT_TRUE(CeRunAppAtTime(kPath, &past));
    EXPECT_EQ(WaitForSingleObject(m_event, 1000), WAIT_OBJECT_0);
}

TEST_F(CeRunAppAtTimeTest, FiresOnARunningClock) {
    DeviceClock::Instance().Run();
    FILETIME now;
    SYSTEMTIME local;
    GetLocalTime(&local);
    SystemTimeToFileTime(&local, &now);
    uint64_t ticks = (uint64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime) + 3000000; // 300 ms
    FILETIME soon{DWORD(ticks), DWORD(ticks >> 32)};
    SYSTEMTIME due;
    FileTimeToSystemTime(&soon, &due);
    ASSERT_TRUE(CeRunAppAtTime(kPath, &due));
    EXPECT_EQ(WaitForSingleObject(m_event, 100), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(m_event, 3000), WAIT_OBJECT_0);
}

// What `time advance` does: a program waiting for the event wakes when the clock passes
// the wake-up, and the clock stopped at the wake-up time while it ran.
TEST_F(CeRunAppAtTimeTest, AStepwiseAdvanceStopsAtTheWakeup) {
    static std::atomic<int> s_secondsSeen{-1};
    s_secondsSeen = -1;
    HANDLE thread = CreateThread(nullptr, 0, [](LPVOID event) -> DWORD {
        WaitForSingleObject(static_cast<HANDLE>(event), INFINITE);
        SYSTEMTIME now;
        GetLocalTime(&now);
        s_secondsSeen = now.wMinute * 60 + now.wSecond;
        return 0;
    }, m_event, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    SYSTEMTIME due = At(10, 1, 15);
    ASSERT_TRUE(CeRunAppAtTime(kPath, &due));
    // A pending wake-up that is not due keeps the device idle.
    EXPECT_TRUE(WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000)));
    DeviceClock::Instance().AdvanceStepwise(10 * 60 * 1000, 2000);
    EXPECT_EQ(WaitForSingleObject(thread, 2000), WAIT_OBJECT_0);
    EXPECT_EQ(s_secondsSeen.load(), 75);
    CloseHandle(thread);
}

struct Refusal {
    const WCHAR* appName;
    bool withTime;
    WORD month;
    DWORD error;
};

TEST_F(CeRunAppAtTimeTest, RefusesWhatItCannotWake) {
    const Refusal refusals[] = {
        {nullptr, true, 3, ERROR_INVALID_PARAMETER},
        {u"", true, 3, ERROR_INVALID_PARAMETER},
        {u"\\Windows\\clock.exe", true, 3, ERROR_NOT_SUPPORTED},
        {u"\\\\.\\Notifications\\NamedEvents\\", true, 3, ERROR_NOT_SUPPORTED},
        {kPath, true, 13, ERROR_INVALID_PARAMETER},
    };
    for (const Refusal& refusal : refusals) {
        SYSTEMTIME time = At(11, 0, 0);
        time.wMonth = refusal.month;
        SetLastError(0);
        EXPECT_FALSE(CeRunAppAtTime(refusal.appName, refusal.withTime ? &time : nullptr));
        EXPECT_EQ(GetLastError(), refusal.error);
    }
    EXPECT_FALSE(WakeupTable::Instance().Find(kEventName).has_value());
}

} // namespace
