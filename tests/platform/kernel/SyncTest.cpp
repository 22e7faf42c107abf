#include "ce/kernel.h"
#include "kernel/DeviceClock.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <atomic>

using testsupport::TestDevice;

namespace {

class KernelSync : public TestDevice {};

DWORD WINAPI SetAfterWait(LPVOID parameter) {
    auto* handles = static_cast<HANDLE*>(parameter);
    WaitForSingleObject(handles[0], INFINITE);
    SetEvent(handles[1]);
    return 42;
}

TEST_F(KernelSync, AutoResetEventReleasesOneWaiterAndManualResetStaysSignalled) {
    HANDLE autoEvent = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    HANDLE manualEvent = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(manualEvent, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(manualEvent, 0), WAIT_OBJECT_0);
    ResetEvent(manualEvent);
    EXPECT_EQ(WaitForSingleObject(manualEvent, 10), WAIT_TIMEOUT);
    CloseHandle(autoEvent);
    CloseHandle(manualEvent);
}

TEST_F(KernelSync, NamedEventsAreSharedAndReportExistence) {
    HANDLE first = CreateEventW(nullptr, TRUE, FALSE, u"CrvTestEvent");
    EXPECT_EQ(GetLastError(), ERROR_SUCCESS);
    HANDLE second = CreateEventW(nullptr, TRUE, FALSE, u"crvtestevent");
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_ALREADY_EXISTS);
    SetEvent(second);
    EXPECT_EQ(WaitForSingleObject(first, 0), WAIT_OBJECT_0);
    HANDLE opened = OpenEventW(EVENT_ALL_ACCESS, FALSE, u"CRVTESTEVENT");
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(OpenEventW(EVENT_ALL_ACCESS, FALSE, u"NoSuchEvent"), nullptr);
    CloseHandle(first);
    CloseHandle(second);
    CloseHandle(opened);
}

TEST_F(KernelSync, WaitForMultipleObjectsReportsTheFirstSignalledAndWaitAll) {
    HANDLE events[3] = {CreateEventW(nullptr, TRUE, FALSE, nullptr),
                        CreateEventW(nullptr, TRUE, TRUE, nullptr),
                        CreateEventW(nullptr, TRUE, TRUE, nullptr)};
    EXPECT_EQ(WaitForMultipleObjects(3, events, FALSE, 0), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), WAIT_TIMEOUT);
    SetEvent(events[0]);
    EXPECT_EQ(WaitForMultipleObjects(3, events, TRUE, 0), WAIT_OBJECT_0);
    for (HANDLE h : events)
        CloseHandle(h);
}

TEST_F(KernelSync, ClosedAndForeignHandlesFailCleanly) {
    HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_TRUE(CloseHandle(event));
    EXPECT_FALSE(CloseHandle(event));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    EXPECT_EQ(WaitForSingleObject(event, 0), WAIT_FAILED);
    // A new object in the reused slot must not be reachable through the old handle.
    HANDLE reused = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_FALSE(SetEvent(event));
    EXPECT_EQ(WaitForSingleObject(reinterpret_cast<HANDLE>(0x1234), 0), WAIT_FAILED);
    CloseHandle(reused);
}

TEST_F(KernelSync, ThreadsRunWaitAndReportExitCodes) {
    HANDLE events[2] = {CreateEventW(nullptr, FALSE, FALSE, nullptr),
                        CreateEventW(nullptr, FALSE, FALSE, nullptr)};
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, SetAfterWait, events, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    SetEvent(events[0]);
    EXPECT_EQ(WaitForSingleObject(events[1], 5000), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeThread(thread, &code));
    EXPECT_EQ(code, 42u);
    CloseHandle(thread);
    CloseHandle(events[0]);
    CloseHandle(events[1]);
}

TEST_F(KernelSync, ExitThreadAndSuspendedStart) {
    static std::atomic<int> ran{0};
    HANDLE thread = CreateThread(
        nullptr, 0,
        [](LPVOID) -> DWORD {
            ran = 1;
            ExitThread(7);
            ran = 2;
            return 0;
        },
        nullptr, CREATE_SUSPENDED, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 50), WAIT_TIMEOUT);
    EXPECT_EQ(ran.load(), 0);
    ResumeThread(thread);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(ran.load(), 1);
    CloseHandle(thread);
}

TEST_F(KernelSync, IdleWaitsForBlockedThreads) {
    HANDLE gate = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = CreateThread(
        nullptr, 0, [](LPVOID p) -> DWORD { return WaitForSingleObject(p, INFINITE); }, gate, 0,
        nullptr);
    EXPECT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000)));
    SetEvent(gate);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    CloseHandle(gate);
}

TEST_F(KernelSync, CriticalSectionsAreRecursive) {
    CRITICAL_SECTION section;
    InitializeCriticalSection(&section);
    EnterCriticalSection(&section);
    EXPECT_TRUE(TryEnterCriticalSection(&section));
    EXPECT_EQ(section.ownerThread, GetCurrentThreadId());
    LeaveCriticalSection(&section);
    LeaveCriticalSection(&section);
    EXPECT_EQ(section.ownerThread, 0u);
    DeleteCriticalSection(&section);
}

} // namespace

TEST_F(KernelSync, ABriefSleepIsWorkNotRest) {
    HANDLE thread = CreateThread(
        nullptr, 0, [](LPVOID) -> DWORD {
            Sleep(300);
            return 0;
        },
        nullptr, 0, nullptr);
    // The sleeper wakes by itself: the device rests only once it ended.
    EXPECT_FALSE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(100)));
    EXPECT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(5000)));
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    CloseHandle(thread);
}
