// Timers follow the device clock: a thread waiting for a timer while the clock stands still
// must notice when the clock runs again, or is set or advanced, and wake at the new time.
#include "UserTestSupport.h"

#include <atomic>

using namespace usertest;

namespace {

// A worker waits in GetMessageW for a 100 ms timer while the clock is frozen; each way of
// moving the clock must deliver the timer.
TEST_F(UserTest, TimerWaitsFollowEveryChangeOfTheClock) {
    auto& clock = platform::DeviceClock::Instance();
    const std::function<void()> moves[] = {
        [&] { clock.Run(); },
        [&] { clock.Advance(150); },
    };
    for (const auto& move : moves) {
        clock.Freeze();
        std::atomic<int> timers{0};
        std::atomic<bool> armed{false};
        auto worker = StartWorker([&]() -> DWORD {
            UINT_PTR id = SetTimer(nullptr, 0, 100, nullptr);
            armed = true;
            MSG msg;
            while (timers == 0 && GetMessageW(&msg, nullptr, 0, 0) > 0)
                if (msg.message == WM_TIMER)
                    ++timers;
            KillTimer(nullptr, id);
            return 0;
        });
        ASSERT_TRUE(WaitFor([&] { return armed.load(); }));
        ASSERT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(1000)));
        EXPECT_EQ(timers.load(), 0) << "nothing fires while the clock stands still";
        move();
        EXPECT_TRUE(JoinThread(worker, 3000)) << "the waiting thread missed the clock change";
        EXPECT_EQ(timers.load(), 1);
    }
}

} // namespace
