// Screen changes and the display's console commands, and the shell's desktop and task bar
// on a booted phone.
#include "DisplayTestSupport.h"
#include "apps/ShellProgram.h"
#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "platform/user/UserTestSupport.h"
#include "user/ScreenChange.h"

#include <vector>

using displaytest::DisplayTest;
using displaytest::Hook;

namespace {

class Screen : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        RegisterBrushClass(u"Plain", RGB(255, 255, 255));
        platform::RegisterDeviceCommands(m_console);
    }
    std::vector<std::string> Run(const std::string& line) { return m_console.Execute(line).lines; }

    platform::Console m_console;
};

struct Sized {
    HWND hwnd;
    LPARAM size;
};

TEST_F(Screen, RotateStretchesScreenWideWindowsAndTellsEveryone) {
    HWND full = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 0, 240, 320});
    HWND underBar = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 26, 240, 320});
    HWND small = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{10, 10, 60, 60});
    Pump();
    std::vector<Sized> sizes;
    std::vector<HWND> told;
    Hook() = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_SIZE)
            sizes.push_back(Sized{hwnd, lParam});
        if (message == WM_SETTINGCHANGE && wParam == SETTINGCHANGE_RESET)
            told.push_back(hwnd);
        return false;
    };
    EXPECT_EQ(Run("rotate"), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(Run("screen"), (std::vector<std::string>{"320x240 landscape", "OK"}));
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 320);
    // In z-order, topmost first.
    ASSERT_EQ(sizes.size(), 2u);
    EXPECT_EQ(sizes[0].hwnd, underBar);
    EXPECT_EQ(sizes[0].size, MAKELPARAM(320, 214));
    EXPECT_EQ(sizes[1].hwnd, full);
    EXPECT_EQ(sizes[1].size, MAKELPARAM(320, 240));
    EXPECT_EQ(told.size(), 3u);
    RECT rect;
    GetWindowRect(small, &rect);
    EXPECT_EQ(rect.right, 60);
    Pump();
    auto screen = platform::Display::Instance().Compose().screen;
    EXPECT_EQ(screen->Width(), 320);
    EXPECT_EQ(ScreenPixel(300, 200), On565(RGB(255, 255, 255)));
    EXPECT_EQ(Run("rotate"), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(Run("screen"), (std::vector<std::string>{"240x320 portrait", "OK"}));
}

TEST_F(Screen, BorderMetricsFollowTheScreenDensityThroughSizeChangesAndRotation) {
    // The smaller side decides: 480 and more is double density.
    const struct {
        int width, height, border;
        bool rotates; // 480x800 is no size of the device
    } sizes[] = {{240, 320, 1, true}, {640, 480, 2, true}, {480, 640, 2, true}, {800, 480, 2, false},
                 {240, 240, 1, true}, {480, 480, 2, true}, {320, 240, 1, true}};
    for (const auto& size : sizes) {
        ASSERT_TRUE(platform::ScreenChange::Apply(size.width, size.height)) << size.width << "x" << size.height;
        EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), size.border) << size.width << "x" << size.height;
        EXPECT_EQ(GetSystemMetrics(SM_CYBORDER), size.border) << size.width << "x" << size.height;
        ASSERT_EQ(platform::ScreenChange::Rotate(), size.rotates);
        EXPECT_EQ(GetSystemMetrics(SM_CXBORDER), size.border) << "rotated " << size.width << "x" << size.height;
        EXPECT_EQ(GetSystemMetrics(SM_CYBORDER), size.border) << "rotated " << size.width << "x" << size.height;
    }
}

TEST_F(Screen, ConsoleCommandsCheckTheirArguments) {
    struct Case {
        const char* line;
        const char* last;
    } cases[] = {
        {"tap 240 0", "ERROR usage: tap X Y"},
        {"tap -1 5", "ERROR usage: tap X Y"},
        {"key menu", "ERROR unknown key: menu"},
        {"key talk sideways", "ERROR usage: key NAME|VK [down|up]"},
        {"answer maybe", "ERROR usage: answer ok|cancel|yes|no"},
        {"answer ok", "ERROR no message box is open"},
        {"type hello", "ERROR no window takes keys"},
        {"drag 0 0 10 10 999999", "ERROR usage: drag X1 Y1 X2 Y2 MS"},
        {"flick 0 0 10 400 100", "ERROR usage: flick X1 Y1 X2 Y2 MS"},
        {"flick 0 0 10", "ERROR usage: flick X1 Y1 X2 Y2 MS"},
        {"dialogs", "OK"},
        {"tap 10 10", "OK"},
        {"key 0x72 down", "OK"},
        {"key 0x72 up", "OK"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Run(c.line).back(), c.last) << c.line;
}

TEST_F(Screen, ScreenshotSavesTheWholeScreenAsA24BitPng) {
    Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
    Pump();
    auto path = m_folder / "shot.png";
    EXPECT_EQ(Run("screenshot " + path.string()), (std::vector<std::string>{"240x320", "OK"}));
    auto picture = platform::LoadPng(path);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->Width(), 240);
    EXPECT_EQ(picture->Height(), 320);
    EXPECT_EQ(platform::GetPixelRgb(*picture, 50, 50), 0xFFFFFFu);
    EXPECT_EQ(platform::GetPixelRgb(*picture, 150, 150), 0u);
    EXPECT_EQ(Run("screenshot /nonexistent/folder/shot.png").back(),
              "ERROR cannot write /nonexistent/folder/shot.png");
}

TEST_F(Screen, DialogsListsTheOpenBoxWithItsButtons) {
    auto thread = usertest::StartWorker([] {
        return DWORD(MessageBoxW(nullptr, u"Say \"yes\"", u"Question", MB_YESNOCANCEL | MB_ICONQUESTION));
    });
    ASSERT_TRUE(usertest::WaitFor([this] { return Run("dialogs").size() == 2; }));
    std::string line = Run("dialogs")[0];
    EXPECT_EQ(line.substr(0, 2), "0x");
    EXPECT_EQ(line.substr(10), " \"Question\" \"Say \\\"yes\\\"\" yes,no,cancel");
    EXPECT_EQ(Run("answer yes").back(), "OK");
    ASSERT_TRUE(usertest::JoinThread(thread));
    EXPECT_EQ(thread->m_exitCode, DWORD(IDYES));
    EXPECT_EQ(Run("dialogs"), (std::vector<std::string>{"OK"}));
}

class ShellScreen : public DisplayTest, public ::testing::WithParamInterface<std::pair<int, int>> {
protected:
    ShellScreen() {
        m_options.screenWidth = GetParam().first;
        m_options.screenHeight = GetParam().second;
        m_options.startPlatformPrograms = true; // the shell paints desktop and task bar
    }
};

TEST_P(ShellScreen, TheDesktopAndTheTaskBarWithItsClockArePainted) {
    ASSERT_TRUE(usertest::WaitFor([] { return FindWindowW(u"HHTaskBar", nullptr) != nullptr; }));
    ASSERT_TRUE(platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(3000)));
    int width = GetParam().first, height = GetParam().second;
    int bar = platform::ShellProgram::TaskBarHeight();
    EXPECT_EQ(bar, height >= 640 ? 52 : 26);
    auto screen = platform::Display::Instance().Compose().screen;
    ASSERT_EQ(screen->Width(), width);
    ASSERT_EQ(screen->Height(), height);
    auto pixel = [&](int x, int y) { return platform::GetPixelRgb(*screen, x, y); };
    // The task bar is dark blue; the desktop below it runs from blue to a light tint.
    uint32_t barPixel = pixel(width / 2, bar / 2);
    EXPECT_LT((barPixel >> 16) & 0xFF, 64u);
    EXPECT_GT(barPixel & 0xFF, 48u);
    EXPECT_GT(pixel(width / 2, height - 2) & 0xFF, 200u);
    // The clock is white text at the right end of the bar.
    int white = 0;
    for (int y = 0; y < bar; ++y)
        for (int x = width - width / 4; x < width; ++x)
            white += pixel(x, y) == 0xFFFFFFu;
    EXPECT_GT(white, 5);
    // A tap on the desktop reaches it.
    HWND desktop = FindWindowW(u"DesktopExplorerWindow", nullptr);
    EXPECT_EQ(WindowFromPoint(POINT{width / 2, height / 2}), desktop);
    EXPECT_EQ(WindowFromPoint(POINT{width / 2, bar / 2}), FindWindowW(u"HHTaskBar", nullptr));
    PostMessageW(desktop, WM_CLOSE, 0, 0);
    PostMessageW(FindWindowW(u"HHTaskBar", nullptr), WM_QUIT, 0, 0);
}

INSTANTIATE_TEST_SUITE_P(Screens, ShellScreen,
                         ::testing::Values(std::make_pair(240, 320), std::make_pair(480, 640)));

} // namespace
