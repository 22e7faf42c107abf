// The console's `ui` reads a screen of controls as the host window describes it: numbers,
// kinds, screen rectangles, states and texts, pop-ups over the screen, and taps by number.
#include "ModalHost.h"

#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "corlist/controls/Control.h"
#include "corlist/controls/Menu.h"
#include "corlist/controls/TextControl.h"

#include "ce/user.h"

#include <algorithm>
#include <atomic>
#include <thread>

using namespace corlist;

namespace {

const char* kSkin =
    "<skin><menu rect='20,0,200,0' rowheight='30'/>"
    "<control name='Main'><button name='Ok' rect='10,10,100,40' style='check'/>"
    "<text name='Title' rect='10,60,100,20'/><control name='Pane' rect='0,100,0,50'>"
    "<button name='Inner' rect='0,0,50,0' style='hide'/></control></control></skin>";

const ControlTableRow kPaneRows[] = {{SkinKind::kButton, "Inner", 15}, {}};
const ControlTableRow kRows[] = {
    {SkinKind::kButton, "Ok", 11}, {SkinKind::kText, "Title", 13}, {SkinKind::kControl, "Pane", 14, 0, kPaneRows}, {}};

class UiView : public controltest::ModalHost {
protected:
    void SetUp() override {
        ModalHost::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    // Rebuilds the host with the numbered rows.
    void OpenNumbered() {
        Open(kSkin);
        m_host.Destroy();
        ASSERT_TRUE(m_host.Create(m_skin, "Main", kRows, m_parent, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 320}));
    }
    std::vector<std::string> Answer(const std::string& line) { return m_console.Execute(line).lines; }
    std::string Handle() {
        char text[32];
        std::snprintf(text, sizeof text, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_parent)));
        return text;
    }

    platform::Console m_console;
};

TEST_F(UiView, TheScreenIsListedAsItsControlsDescribeThemselves) {
    OpenNumbered();
    static_cast<TextControl*>(m_host.Screen().FindById(13))->SetText(u"Say \"hi\"");
    m_host.Screen().FindById(11)->SetFlags(0, ControlState::kPressed, false);
    EXPECT_EQ(Answer("ui " + Handle()), (std::vector<std::string>{
                                             "0 pane 0,0,240,320 \"\"",
                                             "  11 button 10,10,100,40 [checked] \"\"",
                                             "  13 text 10,60,100,20 \"Say \"\"hi\"\"\"",
                                             "  14 pane 0,100,240,50 \"\"",
                                             "    15 button 0,100,50,50 [hidden] \"\"",
                                             "OK",
                                         }));
    EXPECT_EQ(Answer("ui text 13 " + Handle()), (std::vector<std::string>{"\"Say \"\"hi\"\"\"", "OK"}));
    EXPECT_EQ(Answer("ui text 15 " + Handle()).back(), "ERROR no such control"); // hidden
    EXPECT_EQ(Answer("ui text 99 " + Handle()).back(), "ERROR no such control");
}

TEST_F(UiView, AWindowWithoutControlsIsNotSkinned) {
    OpenNumbered();
    m_host.Destroy();
    EXPECT_EQ(Answer("ui " + Handle()).back(), "ERROR not a skinned window");
    EXPECT_EQ(Answer("ui 0x12345").back(), "ERROR usage: ui [0xHWND] | tap ID [0xHWND] | text ID [0xHWND]");
}

TEST_F(UiView, AnOpenMenuIsListedWithItsRows) {
    Open(kSkin);
    Menu menu;
    menu.AddRow(0, u"John", MenuRowFlag::kTitle | MenuRowFlag::kDisabled);
    menu.AddRow(144, u"Make Call", MenuRowFlag::kChecked);
    MenuRow* more = menu.AddRow(150, u"More", MenuRowFlag::kSubmenu);
    menu.AddRow(7, u"Seven", 0, -1, 0, more->submenu.get());
    std::vector<std::string> lines;
    Queue([&] {
        lines = Answer("ui " + Handle());
        SendMessageW(m_host.Window(), WM_KEYUP, VK_ESCAPE, 0);
    });
    StartQueue();
    menu.ShowMenu(m_skin, m_host, nullptr, false, 0);
    // The screen first, then the menu over it with its rows.
    auto menuLine = std::find_if(lines.begin(), lines.end(), [](const std::string& line) { return line.rfind("0 menu ", 0) == 0; });
    ASSERT_NE(menuLine, lines.end());
    ASSERT_EQ(lines.end() - menuLine, 5); // the menu, three rows, OK
    EXPECT_EQ(menuLine[1].substr(0, 8), "  0 row ");
    EXPECT_NE(menuLine[1].find("[disabled] \"John\""), std::string::npos);
    EXPECT_NE(menuLine[2].find("144 row"), std::string::npos);
    EXPECT_NE(menuLine[2].find("[checked] \"Make Call\""), std::string::npos);
    EXPECT_NE(menuLine[3].find("150 row"), std::string::npos);
    EXPECT_NE(menuLine[3].find("[submenu] \"More\""), std::string::npos);
}

// `ui tap` taps through the device's input, so the host's thread must take it in meanwhile.
TEST_F(UiView, UiTapTapsTheCentreOfTheControl) {
    OpenNumbered();
    std::atomic<bool> done = false;
    std::vector<std::string> answer;
    std::thread console([&] {
        answer = Answer("ui tap 11 " + Handle());
        done = true;
    });
    MSG message{};
    while (!done) {
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    console.join();
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
    EXPECT_EQ(answer.back(), "OK");
    EXPECT_TRUE(m_host.Screen().FindById(11)->State() & ControlState::kPressed); // the check button toggled
}

} // namespace
