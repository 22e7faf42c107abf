#include "UserTestSupport.h"

using namespace usertest;

namespace {

std::vector<Entry> FocusEntries() {
    std::vector<Entry> result;
    for (const Entry& entry : Recorder::Instance().Take())
        if (entry.message == WM_ACTIVATE || entry.message == WM_NCACTIVATE ||
            entry.message == WM_SETFOCUS || entry.message == WM_KILLFOCUS)
            result.push_back(entry);
    return result;
}

std::vector<MSG> Queued(HWND filter = nullptr) {
    std::vector<MSG> result;
    MSG msg;
    while (PeekMessageW(&msg, filter, 0, 0, PM_REMOVE))
        if (msg.message == WM_PAINT)
            ValidateRect(msg.hwnd, nullptr);
        else
            result.push_back(msg);
    return result;
}

} // namespace

TEST_F(UserTest, ActivationAndFocusMessagesComeInOrder) {
    HWND first = Create(WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), first);
    HWND second = Create(WS_POPUP);
    Recorder::Instance().Take();
    ShowWindow(second, SW_SHOW);
    std::vector<Entry> expected = {
        {first, WM_NCACTIVATE, FALSE, 0},
        {first, WM_ACTIVATE, WA_INACTIVE, reinterpret_cast<LPARAM>(second)},
        {second, WM_NCACTIVATE, TRUE, 0},
        {second, WM_ACTIVATE, WA_ACTIVE, reinterpret_cast<LPARAM>(first)},
        {first, WM_KILLFOCUS, reinterpret_cast<WPARAM>(second), 0},
        {second, WM_SETFOCUS, reinterpret_cast<WPARAM>(first), 0},
    };
    EXPECT_EQ(FocusEntries(), expected);
    EXPECT_EQ(GetForegroundWindow(), second);
    // Focus to a child of the inactive window activates that window first.
    HWND child = Create(WS_CHILD | WS_VISIBLE, 0, first);
    Recorder::Instance().Take();
    EXPECT_EQ(SetFocus(child), second);
    EXPECT_EQ(GetActiveWindow(), first);
    EXPECT_EQ(GetFocus(), child);
    auto entries = FocusEntries();
    ASSERT_FALSE(entries.empty());
    EXPECT_EQ(entries.back(), (Entry{child, WM_SETFOCUS, reinterpret_cast<WPARAM>(first), 0}));
}

TEST_F(UserTest, HidingOrDestroyingTheActiveWindowActivatesAnother) {
    HWND below = Create(WS_POPUP | WS_VISIBLE);
    HWND noActivate = Create(WS_POPUP | WS_VISIBLE, WS_EX_NOACTIVATE);
    HWND top = Create(WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(GetActiveWindow(), top);
    ShowWindow(top, SW_HIDE);
    EXPECT_EQ(GetActiveWindow(), below); // the no-activate window is passed over
    ShowWindow(top, SW_SHOW);
    EXPECT_EQ(GetActiveWindow(), top);
    DestroyWindow(top);
    EXPECT_EQ(GetActiveWindow(), below);
    EXPECT_EQ(GetFocus(), below);
    EXPECT_TRUE(IsWindow(noActivate));
}

TEST_F(UserTest, ForegroundWithLowBitActivatesTheLastActivePopup) {
    HWND frame = Create(WS_POPUP | WS_VISIBLE);
    HWND popup = Create(WS_POPUP | WS_VISIBLE, 0, frame);
    HWND other = Create(WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(GetActiveWindow(), other);
    auto withBit = reinterpret_cast<HWND>(reinterpret_cast<uintptr_t>(frame) | 1);
    EXPECT_TRUE(SetForegroundWindow(withBit));
    EXPECT_EQ(GetForegroundWindow(), popup);
    SetForegroundWindow(other);
    EXPECT_TRUE(SetForegroundWindow(frame));
    EXPECT_EQ(GetForegroundWindow(), frame);
    // Raising the owner keeps its pop-up above it.
    HWND order = GetWindow(frame, GW_HWNDPREV);
    EXPECT_EQ(order, popup);
}

TEST_F(UserTest, DisablingTheFocusWindowTakesTheFocusAway) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE);
    EXPECT_EQ(GetFocus(), hwnd);
    Recorder::Instance().Take();
    EXPECT_FALSE(EnableWindow(hwnd, FALSE));
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_TRUE(EnableWindow(hwnd, TRUE));
    auto messages = Recorder::Instance().TakeMessages(hwnd);
    EXPECT_EQ(messages, (std::vector<UINT>{WM_KILLFOCUS, WM_ENABLE, WM_ENABLE}));
}

TEST_F(UserTest, HotKeyWinsOverTheFocus) {
    HWND watcher = Create(WS_POPUP, WS_EX_TOPMOST | WS_EX_ABOVESTARTUP);
    HWND focus = Create(WS_POPUP | WS_VISIBLE);
    ASSERT_EQ(GetFocus(), focus);
    // The shell holds the Talk key until it is freed.
    ASSERT_TRUE(RegisterHotKey(nullptr, 1, 0, VK_TTALK));
    EXPECT_FALSE(RegisterHotKey(watcher, 7, MOD_KEYUP, VK_TTALK));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_HOTKEY_ALREADY_REGISTERED));
    EXPECT_TRUE(UnregisterFunc1(0, VK_TTALK));
    ASSERT_TRUE(RegisterHotKey(watcher, 7, MOD_KEYUP, VK_TTALK));
    Queued();
    keybd_event(VK_TTALK, 0, 0, 0);
    keybd_event(VK_TTALK, 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_TEND, 0, 0, 0);
    auto messages = Queued();
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].hwnd, watcher);
    EXPECT_EQ(messages[0].message, UINT(WM_HOTKEY));
    EXPECT_EQ(messages[0].wParam, 7u);
    EXPECT_EQ(messages[0].lParam, MAKELPARAM(0, VK_TTALK));
    EXPECT_EQ(messages[1].lParam, MAKELPARAM(MOD_KEYUP, VK_TTALK));
    EXPECT_EQ(messages[2].hwnd, focus);
    EXPECT_EQ(messages[2].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(messages[2].wParam, WPARAM(VK_TEND));
    EXPECT_TRUE(UnregisterHotKey(watcher, 7));
    EXPECT_FALSE(UnregisterHotKey(watcher, 7));
    keybd_event(VK_TTALK, 0, 0, 0);
    messages = Queued();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, UINT(WM_KEYDOWN));
}

TEST_F(UserTest, HotKeyWithoutKeyUpReportsOnlyThePress) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(RegisterHotKey(hwnd, 3, MOD_SHIFT, 'K'));
    Queued();
    keybd_event(VK_SHIFT, 0, 0, 0);
    keybd_event('K', 0, 0, 0);
    keybd_event('K', 0, KEYEVENTF_KEYUP, 0);
    keybd_event(VK_SHIFT, 0, KEYEVENTF_KEYUP, 0);
    std::vector<UINT> kinds;
    for (const MSG& msg : Queued())
        if (msg.wParam == 'K' || msg.message == WM_HOTKEY)
            kinds.push_back(msg.message);
    EXPECT_EQ(kinds, (std::vector<UINT>{WM_HOTKEY, WM_KEYUP}));
    // Destroying the window frees its hot keys.
    DestroyWindow(hwnd);
    HWND other = Create();
    EXPECT_TRUE(RegisterHotKey(other, 3, MOD_SHIFT, 'K'));
}

TEST_F(UserTest, TimersWaitForTheFrozenClock) {
    auto& clock = platform::DeviceClock::Instance();
    clock.Freeze();
    HWND hwnd = Create();
    Queued();
    ASSERT_TRUE(SetTimer(hwnd, 892, 50, nullptr));
    MSG msg;
    clock.Advance(49);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    {
        std::lock_guard lock(platform::WaitHub::Instance().Mutex());
        EXPECT_EQ(platform::WaitHub::Instance().NextDueLocked(), clock.MonotonicMs() + 1);
    }
    clock.Advance(1);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hwnd);
    EXPECT_EQ(msg.wParam, 892u);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    // However long the thread was away, one WM_TIMER comes.
    clock.Advance(500);
    EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
    EXPECT_TRUE(KillTimer(hwnd, 892));
    EXPECT_FALSE(KillTimer(hwnd, 892));
    clock.Advance(1000);
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE));
}

TEST_F(UserTest, WorkerBlockedInGetMessageWakesForItsTimer) {
    auto& clock = platform::DeviceClock::Instance();
    clock.Freeze();
    std::atomic<int> ticks{0};
    auto worker = StartWorker([&]() -> DWORD {
        UINT_PTR id = SetTimer(nullptr, 0, 100, nullptr);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0)
            if (msg.message == WM_TIMER && msg.wParam == id && ++ticks == 2)
                PostQuitMessage(0);
        return 0;
    });
    ASSERT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(2000)));
    EXPECT_EQ(ticks, 0);
    clock.AdvanceStepwise(250, 500);
    ASSERT_TRUE(JoinThread(worker));
    EXPECT_EQ(ticks, 2);
}

TEST_F(UserTest, PaintComesForInvalidWindowsUntilValidated) {
    HWND hwnd = Create(WS_POPUP | WS_VISIBLE);
    HWND hidden = Create(WS_POPUP);
    Queued();
    EXPECT_TRUE(InvalidateRect(hwnd, nullptr, TRUE));
    EXPECT_TRUE(InvalidateRect(hidden, nullptr, TRUE)); // nothing to see, nothing to paint
    RECT update;
    EXPECT_TRUE(GetUpdateRect(hwnd, &update, FALSE));
    EXPECT_EQ(update.right, 100);
    EXPECT_FALSE(GetUpdateRect(hidden, &update, FALSE));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, UINT(WM_PAINT));
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)); // still invalid
    DispatchMessageW(&msg); // DefWindowProc validates
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    RECT part{0, 0, 10, 10};
    InvalidateRect(hwnd, &part, FALSE);
    Recorder::Instance().Take();
    UpdateWindow(hwnd);
    EXPECT_EQ(Recorder::Instance().TakeMessages(hwnd), (std::vector<UINT>{WM_PAINT}));
    EXPECT_FALSE(GetUpdateRect(hwnd, &update, FALSE));
}
