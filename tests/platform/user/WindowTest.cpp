#include "UserTestSupport.h"
#include "user/WindowManager.h"

using namespace usertest;

namespace {

HWND GetDesktopFirst() {
    auto list = platform::WindowManager::Instance().ListTopLevel();
    return list.empty() ? nullptr : list.front().hwnd;
}

std::vector<HWND> ZOrder() {
    std::vector<HWND> order;
    for (HWND hwnd = GetWindow(GetDesktopFirst(), GW_HWNDFIRST); hwnd; hwnd = GetWindow(hwnd, GW_HWNDNEXT))
        order.push_back(hwnd);
    return order;
}

} // namespace

TEST_F(UserTest, StaleHandlesAreDetectedEvenAfterSlotReuse) {
    HWND first = Create();
    ASSERT_TRUE(IsWindow(first));
    ASSERT_TRUE(DestroyWindow(first));
    HWND second = Create(); // takes the freed slot
    EXPECT_NE(first, second);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(SendMessageW(first, WM_USER, 0, 0), 0);
    EXPECT_FALSE(PostMessageW(first, WM_USER, 0, 0));
    EXPECT_FALSE(DestroyWindow(first));
    EXPECT_EQ(GetWindowLongPtrW(first, GWL_USERDATA), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    for (uintptr_t bogus : {uintptr_t(0), uintptr_t(1), uintptr_t(0x12345), uintptr_t(0xFFFF0000),
                            uintptr_t(0x123456789ABCull), reinterpret_cast<uintptr_t>(second) | 1})
        EXPECT_FALSE(IsWindow(reinterpret_cast<HWND>(bogus))) << bogus;
}

TEST_F(UserTest, ZOrderKeepsTheTopmostBand) {
    HWND a = Create(), b = Create(), c = Create();
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{c, b, a}));
    SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, c, b}));
    HWND d = Create(); // a new window goes to the top of the normal band
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, d, c, b}));
    SetWindowPos(b, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, b, d, c}));
    SetWindowPos(c, a, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, c, b, d}));
    // Raising a normal window never puts it over a topmost one.
    SetWindowPos(d, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, d, c, b}));
    SetWindowPos(a, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongW(a, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, d, c, b}));
    SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetWindowPos(b, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    EXPECT_FALSE(GetWindowLongW(b, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(ZOrder(), (std::vector<HWND>{a, d, c, b}));
    // Setting the style bit moves the window into the band as well.
    SetWindowLongW(c, GWL_EXSTYLE, WS_EX_TOPMOST);
    EXPECT_EQ(ZOrder().front(), c);
}

TEST_F(UserTest, SetWindowPosFlags) {
    struct Case {
        const char* name;
        UINT flags;
        RECT expectedRect;
        bool expectedVisible;
        std::vector<UINT> expectedMessages;
    };
    const std::vector<Case> cases = {
        {"move and size", SWP_NOZORDER | SWP_NOACTIVATE, {5, 6, 35, 46}, false, {WM_MOVE, WM_SIZE}},
        {"no move", SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE, {0, 0, 30, 40}, false, {WM_SIZE}},
        {"no size", SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, {5, 6, 105, 56}, false, {WM_MOVE}},
        {"nothing", SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE, {0, 0, 100, 50}, false, {}},
        {"show", SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE, {0, 0, 100, 50}, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        HWND hwnd = Create();
        Recorder::Instance().Take();
        ASSERT_TRUE(SetWindowPos(hwnd, nullptr, 5, 6, 30, 40, c.flags));
        RECT rect;
        GetWindowRect(hwnd, &rect);
        EXPECT_EQ(rect.left, c.expectedRect.left);
        EXPECT_EQ(rect.top, c.expectedRect.top);
        EXPECT_EQ(rect.right, c.expectedRect.right);
        EXPECT_EQ(rect.bottom, c.expectedRect.bottom);
        EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, c.expectedVisible);
        EXPECT_EQ(Recorder::Instance().TakeMessages(hwnd), c.expectedMessages);
        DestroyWindow(hwnd);
    }
}

TEST_F(UserTest, ChildCoordinatesAreRelativeToTheParent) {
    HWND parent = CreateWindowExW(0, kClass, u"", WS_POPUP, 10, 20, 200, 100, nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExW(0, kClass, u"", WS_CHILD, 5, 7, 50, 30, parent, (HMENU)42, nullptr, nullptr);
    RECT rect;
    GetWindowRect(child, &rect);
    EXPECT_EQ(rect.left, 15);
    EXPECT_EQ(rect.top, 27);
    POINT point{20, 30};
    ScreenToClient(child, &point);
    EXPECT_EQ(point.x, 5);
    EXPECT_EQ(point.y, 3);
    EXPECT_EQ(GetDlgItem(parent, 42), child);
    EXPECT_EQ(GetDlgCtrlID(child), 42);
    EXPECT_EQ(GetParent(child), parent);
    EXPECT_TRUE(IsChild(parent, child));
    ShowWindow(parent, SW_SHOWNA);
    ShowWindow(child, SW_SHOWNA);
    EXPECT_EQ(WindowFromPoint(POINT{16, 28}), child);
    EXPECT_EQ(WindowFromPoint(POINT{12, 22}), parent);
}

TEST_F(UserTest, DestroyingAParentDestroysChildrenAndOwnedWindows) {
    HWND parent = Create();
    HWND child = Create(WS_CHILD, 0, parent);
    HWND grandChild = Create(WS_CHILD, 0, child);
    HWND owned = Create(WS_POPUP, 0, parent);
    EXPECT_EQ(GetWindow(owned, GW_OWNER), parent);
    Recorder::Instance().Take();
    ASSERT_TRUE(DestroyWindow(parent));
    std::vector<Entry> expected = {
        {owned, WM_DESTROY, 0, 0},      {owned, WM_NCDESTROY, 0, 0},  {parent, WM_DESTROY, 0, 0},
        {child, WM_DESTROY, 0, 0},      {grandChild, WM_DESTROY, 0, 0}, {grandChild, WM_NCDESTROY, 0, 0},
        {child, WM_NCDESTROY, 0, 0},    {parent, WM_NCDESTROY, 0, 0},
    };
    std::vector<Entry> destroyed;
    for (const Entry& entry : Recorder::Instance().Take())
        if (entry.message == WM_DESTROY || entry.message == WM_NCDESTROY)
            destroyed.push_back(entry);
    EXPECT_EQ(destroyed, expected);
    for (HWND hwnd : {parent, child, grandChild, owned})
        EXPECT_FALSE(IsWindow(hwnd));
}

TEST_F(UserTest, CreateFailsWhenWmCreateRefuses) {
    Recorder::Instance().m_hook = [](HWND, UINT message, WPARAM, LPARAM lParam, LRESULT& result) {
        if (message != WM_CREATE)
            return false;
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        EXPECT_EQ(create->lpCreateParams, reinterpret_cast<LPVOID>(0x1234));
        EXPECT_EQ(create->cx, 100);
        result = -1;
        return true;
    };
    HWND hwnd = CreateWindowExW(0, kClass, u"x", WS_POPUP | WS_VISIBLE, 0, 0, 100, 50, nullptr,
                                nullptr, nullptr, reinterpret_cast<LPVOID>(0x1234));
    EXPECT_EQ(hwnd, nullptr);
    auto messages = Recorder::Instance().TakeMessages();
    EXPECT_EQ(messages, (std::vector<UINT>{WM_CREATE, WM_DESTROY, WM_NCDESTROY}));
    EXPECT_TRUE(platform::WindowManager::Instance().ListTopLevel().empty());
    // The class has no windows left, so it can go.
    EXPECT_TRUE(UnregisterClassW(kClass, nullptr));
}

TEST_F(UserTest, ClassesRegisterOnceAndCannotGoWhileUsed) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = u"testwnd"; // names compare without case
    EXPECT_EQ(RegisterClassW(&wc), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_ALREADY_EXISTS));
    HWND hwnd = Create();
    EXPECT_FALSE(UnregisterClassW(kClass, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLASS_HAS_WINDOWS));
    WCHAR name[4];
    EXPECT_EQ(GetClassNameW(hwnd, name, 4), 3); // truncated and terminated
    EXPECT_EQ(std::u16string(name), u"Tes");
    EXPECT_EQ(CreateWindowExW(0, u"NoSuchClass", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
              nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(UserTest, WindowLongsHoldPointersAndSubclass) {
    HWND hwnd = Create();
    int object = 0;
    SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(&object));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, GWL_USERDATA), reinterpret_cast<LONG_PTR>(&object));
    // The 32-bit forms refuse indices that hold a pointer instead of cutting it.
    EXPECT_EQ(GetWindowLongW(hwnd, GWL_WNDPROC), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    SetWindowLongPtrW(hwnd, 8, LONG_PTR(0x1122334455667788LL));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, 8), LONG_PTR(0x1122334455667788LL));
    EXPECT_EQ(GetWindowLongPtrW(hwnd, 12), 0); // past the 16 extra bytes
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_INDEX));
    static WNDPROC previous = nullptr;
    WNDPROC sub = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_USER + 3)
            return 77;
        return CallWindowProcW(previous, h, m, w, l);
    };
    previous = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(hwnd, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(sub)));
    EXPECT_EQ(previous, &RecordingProc);
    EXPECT_EQ(SendMessageW(hwnd, WM_USER + 3, 0, 0), 77);
    EXPECT_TRUE(SetWindowTextW(hwnd, u"Phone - Incoming"));
    WCHAR text[64];
    EXPECT_EQ(GetWindowTextW(hwnd, text, 64), 16);
    EXPECT_EQ(FindWindowW(kClass, u"phone - incoming"), hwnd);
    EXPECT_EQ(FindWindowW(nullptr, u"none"), nullptr);
}

TEST_F(UserTest, ConsoleApiListsFindsPostsAndDrainsBeeps) {
    auto& wm = platform::WindowManager::Instance();
    HWND hwnd = CreateWindowExW(WS_EX_TOPMOST, kClass, u"Watcher", WS_POPUP | WS_VISIBLE, 0, 0, 240, 13,
                                nullptr, nullptr, nullptr, nullptr);
    HWND other = Create(WS_POPUP, 0, nullptr, u"Other");
    auto list = wm.ListTopLevel();
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].hwnd, hwnd);
    EXPECT_EQ(list[0].className, u"TestWnd");
    EXPECT_EQ(list[0].title, u"Watcher");
    EXPECT_TRUE(list[0].visible && list[0].enabled && list[0].topmost);
    EXPECT_EQ(list[0].rect.right, 240);
    EXPECT_EQ(list[1].hwnd, other);
    EXPECT_EQ(wm.FindTopLevel(u"testwnd", u"Other"), other);
    EXPECT_EQ(wm.FindTopLevel(u"testwnd", std::nullopt), hwnd);
    EXPECT_EQ(wm.FindTopLevel(u"Missing", std::nullopt), nullptr);
    Drain();
    EXPECT_TRUE(wm.PostToClass(u"TestWnd", 0x82FC, 1, 2, false));
    EXPECT_TRUE(wm.PostToClass(u"TestWnd", 0x8201, 3, 0, true));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, hwnd);
    EXPECT_EQ(msg.message, 0x82FCu);
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.hwnd, nullptr);
    EXPECT_EQ(msg.message, 0x8201u);
    EXPECT_FALSE(wm.PostToClass(u"Missing", WM_USER, 0, 0, false));
    MessageBeep(MB_ICONHAND);
    MessageBeep(MB_OK);
    EXPECT_EQ(wm.DrainBeeps(), (std::vector<UINT>{MB_ICONHAND, MB_OK}));
    EXPECT_TRUE(wm.DrainBeeps().empty());
}

TEST_F(UserTest, ScreenMetricsFollowTheScreenSize) {
    auto& wm = platform::WindowManager::Instance();
    struct Case {
        int width, height, scrollBar;
    };
    for (Case c : {Case{240, 320, 13}, Case{320, 240, 13}, Case{480, 640, 26}, Case{640, 480, 26},
                   Case{800, 480, 26}, Case{240, 240, 13}, Case{480, 480, 26}}) {
        ASSERT_TRUE(wm.SetScreenSize(c.width, c.height));
        EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
        EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
        EXPECT_EQ(GetSystemMetrics(SM_CYHSCROLL), c.scrollBar);
    }
    EXPECT_FALSE(wm.SetScreenSize(1024, 768));
    EXPECT_FALSE(wm.SetScreenSize(0, 0));
}

TEST_F(UserTest, CursorsAreRecorded) {
    HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    ASSERT_NE(wait, nullptr);
    EXPECT_NE(wait, arrow);
    SetCursor(arrow);
    EXPECT_EQ(SetCursor(wait), arrow);
    EXPECT_EQ(GetCursor(), wait);
    EXPECT_EQ(LoadCursorW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
}

TEST_F(UserTest, RebootStartsWithoutWindowsOrClasses) {
    Create(WS_POPUP | WS_VISIBLE, 0, nullptr, u"Left");
    Reboot();
    EXPECT_EQ(FindWindowW(kClass, nullptr), nullptr);
    EXPECT_EQ(GetForegroundWindow(), nullptr);
    WNDCLASSW wc{};
    wc.lpfnWndProc = RecordingProc;
    wc.lpszClassName = kClass;
    EXPECT_NE(RegisterClassW(&wc), 0);
}

TEST(UserBoot, UnsupportedScreenSizeFailsTheBoot) {
    auto folder = testsupport::MakeTempFolder("dialora-user");
    platform::DeviceOptions options;
    options.folder = folder / "device";
    options.screenWidth = 100;
    options.screenHeight = 100;
    platform::Device device(options);
    std::string error;
    EXPECT_FALSE(device.Boot(error));
    EXPECT_NE(error.find("screen"), std::string::npos);
    std::filesystem::remove_all(folder);
}
