// `ui` on the platform's own windows: a message box and a pop-up menu, each running its
// modal loop on a thread of its own, read and answered through the console.
#include "ce/user.h"
#include "console/DeviceCommands.h"
#include "support/TestDevice.h"
#include "user/MessageBoxes.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

using platform::Console;

namespace {

using Lines = std::vector<std::string>;

class UiCommands : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    Lines Answer(const std::string& line) { return m_console.Execute(line).lines; }
    // Waits until `ready` holds, at most two seconds.
    template <class Ready>
    static bool WaitFor(Ready ready) {
        for (int i = 0; i < 400 && !ready(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        return ready();
    }
    static bool Contains(const Lines& lines, const std::string& text) {
        for (const std::string& line : lines)
            if (line.find(text) != std::string::npos)
                return true;
        return false;
    }

    Console m_console;
};

TEST_F(UiCommands, AMessageBoxIsReadAndAnsweredByButtonNumber) {
    std::atomic<int> result = -1;
    std::thread box([&] { result = MessageBoxW(nullptr, u"Delete John?", u"Contacts", MB_YESNO); });
    ASSERT_TRUE(WaitFor([] { return !platform::MessageBoxes::List().empty(); }));
    HWND hwnd = platform::MessageBoxes::List().front().hwnd;
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(hwnd)));
    Lines lines = Answer(std::string("ui ") + handle);
    EXPECT_TRUE(Contains(lines, " dialog ")) << lines.front();
    EXPECT_TRUE(Contains(lines, "\"Contacts\""));
    EXPECT_TRUE(Contains(lines, "\"Delete John?\""));
    EXPECT_TRUE(Contains(lines, "  6 button "));
    EXPECT_TRUE(Contains(lines, "  7 button "));
    EXPECT_EQ(Answer(std::string("ui text 7 ") + handle), (Lines{"\"No\"", "OK"}));
    EXPECT_EQ(Answer(std::string("ui tap 6 ") + handle).back(), "OK");
    box.join();
    EXPECT_EQ(result, IDYES);
}

TEST_F(UiCommands, APopupMenuIsReadAndAnsweredByCommand) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = u"MenuOwner";
    ASSERT_NE(RegisterClassW(&windowClass), 0);
    std::atomic<int> chosen = -1;
    std::thread menuThread([&] {
        HWND window = CreateWindowExW(0, u"MenuOwner", u"", WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 101, u"Cut");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, u"Copy");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING | MF_CHECKED, 105, u"Select all");
        chosen = TrackPopupMenu(menu, TPM_RETURNCMD, 20, 20, 0, window, nullptr);
        DestroyMenu(menu);
        DestroyWindow(window);
    });
    HWND popup = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (popup = FindWindowW(u"PopupMenu", nullptr)) != nullptr; }));
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(popup)));
    Lines lines = Answer(std::string("ui ") + handle);
    ASSERT_EQ(lines.size(), 5u) << lines.back();
    EXPECT_EQ(lines[0].substr(0, 7), "0 menu ");
    EXPECT_TRUE(Contains(lines, "101 row"));
    EXPECT_TRUE(Contains(lines, "[disabled] \"Copy\""));
    EXPECT_TRUE(Contains(lines, "[checked] \"Select all\""));
    // Without a handle: the foreground window, then the pop-up over it.
    SetForegroundWindow(FindWindowW(u"MenuOwner", nullptr));
    Lines screen = Answer("ui");
    ASSERT_FALSE(screen.empty());
    EXPECT_EQ(screen.front().substr(0, 7), "0 menu ") << screen.back();
    EXPECT_EQ(Answer("ui tap 105").back(), "OK");
    menuThread.join();
    EXPECT_EQ(chosen, 105);
}

} // namespace
