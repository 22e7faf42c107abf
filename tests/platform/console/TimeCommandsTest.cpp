#include "ce/kernel.h"
#include "console/DeviceCommands.h"
#include "kernel/DeviceClock.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <vector>

using platform::Console;
using platform::DeviceClock;
using platform::WaitHub;

namespace {

class TimeCommands : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    std::vector<std::string> Answer(const std::string& line) { return m_console.Execute(line).lines; }

    Console m_console;
};

using Lines = std::vector<std::string>;

TEST_F(TimeCommands, SetAndGetUseTheLocalTimeFormat) {
    EXPECT_EQ(Answer("time freeze"), (Lines{"OK"}));
    TIME_ZONE_INFORMATION tz{};
    tz.Bias = -120;
    ASSERT_TRUE(SetTimeZoneInformation(&tz));
    EXPECT_EQ(Answer("time set 2026-03-09T07:05:03"), (Lines{"OK"}));
    EXPECT_EQ(Answer("time get"), (Lines{"2026-03-09T07:05:03", "OK"}));
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    EXPECT_EQ(utc.wHour, 5);
}

TEST_F(TimeCommands, RefusesMalformedAndImpossibleTimes) {
    for (const char* text : {"2026-02-29T00:00:00", "2026-13-01T00:00:00", "2026-01-01T24:00:00",
                             "2026-01-01T00:60:00", "2026-1-01T00:00:00",
                             "2026-01-01T00:00:00Z", "1600-01-01T00:00:00", "abcd-01-01T00:00:00"}) {
        EXPECT_EQ(Answer(std::string("time set ") + text),
                  (Lines{std::string("ERROR invalid time: ") + text}));
    }
    EXPECT_EQ(Answer("time set"), (Lines{"ERROR usage: time set YYYY-MM-DDTHH:MM:SS"}));
    EXPECT_EQ(Answer("time get now"), (Lines{"ERROR usage: time get"}));
}

TEST_F(TimeCommands, AdvanceStopsAtEveryDueTimeInOrder) {
    auto& clock = DeviceClock::Instance();
    ASSERT_EQ(Answer("time freeze"), (Lines{"OK"}));
    int64_t start = clock.MonotonicMs();
    // Two pieces of work due on the device clock, seen by the stepping as a due source.
    std::vector<int64_t> due = {start + 3000, start + 1000};
    std::vector<int64_t> firedAt;
    auto& hub = WaitHub::Instance();
    uint64_t id;
    {
        std::lock_guard lock(hub.Mutex());
        id = hub.AddDueSource([&]() -> std::optional<int64_t> {
            int64_t now = clock.MonotonicMs();
            std::optional<int64_t> next;
            for (auto it = due.begin(); it != due.end();) {
                if (*it <= now) {
                    firedAt.push_back(now);
                    it = due.erase(it);
                } else {
                    next = next ? std::min(*next, *it) : *it;
                    ++it;
                }
            }
            return next;
        });
    }
    EXPECT_EQ(Answer("time advance 5"), (Lines{"OK"}));
    {
        std::lock_guard lock(hub.Mutex());
        hub.RemoveDueSource(id);
    }
    EXPECT_EQ(clock.MonotonicMs(), start + 5000);
    EXPECT_EQ(firedAt, (std::vector<int64_t>{start + 1000, start + 3000}));
    EXPECT_EQ(Answer("time advance -1"), (Lines{"ERROR usage: time advance SECONDS"}));
    EXPECT_EQ(Answer("time advance 99999999999999"), (Lines{"ERROR usage: time advance SECONDS"}));
}

TEST_F(TimeCommands, IdleAnswersOkOnARestingDevice) {
    EXPECT_EQ(Answer("idle 1000"), (Lines{"OK"}));
    EXPECT_EQ(Answer("idle"), (Lines{"OK"}));
}

} // namespace
