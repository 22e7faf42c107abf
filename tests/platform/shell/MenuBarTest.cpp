// The menu bar: soft keys labelled from the owner's strings, taps and F1/F2 sending their
// commands, the Talk key override, and SHFullScreen switching the task bar, the Start icon
// and the input panel button.
#include "../user/UserTestSupport.h"
#include "ce/aygshell.h"
#include "ce/files.h"
#include "ce/resource.h"
#include "ce/sipapi.h"
#include "ce/uiview.h"
#include "resource/MuiFile.h"
#include "shell/MenuBar.h"
#include "shell/ShellChrome.h"
#include "user/StylusInput.h"

#include <string>
#include <vector>

using namespace usertest;
using platform::MenuBar;

namespace {

TEST(MenuBarLayout, PartsCoverTheBarAndTheButtonSitsInTheMiddle) {
    struct Row {
        int width, height, scale;
        POINT point;
        MenuBar::Part part;
    };
    const Row rows[] = {
        {240, 26, 1, {0, 0}, MenuBar::Part::kLeftKey},     {240, 26, 1, {103, 13}, MenuBar::Part::kLeftKey},
        {240, 26, 1, {104, 13}, MenuBar::Part::kSipButton}, {240, 26, 1, {135, 13}, MenuBar::Part::kSipButton},
        {240, 26, 1, {136, 13}, MenuBar::Part::kRightKey}, {240, 26, 1, {239, 25}, MenuBar::Part::kRightKey},
        {240, 26, 1, {240, 13}, MenuBar::Part::kNone},     {240, 26, 1, {10, 26}, MenuBar::Part::kNone},
        {480, 52, 2, {207, 0}, MenuBar::Part::kLeftKey},   {480, 52, 2, {208, 0}, MenuBar::Part::kSipButton},
        {480, 52, 2, {272, 51}, MenuBar::Part::kRightKey}, {240, 26, 1, {-1, 5}, MenuBar::Part::kNone},
    };
    for (const Row& row : rows)
        EXPECT_EQ(MenuBar::PartAt(row.point, row.width, row.height, row.scale), row.part)
            << row.width << " " << row.point.x << "," << row.point.y;
}

class MenuBarTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        std::string bytes = platform::MuiFile::Serialize({{300, u"Call"}, {301, u"Menu"}, {310, u"Only left"}});
        HANDLE file = CreateFileW(u"\\Windows\\Bar.dll", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
        DWORD written = 0;
        WriteFile(file, bytes.data(), DWORD(bytes.size()), &written, nullptr);
        CloseHandle(file);
        m_strings = LoadLibraryExW(u"\\Windows\\Bar.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_strings, nullptr);
        m_owner = Create(WS_POPUP | WS_VISIBLE);
        SetActiveWindow(m_owner);
        SetFocus(m_owner);
    }
    void TearDown() override {
        FreeLibrary(m_strings);
        UserTest::TearDown();
    }
    SHMENUBARINFO Info(UINT id, DWORD flags = 0) {
        SHMENUBARINFO info{};
        info.cbSize = sizeof(info);
        info.hwndParent = m_owner;
        info.nToolBarId = id;
        info.hInstRes = m_strings;
        info.dwFlags = flags;
        return info;
    }
    void Press(BYTE key) {
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    // The messages queued for the owner, of the kinds these tests look at; the others
    // (the bar's taps and paints) are dispatched.
    std::vector<Entry> OwnerGot() {
        std::vector<Entry> got;
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            bool watched = msg.message == WM_COMMAND || msg.message == WM_HOTKEY || msg.message == WM_KEYDOWN;
            if (msg.hwnd == m_owner && watched)
                got.push_back(Entry{msg.hwnd, msg.message, msg.wParam, msg.lParam});
            else
                DispatchMessageW(&msg);
        }
        return got;
    }
    HMODULE m_strings = nullptr;
    HWND m_owner = nullptr;
};

TEST_F(MenuBarTest, SoftKeysSendTheirCommandsByKeyAndByTap) {
    SHMENUBARINFO info = Info(300);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    ASSERT_NE(info.hwndMB, nullptr);
    RECT bar;
    GetWindowRect(info.hwndMB, &bar);
    EXPECT_EQ(bar.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CXSCREEN));
    OwnerGot();
    Press(VK_TSOFT1);
    Press(VK_TSOFT2);
    EXPECT_EQ(OwnerGot(), (std::vector<Entry>{{m_owner, WM_COMMAND, 300, 0}, {m_owner, WM_COMMAND, 301, 0}}));
    POINT right{bar.right - 10, (bar.top + bar.bottom) / 2};
    platform::StylusInput::Deliver(platform::StylusAction::Press, right);
    platform::StylusInput::Deliver(platform::StylusAction::Release, right);
    ASSERT_TRUE(WaitFor([&] {
        auto got = OwnerGot();
        return !got.empty() && got.front() == Entry{m_owner, WM_COMMAND, 301, 0};
    }));
}

// The console's `ui` reads the bar's soft keys by their commands.
TEST_F(MenuBarTest, TheBarDescribesItsSoftKeys) {
    SHMENUBARINFO info = Info(300);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    struct Sink final : IUiSink {
        void Item(int depth, const UI_ITEM& item) override {
            lines.push_back(std::to_string(depth) + " " + std::to_string(item.id) + " " + item.kind + " " +
                            std::string(item.text ? std::u16string(item.text).size() : 0, '*'));
        }
        void Line(int, const char*) override {}
        std::vector<std::string> lines;
    } sink;
    ASSERT_EQ(SendMessageW(info.hwndMB, WM_DIALORA_DESCRIBE, 0, reinterpret_cast<LPARAM>(static_cast<IUiSink*>(&sink))), 1);
    EXPECT_EQ(sink.lines, (std::vector<std::string>{"0 0 menubar ", "1 300 button ****", "1 301 button ****"}));
}

TEST_F(MenuBarTest, AMissingKeyIsLeftOutAndAMissingResourceFails) {
    SHMENUBARINFO info = Info(310);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    OwnerGot();
    Press(VK_TSOFT2); // no right key: F2 goes to the focus as a key
    Press(VK_TSOFT1);
    EXPECT_EQ(OwnerGot(), (std::vector<Entry>{{m_owner, WM_KEYDOWN, VK_TSOFT2, 0x00000001}, {m_owner, WM_COMMAND, 310, 0}}));
    SHMENUBARINFO missing = Info(900);
    EXPECT_FALSE(SHCreateMenuBar(&missing));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_RESOURCE_NAME_NOT_FOUND));
    SHMENUBARINFO empty = Info(900, SHCMBF_EMPTYBAR);
    EXPECT_TRUE(SHCreateMenuBar(&empty));
    SHMENUBARINFO wrongSize = Info(300);
    wrongSize.cbSize = 36;
    EXPECT_FALSE(SHCreateMenuBar(&wrongSize));
}

TEST_F(MenuBarTest, TheTalkKeyOverrideNotifiesTheOwnerWhileItIsActive) {
    SHMENUBARINFO info = Info(0, SHCMBF_EMPTYBAR);
    ASSERT_TRUE(SHCreateMenuBar(&info));
    LPARAM both = MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY);
    ASSERT_TRUE(SendMessageW(info.hwndMB, SHCMBM_OVERRIDEKEY, VK_TTALK, both));
    OwnerGot();
    Press(VK_TTALK);
    EXPECT_EQ(OwnerGot(), (std::vector<Entry>{{m_owner, WM_HOTKEY, 0, MAKELPARAM(0, VK_TTALK)},
                                              {m_owner, WM_HOTKEY, 0, MAKELPARAM(MOD_KEYUP, VK_TTALK)}}));
    // No default and no notice: the key goes nowhere.
    ASSERT_TRUE(SendMessageW(info.hwndMB, SHCMBM_OVERRIDEKEY, VK_TTALK, MAKELPARAM(SHMBOF_NOTIFY, 0)));
    Press(VK_TTALK);
    EXPECT_TRUE(OwnerGot().empty());
    // A program's hot key comes first.
    ASSERT_TRUE(SendMessageW(info.hwndMB, SHCMBM_OVERRIDEKEY, VK_TTALK, both));
    HWND other = Create(WS_POPUP);
    ASSERT_TRUE(RegisterHotKey(other, 7, 0, VK_TTALK));
    Press(VK_TTALK);
    EXPECT_TRUE(OwnerGot().empty());
    UnregisterHotKey(other, 7);
    // Another active window: the key takes its usual way.
    HWND next = Create(WS_POPUP | WS_VISIBLE);
    SetActiveWindow(next);
    SetFocus(next);
    Press(VK_TTALK);
    EXPECT_TRUE(OwnerGot().empty());
    // The bar gone, the override goes with it.
    SetActiveWindow(m_owner);
    SetFocus(m_owner);
    DestroyWindow(info.hwndMB);
    Press(VK_TTALK);
    EXPECT_EQ(OwnerGot(), (std::vector<Entry>{{m_owner, WM_KEYDOWN, VK_TTALK, 0x00000001}}));
}

class FullScreenTest : public UserTest {
protected:
    FullScreenTest() { m_options.startPlatformPrograms = true; }
};

TEST_F(FullScreenTest, HidesAndShowsTheTaskBarAndTheIcons) {
    HWND window = Create(WS_POPUP | WS_VISIBLE);
    ASSERT_TRUE(WaitFor([] { return FindWindowW(u"HHTaskBar", nullptr) != nullptr; }));
    HWND taskBar = FindWindowW(u"HHTaskBar", nullptr);
    auto& chrome = platform::ShellChrome::Instance();
    ASSERT_TRUE(SHFullScreen(window, SHFS_HIDETASKBAR | SHFS_HIDESIPBUTTON | SHFS_HIDESTARTICON));
    EXPECT_FALSE(IsWindowVisible(taskBar));
    EXPECT_FALSE(chrome.SipButtonShown());
    EXPECT_FALSE(chrome.StartIconShown());
    ASSERT_TRUE(SHFullScreen(window, SHFS_SHOWTASKBAR));
    EXPECT_TRUE(IsWindowVisible(taskBar));
    EXPECT_FALSE(chrome.StartIconShown()); // untouched bits stay
    ASSERT_TRUE(SHFullScreen(window, SHFS_SHOWSIPBUTTON | SHFS_SHOWSTARTICON));
    EXPECT_TRUE(chrome.SipButtonShown() && chrome.StartIconShown());
    EXPECT_FALSE(SHFullScreen(window, SHFS_SHOWTASKBAR | SHFS_HIDETASKBAR));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_FALSE(SHFullScreen(window, 0x40));
    EXPECT_FALSE(SHFullScreen(window, 0));
    EXPECT_FALSE(SHFullScreen(nullptr, SHFS_HIDETASKBAR));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_WINDOW_HANDLE));
    EXPECT_TRUE(IsWindowVisible(taskBar));
}

} // namespace
