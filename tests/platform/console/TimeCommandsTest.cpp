#include "ce/kernel.h"
#include "console/DeviceCommands.h"
#include "ce/user.h"
#include "kernel/DeviceClock.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <atomic>
#include <thread>
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

// An emulated thread with a window whose timer fires every device second, so that a long
// advance has a stop every second.
class TickingThread {
public:
    TickingThread() {
        auto& table = platform::ProcessTable::Instance();
        auto process = table.CreateProcessRecord(u"\\Windows\\ticker.exe", u"");
        m_thread = table.StartThread(process, [this]() -> DWORD {
            MSG msg;
            SetTimer(nullptr, 0, 1000, nullptr);
            m_ready = true;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0)
                ++m_ticks;
            return 0;
        }, false);
        while (!m_ready.load())
            Sleep(1);
    }
    ~TickingThread() {
        PostThreadMessageW(m_thread->Id(), WM_QUIT, 0, 0);
        WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000));
    }
    int Ticks() const { return m_ticks.load(); }

private:
    std::shared_ptr<platform::ThreadObject> m_thread;
    std::atomic<bool> m_ready{false};
    std::atomic<int> m_ticks{0};
};

TEST_F(TimeCommands, LongCommandsEndWithTheQuitRequest) {
    TickingThread ticker;
    ASSERT_EQ(Answer("time freeze"), (Lines{"OK"}));
    ASSERT_EQ(Answer("time advance 10"), (Lines{"OK"}));
    EXPECT_EQ(ticker.Ticks(), 10);
    // A century of seconds: without the quit request this would run for hours.
    Lines answer;
    int64_t start = DeviceClock::Instance().MonotonicMs();
    std::thread command([&] { answer = Answer("time advance 3153600000"); });
    while (ticker.Ticks() < 20)
        Sleep(1);
    m_console.RequestQuit();
    command.join();
    EXPECT_EQ(answer, (Lines{"ERROR shutting down"}));
    // The clock stands where the advance was cut short, not at its target.
    EXPECT_LT(DeviceClock::Instance().MonotonicMs() - start, int64_t(24) * 3600 * 1000);
    EXPECT_EQ(Answer("idle 600000"), (Lines{"ERROR shutting down"}));
    EXPECT_EQ(Answer("time advance 1"), (Lines{"ERROR shutting down"}));
}

TEST_F(TimeCommands, IdleAnswersOkOnARestingDevice) {
    EXPECT_EQ(Answer("idle 1000"), (Lines{"OK"}));
    EXPECT_EQ(Answer("idle"), (Lines{"OK"}));
}

} // namespace
