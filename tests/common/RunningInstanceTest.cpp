// A request handed to the running instance: a foreign window in front is closed first,
// then the wake-up and the page request reach the watcher's thread, in that order.
#include "ce/kernel.h"
#include "ce/user.h"
#include "common/Messages.h"
#include "common/RunningInstance.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <atomic>
#include <string>
#include <vector>

namespace {

// What the resident thread received, in order: thread messages as "wake" and
// "page 0xF", the box's close as "close box".
std::vector<std::string> g_received;

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE)
        g_received.push_back("close box");
    return DefWindowProcW(window, message, wParam, lParam);
}

class RunningInstance : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        g_received.clear();
        WNDCLASSW watcherClass{};
        watcherClass.lpfnWndProc = DefWindowProcW;
        watcherClass.lpszClassName = common::kWatcherClass;
        RegisterClassW(&watcherClass);
        WNDCLASSW boxClass{};
        boxClass.lpfnWndProc = BoxProc;
        boxClass.lpszClassName = u"ForeignBox";
        RegisterClassW(&boxClass);
    }

    // Starts the resident thread with its hidden watcher and, with `box`, a visible box.
    void StartResident(bool box) {
        auto& table = platform::ProcessTable::Instance();
        auto process = table.CreateProcessRecord(u"\\Windows\\resident.exe", u"");
        m_thread = table.StartThread(process, [this, box]() -> DWORD {
            m_watcher = CreateWindowExW(0, common::kWatcherClass, u"", WS_POPUP, 0, 0, 1, 1,
                                        nullptr, nullptr, nullptr, nullptr);
            if (box)
                CreateWindowExW(0, u"ForeignBox", u"Question", WS_POPUP | WS_VISIBLE, 10, 10, 100,
                                50, nullptr, nullptr, nullptr, nullptr);
            MSG msg;
            while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
                if (msg.message == common::CRVM_WAKE)
                    g_received.push_back("wake");
                else if (msg.message == common::CRVM_OPENPAGE)
                    g_received.push_back("page 0x" + ToHex(msg.wParam));
                DispatchMessageW(&msg);
            }
            return 0;
        }, false);
        while (!m_watcher.load())
            Sleep(1);
        platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000));
    }

    void StopResident() {
        PostThreadMessageW(m_thread->Id(), WM_QUIT, 0, 0);
        platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000));
    }

    static std::string ToHex(WPARAM value) {
        char text[24];
        snprintf(text, sizeof text, "%lX", static_cast<unsigned long>(value));
        return text;
    }

    std::shared_ptr<platform::ThreadObject> m_thread;
    std::atomic<HWND> m_watcher{nullptr};
};

TEST_F(RunningInstance, TheWakeUpComesBeforeThePageRequest) {
    StartResident(false);
    EXPECT_EQ(common::FindRunningInstance(), m_watcher.load());
    ASSERT_TRUE(common::ForwardPageRequest(m_watcher, 0x2));
    platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000));
    EXPECT_EQ(g_received, (std::vector<std::string>{"wake", "page 0x2"}));
    StopResident();
}

TEST_F(RunningInstance, AForeignWindowInFrontIsClosedFirst) {
    StartResident(true);
    ASSERT_TRUE(common::ForwardPageRequest(m_watcher, 0x10));
    platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000));
    EXPECT_EQ(g_received, (std::vector<std::string>{"close box", "wake", "page 0x10"}));
    EXPECT_EQ(FindWindowW(u"ForeignBox", nullptr), nullptr);
    StopResident();
    // No resident thread: nothing to hand the request to.
    EXPECT_FALSE(common::ForwardPageRequest(nullptr, 0x2));
}

} // namespace
