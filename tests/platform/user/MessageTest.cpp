#include "UserTestSupport.h"
#include "user/MessageQueue.h"

#include <atomic>

using namespace usertest;

namespace {

std::vector<UINT> PeekAll(HWND filter = nullptr, UINT first = 0, UINT last = 0) {
    std::vector<UINT> messages;
    MSG msg;
    for (int i = 0; i < 50 && PeekMessageW(&msg, filter, first, last, PM_REMOVE); ++i) {
        messages.push_back(msg.message);
        if (msg.message == WM_PAINT || msg.message == WM_TIMER)
            DispatchMessageW(&msg);
    }
    return messages;
}

} // namespace

TEST_F(UserTest, RetrievalOrderIsPostedThenQuitThenPaintThenTimer) {
    platform::DeviceClock::Instance().Freeze();
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE);
    Drain();
    ASSERT_EQ(SetTimer(hwnd, 5, 100, nullptr), 5u);
    InvalidateRect(hwnd, nullptr, TRUE);
    platform::DeviceClock::Instance().Advance(100);
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    PostQuitMessage(3);
    PostMessageW(nullptr, WM_USER + 2, 0, 0); // a thread message
    MSG msg;
    std::vector<UINT> order;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        order.push_back(msg.message);
        if (msg.message == WM_QUIT) {
            EXPECT_EQ(msg.wParam, 3u);
        }
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(order, (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_QUIT, WM_PAINT, WM_TIMER}));
}

TEST_F(UserTest, GetMessageReturnsFalseOnlyForQuit) {
    PostQuitMessage(7);
    PostMessageW(nullptr, WM_USER, 1, 2);
    MSG msg;
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, UINT(WM_USER));
    EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetMessageW(&msg, reinterpret_cast<HWND>(0x7770000), 0, 0), -1);
}

TEST_F(UserTest, PeekMessageWindowAndRangeFilters) {
    struct Case {
        const char* name;
        int filterWindow; // 0 none, 1 parent, 2 other, -1 thread messages only
        UINT first, last;
        std::vector<UINT> expected;
    };
    const std::vector<Case> cases = {
        {"all", 0, 0, 0, {WM_USER + 1, WM_USER + 2, WM_USER + 3, WM_USER + 4}},
        {"parent and its child", 1, 0, 0, {WM_USER + 1, WM_USER + 2}},
        {"other window", 2, 0, 0, {WM_USER + 3}},
        {"thread messages", -1, 0, 0, {WM_USER + 4}},
        {"range", 0, WM_USER + 2, WM_USER + 3, {WM_USER + 2, WM_USER + 3}},
        {"inverted range", 0, WM_USER + 4, WM_USER + 1, {WM_USER + 1, WM_USER + 4}},
        {"window and range", 1, WM_USER + 2, WM_USER + 9, {WM_USER + 2}},
    };
    HWND parent = Create();
    HWND child = Create(WS_CHILD, 0, parent);
    HWND other = Create();
    Drain();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PostMessageW(parent, WM_USER + 1, 0, 0);
        PostMessageW(child, WM_USER + 2, 0, 0);
        PostMessageW(other, WM_USER + 3, 0, 0);
        PostThreadMessageW(GetCurrentThreadId(), WM_USER + 4, 0, 0);
        HWND filter = c.filterWindow == 1   ? parent
                      : c.filterWindow == 2 ? other
                      : c.filterWindow == -1 ? reinterpret_cast<HWND>(LONG_PTR(-1))
                                            : nullptr;
        EXPECT_EQ(PeekAll(filter, c.first, c.last), c.expected);
        Drain();
    }
}

TEST_F(UserTest, PeekWithoutRemoveLeavesTheMessage) {
    PostMessageW(nullptr, WM_USER + 9, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_USER + 9));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(UserTest, SentMessagesAreHandledBeforePostedOnesAndInOrder) {
    HWND hwnd = Create();
    Drain();
    Recorder::Instance().Take();
    PostMessageW(hwnd, WM_USER + 1, 0, 0);
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 2, 0, 0), 0);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    EXPECT_EQ(Recorder::Instance().TakeMessages(hwnd), (std::vector<UINT>{WM_USER + 2, WM_USER + 1}));
}

TEST_F(UserTest, TwoThreadsSendingToEachOtherDoNotDeadlock) {
    HWND mainWindow = Create();
    std::atomic<HWND> workerWindow{nullptr};
    std::atomic<bool> stop{false};
    Recorder::Instance().m_hook = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
        if (hwnd == workerWindow && message == WM_USER + 5) {
            // Worker asks the main thread, which asks the worker again before answering.
            result = SendMessageW(mainWindow, WM_USER, 0, 0) + 100;
            return true;
        }
        if (hwnd == mainWindow && message == WM_USER) {
            result = SendMessageW(workerWindow, WM_USER + 1, 0, 0) + 1;
            return true;
        }
        if (hwnd == workerWindow && message == WM_USER + 1) {
            result = 41;
            return true;
        }
        return false;
    };
    auto worker = StartWorker([&]() -> DWORD {
        workerWindow = Create();
        MSG msg;
        while (!stop && GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        return 0;
    });
    ASSERT_TRUE(WaitFor([&] { return workerWindow.load() != nullptr; }));
    EXPECT_EQ(SendMessageW(workerWindow, WM_USER + 5, 0, 0), 142);
    stop = true;
    PostMessageW(workerWindow, WM_NULL, 0, 0);
    ASSERT_TRUE(JoinThread(worker));
}

TEST_F(UserTest, SendToWindowOfEndedThreadFails) {
    std::atomic<HWND> workerWindow{nullptr};
    auto worker = StartWorker([&]() -> DWORD {
        workerWindow = Create();
        return 0;
    });
    ASSERT_TRUE(JoinThread(worker));
    // The thread's windows went with it, with their destruction messages.
    auto messages = Recorder::Instance().TakeMessages(workerWindow);
    EXPECT_NE(std::find(messages.begin(), messages.end(), UINT(WM_NCDESTROY)), messages.end());
    EXPECT_FALSE(IsWindow(workerWindow));
    SetLastError(0);
    EXPECT_EQ(SendMessageW(workerWindow, WM_USER, 0, 0), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_FALSE(PostThreadMessageW(worker->Id(), WM_USER, 0, 0));
}

TEST_F(UserTest, PendingSendFailsWhenTheReceiverEnds) {
    std::atomic<HWND> workerWindow{nullptr};
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto worker = StartWorker([&]() -> DWORD {
        workerWindow = Create();
        WaitForSingleObject(release, INFINITE); // never reads its queue
        return 0;
    });
    ASSERT_TRUE(WaitFor([&] { return workerWindow.load() != nullptr; }));
    auto sender = StartWorker([&]() -> DWORD {
        return DWORD(SendMessageW(workerWindow, WM_USER, 0, 0)) + 1;
    });
    ASSERT_TRUE(WaitFor([&] {
        std::lock_guard lock(platform::WaitHub::Instance().Mutex());
        return worker->m_queue && !worker->m_queue->m_incoming.empty();
    }));
    SetEvent(release);
    ASSERT_TRUE(JoinThread(worker));
    ASSERT_TRUE(JoinThread(sender));
    EXPECT_EQ(sender->m_exitCode, 1u);
    CloseHandle(release);
}

TEST_F(UserTest, ThreadMessagesReachAWorkerLoop) {
    std::vector<std::pair<UINT, WPARAM>> received;
    auto worker = StartWorker([&]() -> DWORD {
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            received.emplace_back(msg.message, msg.wParam);
        return DWORD(msg.wParam);
    });
    EXPECT_TRUE(PostThreadMessageW(worker->Id(), 0x8205, 0, 0));
    EXPECT_TRUE(PostThreadMessageW(worker->Id(), 0x8201, 0x100, 0));
    EXPECT_TRUE(PostThreadMessageW(worker->Id(), WM_QUIT, 9, 0));
    ASSERT_TRUE(JoinThread(worker));
    EXPECT_EQ(worker->m_exitCode, 9u);
    EXPECT_EQ(received, (std::vector<std::pair<UINT, WPARAM>>{{0x8205, 0}, {0x8201, 0x100}}));
    EXPECT_FALSE(PostThreadMessageW(0x7FFFFFF0, WM_USER, 0, 0));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_THREAD_ID));
}

TEST_F(UserTest, MessagesPointingIntoTheSendersMemoryAreOnlySent) {
    HWND own = Create();
    std::atomic<HWND> workerWindow{nullptr};
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    auto worker = StartWorker([&]() -> DWORD {
        workerWindow = Create();
        WaitForSingleObject(release, INFINITE);
        return 0;
    });
    ASSERT_TRUE(WaitFor([&] { return workerWindow.load() != nullptr; }));
    Drain();
    const char16_t title[] = u"text";
    auto pointer = reinterpret_cast<LPARAM>(title);
    for (UINT message : {UINT(WM_SETTEXT), UINT(WM_SETTINGCHANGE), UINT(WM_NOTIFY)}) {
        SetLastError(0);
        EXPECT_FALSE(PostMessageW(own, message, 0, pointer)) << message;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_MESSAGE_SYNC_ONLY)) << message;
        EXPECT_FALSE(PostThreadMessageW(worker->Id(), message, 0, pointer)) << message;
        EXPECT_FALSE(SendNotifyMessageW(workerWindow, message, 0, pointer)) << message;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_MESSAGE_SYNC_ONLY)) << message;
    }
    // Nothing was queued; without a pointer the same messages go, and on the window's own
    // thread a notification is a plain call.
    EXPECT_EQ(PeekAll(), std::vector<UINT>{});
    EXPECT_TRUE(PostMessageW(own, WM_SETTINGCHANGE, 0, 0));
    EXPECT_TRUE(PostMessageW(own, WM_USER, 0, pointer)); // private messages are the sender's business
    EXPECT_EQ(PeekAll(), (std::vector<UINT>{WM_SETTINGCHANGE, WM_USER}));
    EXPECT_TRUE(SendNotifyMessageW(own, WM_SETTEXT, 0, pointer));
    WCHAR text[8] = {};
    GetWindowTextW(own, text, 8);
    EXPECT_EQ(std::u16string(text), u"text");
    SetEvent(release);
    ASSERT_TRUE(JoinThread(worker));
    CloseHandle(release);
}

TEST_F(UserTest, PostedQueueIsBounded) {
    int accepted = 0;
    for (int i = 0; i < 10005; ++i)
        accepted += PostMessageW(nullptr, WM_USER, 0, 0) ? 1 : 0;
    EXPECT_EQ(accepted, 10000);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_QUOTA));
}

TEST_F(UserTest, TranslateMessageMakesCharactersOfPrintableKeys) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE);
    Drain();
    struct Case {
        BYTE key;
        bool shift;
        WPARAM expected; // 0: no WM_CHAR
    };
    const Case cases[] = {{'A', false, 'a'}, {'A', true, 'A'}, {'7', false, '7'},
                          {VK_RETURN, false, '\r'}, {VK_F3, false, 0}, {VK_LEFT, false, 0}};
    for (const Case& c : cases) {
        if (c.shift)
            keybd_event(VK_SHIFT, 0, 0, 0);
        keybd_event(c.key, 0, 0, 0);
        MSG msg;
        WPARAM got = 0;
        while (PeekMessageW(&msg, hwnd, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_KEYDOWN && msg.wParam == c.key)
                TranslateMessage(&msg);
            if (msg.message == WM_CHAR)
                got = msg.wParam;
        }
        keybd_event(c.key, 0, KEYEVENTF_KEYUP, 0);
        if (c.shift)
            keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
        Drain();
        EXPECT_EQ(got, c.expected) << int(c.key);
    }
}

TEST_F(UserTest, ForgedTimerMessageDoesNotCallItsLParam) {
    static std::atomic<int> calls{0};
    TIMERPROC proc = [](HWND, UINT, UINT_PTR, DWORD) { ++calls; };
    UINT_PTR id = SetTimer(nullptr, 0, 50, proc);
    ASSERT_NE(id, 0u);
    MSG forged{nullptr, WM_TIMER, id + 1, reinterpret_cast<LPARAM>(proc), 0, {0, 0}};
    DispatchMessageW(&forged);
    EXPECT_EQ(calls, 0);
    MSG real{nullptr, WM_TIMER, id, reinterpret_cast<LPARAM>(proc), 0, {0, 0}};
    DispatchMessageW(&real);
    EXPECT_EQ(calls, 1);
    KillTimer(nullptr, id);
}
