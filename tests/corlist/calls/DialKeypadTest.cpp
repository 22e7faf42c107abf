// The dialling keypad on a frozen device clock: its pane is built from a small skin of
// generated pictures into a control host, the number field is a recorder, and the owner
// window's keypad messages are caught while the host's queue is pumped. Cell maps, the
// hold for "+" and "*", the delete repeat, the hot cell, taps outside, hardware keys, the
// haptic tick and the look with a pressed cell.
#include "../controls/ControlScreen.h"

#include "common/Settings.h"
#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "common/XmlNode.h"
#include "common/XmlReader.h"
#include "corlist/calls/DialKeypad.h"
#include "corlist/frame/MainPageTable.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"
#include "device/LedBank.h"
#include "kernel/DeviceClock.h"
#include "user/ScreenChange.h"

#include "ce/kernel.h"
#include "ce/user.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace corlist;
using controltest::ControlScreen;

namespace {

// Portrait: a 200x200 picture centred in the 240 wide pane (cells 50x50 from x = 20).
// Landscape: 240x150 (cells 48x50), from x = 40 in the 320 wide pane. The best friend's first picture is missing.
const char* kSkin = "<skin><control name='Main'><fill color='#FFFFFF'/></control>"
                    "<control name='Holder'><control name='Keypad' rect='0,0,0,0'>"
                    "<control name='w240'><image source='pad.png'/>"
                    "<control name='Key'><image source='key.png'/></control>"
                    "<control name='Friend'><image source='gone.png'/><image source='friend.png'/></control>"
                    "<control name='ICE'><image source='ice.png'/></control></control>"
                    "<control name='w320'><image source='wide.png'/>"
                    "<control name='Key'><image source='key.png'/></control></control>"
                    "</control></control></skin>";

constexpr int kLeft = 20; // the portrait picture's left edge in the pane
constexpr int kCell = 50;

// The centre of portrait cell (column, row).
POINT Portrait(int column, int row) {
    return POINT{kLeft + column * kCell + kCell / 2, row * kCell + kCell / 2};
}

// The centre of landscape cell (column, row): the pane is 320 wide then.
POINT Landscape(int column, int row) {
    return POINT{40 + column * 48 + 24, row * 50 + 25};
}

class DialKeypadTest : public ControlScreen {
protected:
    void SetUp() override {
        ControlScreen::SetUp();
        common::ResetVibrationLedCache();
        platform::DeviceClock::Instance().Freeze();
        Build(kSkin,
              {{u"pad.png", Picture(200, 200)},
               {u"wide.png", Picture(240, 150)},
               {u"key.png", Picture(50, 50, 4)},
               {u"friend.png", Picture(50, 50, 6)},
               {u"ice.png", Picture(50, 50, 3)}},
              "Main", kMainPageRows, 240, 320);
        common::XmlNode* holder = common::XmlReader::FindNode(m_skin.Root()->firstChild, "Holder", SkinKind::kControl);
        ASSERT_NE(holder, nullptr);
        m_node = common::XmlReader::FindNode(holder->firstChild, "Keypad", SkinKind::kControl);
        m_keypad = DialKeypad::CreatePane(Screen(), m_node, kMainPageRows);
        ASSERT_NE(m_keypad, nullptr);
        m_keypad->SetSettings(&m_settings);
        m_keypad->Attach([this](UINT message, WPARAM wParam, LPARAM) { Record(message, wParam); });
    }

    void Record(UINT message, WPARAM wParam) {
        if (message == WM_CHAR && wParam == 8)
            ++m_deletes;
        else if (message == WM_CHAR)
            m_typed.push_back(char(wParam));
        else
            m_keys.push_back({message, wParam});
    }

    // Delivers what is due; the keypad's messages to its owner are noted on the way.
    void Pump() {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == kKeypadNumberMessage)
                m_notes.push_back(msg.wParam);
            DispatchMessageW(&msg);
        }
    }
    // Moves the frozen clock forward in 10 ms steps, delivering the timers due on the way.
    void Advance(int ms) {
        Pump();
        for (int step = 0; step < ms; step += 10) {
            platform::DeviceClock::Instance().Advance(std::min(10, ms - step));
            Pump();
        }
    }
    void Press(POINT p) { Down(p.x, p.y); Pump(); }
    void Slide(POINT p) { Move(p.x, p.y); Pump(); }
    void Lift(POINT p) { Up(p.x, p.y); Pump(); }
    // Rotates or resizes the screen and lays the page out again.
    void ChangeScreen(int width, int height) {
        ASSERT_TRUE(platform::ScreenChange::Apply(width, height));
        SetCoordinateScale(ScreenCoordinateScale());
        RECT area{0, 0, width, height};
        m_keypad->Layout(&area);
    }

    common::SettingsRecord m_settings;
    common::XmlNode* m_node = nullptr;
    DialKeypad* m_keypad = nullptr; // owned by the screen
    std::string m_typed;
    int m_deletes = 0;
    std::vector<std::pair<UINT, WPARAM>> m_keys;
    std::vector<WPARAM> m_notes;
};

struct CellCase {
    bool portrait;
    int column, row;
    uint32_t code;
};

TEST(KeypadLayout, EveryCellOfBothLayoutsHasItsCode) {
    const uint32_t kNone = KeypadCode::kNone;
    const CellCase cases[] = {
        {true, 0, 0, '1'}, {true, 1, 0, '2'}, {true, 2, 0, '3'}, {true, 3, 0, KeypadCode::kDelete},
        {true, 0, 1, '4'}, {true, 1, 1, '5'}, {true, 2, 1, '6'}, {true, 3, 1, KeypadCode::kSendSms},
        {true, 0, 2, '7'}, {true, 1, 2, '8'}, {true, 2, 2, '9'}, {true, 3, 2, KeypadCode::kMakeCall},
        {true, 0, 3, '*'}, {true, 1, 3, '0'}, {true, 2, 3, '#'}, {true, 3, 3, KeypadCode::kClose},
        {true, 4, 0, kNone}, {true, 0, 4, kNone},
        {false, 0, 0, '1'}, {false, 1, 0, '2'}, {false, 2, 0, '3'}, {false, 3, 0, '*'},
        {false, 4, 0, KeypadCode::kDelete}, {false, 0, 1, '4'}, {false, 1, 1, '5'}, {false, 2, 1, '6'},
        {false, 3, 1, '#'}, {false, 4, 1, KeypadCode::kMakeCall}, {false, 0, 2, '7'}, {false, 1, 2, '8'},
        {false, 2, 2, '9'}, {false, 3, 2, '0'}, {false, 4, 2, KeypadCode::kClose},
        {false, 5, 0, kNone}, {false, 0, 3, kNone},
    };
    KeypadLayout portrait(true, 240, 200);   // cells 60x50
    KeypadLayout landscape(false, 320, 150); // cells 64x50
    for (const CellCase& c : cases) {
        const KeypadLayout& layout = c.portrait ? portrait : landscape;
        int x = c.column * layout.CellWidth() + layout.CellWidth() / 2;
        int y = c.row * layout.CellHeight() + layout.CellHeight() / 2;
        EXPECT_EQ(layout.CellAt(x, y, 0), c.code) << (c.portrait ? "portrait " : "landscape ") << c.column << ","
                                                  << c.row;
    }
    EXPECT_EQ(portrait.CellAt(-1, 10, 0), kNone);
    EXPECT_EQ(portrait.CellAt(59, 49, 0), uint32_t('1'));
    EXPECT_EQ(portrait.CellAt(60, 49, 0), uint32_t('2'));
    EXPECT_EQ(KeypadLayout(true, 0, 0).CellAt(0, 0, 0), kNone) << "no picture, no cells";
    EXPECT_EQ(KeypadLayout(true, 3, 3).CellAt(0, 0, 0), kNone) << "a picture smaller than the grid";
}

TEST(KeypadLayout, TheHotCellFollowsTheFlagsInPortraitOnly) {
    const struct {
        DWORD flags;
        uint32_t portrait;
        HotCell hot;
    } cases[] = {
        {0, KeypadCode::kSendSms, HotCell::Sms},
        {common::SettingsFlag::kHotKeyCallsBestFriend, KeypadCode::kCallHotNumber, HotCell::Friend},
        {common::SettingsFlag::kHotKeyCallsIce, KeypadCode::kCallHotNumber, HotCell::Ice},
        {common::SettingsFlag::kHotKeyCallsIce | common::SettingsFlag::kHotKeyCallsBestFriend,
         KeypadCode::kCallHotNumber, HotCell::Ice},
    };
    KeypadLayout portrait(true, 200, 200);
    KeypadLayout landscape(false, 250, 150);
    for (const auto& c : cases) {
        EXPECT_EQ(portrait.CodeOf(portrait.HotCellIndex(), c.flags), c.portrait) << c.flags;
        EXPECT_EQ(HotCellFor(c.flags), c.hot) << c.flags;
        for (int index = 0; index < landscape.CellCount(); ++index)
            EXPECT_NE(landscape.CodeOf(index, c.flags), KeypadCode::kCallHotNumber) << index;
    }
    EXPECT_EQ(portrait.HotCellIndex(), 7);
    EXPECT_EQ(landscape.HotCellIndex(), -1);
    EXPECT_EQ(KeypadCode::CommandId(KeypadCode::kCallHotNumber), 208u);
}

TEST(KeypadLayout, HoldingZeroOrPoundGivesTheSecondCharacterAfter300Ms) {
    const struct {
        uint32_t code, held, typed;
    } cases[] = {
        {'0', 400, '+'}, {'0', 200, '0'}, {'0', 300, '0'}, {'0', 301, '+'}, {'#', 400, '*'},
        {'#', 100, '#'}, {'5', 2000, '5'}, {'*', 2000, '*'}, {KeypadCode::kMakeCall, 900, KeypadCode::kMakeCall},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HeldCode(c.code, c.held), c.typed) << char(c.code) << " " << c.held;
}

TEST(KeypadLayout, TheLogicalWidthIsTheScreenWidthInSkinUnits) {
    const struct {
        int width, scale, logical;
    } cases[] = {{240, 1, 240}, {480, 2, 240}, {320, 1, 320}, {640, 2, 320}, {800, 2, 400}, {480, 1, 480}};
    for (const auto& c : cases)
        EXPECT_EQ(LogicalScreenWidth(c.width, c.scale), c.logical) << c.width << "/" << c.scale;
}

TEST_F(DialKeypadTest, EachScreenWidthGetsItsLayoutAndOthersFallBackToPortrait) {
    const struct {
        int width;
        const char* name;
        bool portrait;
    } cases[] = {{240, "w240", true}, {320, "w320", false}, {400, "w240", true}, {480, "w240", true}};
    KeypadLook look;
    for (const auto& c : cases) {
        look.Choose(m_node, c.width);
        EXPECT_EQ(look.Name(), c.name) << c.width;
        EXPECT_EQ(look.Layout().IsPortrait(), c.portrait) << c.width;
    }
    EXPECT_EQ(m_keypad->UiLine(), "keypad w240 portrait 4x4 cell 50x50 hot sms pressed none");
    ChangeScreen(320, 240);
    EXPECT_EQ(m_keypad->UiLine(), "keypad w320 landscape 5x3 cell 48x50 pressed none");
    EXPECT_EQ(m_keypad->CellAt(Landscape(3, 0)), uint32_t('*'));
    ChangeScreen(800, 480);
    EXPECT_EQ(m_keypad->UiLine(), "keypad w240 portrait 4x4 cell 50x50 hot sms pressed none");
}

TEST_F(DialKeypadTest, CellsLieInThePictureCentredAcrossThePane) {
    EXPECT_EQ(m_keypad->CellAt(Portrait(0, 0)), uint32_t('1'));
    EXPECT_EQ(m_keypad->CellAt(POINT{kLeft, 0}), uint32_t('1'));
    EXPECT_EQ(m_keypad->CellAt(POINT{kLeft - 1, 10}), KeypadCode::kNone);
    EXPECT_EQ(m_keypad->CellAt(POINT{kLeft + 200, 10}), KeypadCode::kNone);
    EXPECT_EQ(m_keypad->CellAt(Portrait(3, 3)), KeypadCode::kClose);
    EXPECT_EQ(m_keypad->CellAt(POINT{100, 230}), KeypadCode::kNone) << "below the picture";
}

TEST_F(DialKeypadTest, HoldingZeroTypesPlusAfter300MsAndZeroBefore) {
    const struct {
        POINT cell;
        int heldMs;
        const char* typed;
    } cases[] = {{Portrait(1, 3), 400, "+"}, {Portrait(1, 3), 200, "0"}, {Portrait(2, 3), 400, "*"},
                 {Portrait(1, 0), 400, "2"}};
    for (const auto& c : cases) {
        m_typed.clear();
        Press(c.cell);
        EXPECT_EQ(m_typed, "") << "characters are typed when the pen is lifted";
        Advance(c.heldMs);
        Lift(c.cell);
        EXPECT_EQ(m_typed, c.typed) << c.heldMs;
    }
    EXPECT_EQ(m_keypad->PressedCell(), -1);
}

TEST_F(DialKeypadTest, SlidingToAnotherCellTypesThatCellAndRestartsTheHold) {
    Press(Portrait(1, 3)); // "0"
    Advance(250);
    Slide(Portrait(1, 2)); // "8"
    EXPECT_EQ(m_keypad->PressedCell(), 9);
    Advance(100);
    Lift(Portrait(1, 2));
    EXPECT_EQ(m_typed, "8");

    m_typed.clear();
    Press(Portrait(1, 2)); // "8", then 200 ms on "0": the hold starts again there
    Advance(250);
    Slide(Portrait(1, 3));
    Advance(200);
    Lift(Portrait(1, 3));
    EXPECT_EQ(m_typed, "0");

    m_typed.clear();
    Press(Portrait(1, 3));
    Slide(POINT{5, 5}); // off the keypad: no highlight, lifting there does nothing
    EXPECT_EQ(m_keypad->PressedCell(), -1);
    Lift(POINT{5, 5});
    EXPECT_EQ(m_typed, "");
}

TEST_F(DialKeypadTest, HoldingDeleteDeletesAtOnceAt500MsAndThenEvery100Ms) {
    const POINT del = Portrait(3, 0);
    Press(del);
    const struct {
        int atMs;
        int deletes;
    } steps[] = {{0, 1}, {490, 1}, {500, 2}, {590, 2}, {600, 3}, {700, 4}, {990, 6}, {1000, 7}};
    int now = 0;
    for (const auto& step : steps) {
        Advance(step.atMs - now);
        now = step.atMs;
        EXPECT_EQ(m_deletes, step.deletes) << "at " << step.atMs << " ms";
    }
    Lift(del);
    Advance(1000);
    EXPECT_EQ(m_typed, "") << "the delete cell types nothing when lifted";
    EXPECT_EQ(m_deletes, 7) << "one at once, one at 500 ms, then every 100 ms up to 1 s";
    // Every deletion asked the owner to search again.
    EXPECT_EQ(m_notes, std::vector<WPARAM>(7, kKeypadSearch));
}

TEST_F(DialKeypadTest, LeavingTheDeleteCellStopsTheRepeat) {
    Press(Portrait(3, 0));
    Advance(550);
    EXPECT_EQ(m_deletes, 2);
    Slide(Portrait(2, 0)); // "3"
    Advance(1000);
    EXPECT_EQ(m_deletes, 2);
    Slide(Portrait(3, 0)); // back on delete: no new repeat without a new press
    Advance(1000);
    EXPECT_EQ(m_deletes, 2);
    Lift(Portrait(3, 0));
    EXPECT_EQ(m_deletes, 2);
}

TEST_F(DialKeypadTest, TheIceCellShowsInPortraitOnlyAndCallsTheHotNumber) {
    m_settings.flags |= common::SettingsFlag::kHotKeyCallsIce;
    EXPECT_EQ(m_keypad->CellAt(Portrait(3, 1)), KeypadCode::kCallHotNumber);
    EXPECT_EQ(m_keypad->UiLine(), "keypad w240 portrait 4x4 cell 50x50 hot ice pressed none");
    Press(Portrait(3, 1));
    EXPECT_EQ(m_keypad->UiLine(), "keypad w240 portrait 4x4 cell 50x50 hot ice pressed 208");
    Lift(Portrait(3, 1));
    ASSERT_EQ(commands.size(), 1u);
    EXPECT_EQ(commands[0].wParam, WPARAM(208));
    EXPECT_EQ(m_typed, "");

    ChangeScreen(320, 240);
    Press(Landscape(3, 1));
    Lift(Landscape(3, 1));
    EXPECT_EQ(m_typed, "#") << "the landscape layout has no hot cell";
    EXPECT_EQ(commands.size(), 1u);
}

TEST_F(DialKeypadTest, CommandCellsSendTheirCommandToTheOwner) {
    const struct {
        POINT cell;
        WPARAM command;
    } cases[] = {{Portrait(3, 1), 143}, {Portrait(3, 2), 144}, {Portrait(3, 3), 123}};
    for (const auto& c : cases) {
        commands.clear();
        Press(c.cell);
        EXPECT_TRUE(commands.empty()) << "commands go when the pen is lifted";
        Lift(c.cell);
        ASSERT_EQ(commands.size(), 1u) << c.command;
        EXPECT_EQ(commands[0].wParam, c.command);
    }
    EXPECT_EQ(m_typed, "");
}

TEST_F(DialKeypadTest, APenDownOutsideTheCellsOnlyTellsTheOwner) {
    Press(POINT{100, 260});
    Lift(POINT{100, 260});
    EXPECT_EQ(m_notes, std::vector<WPARAM>{kKeypadSearch});
    EXPECT_EQ(m_typed, "");
    EXPECT_EQ(m_deletes, 0);
    EXPECT_TRUE(commands.empty());
    EXPECT_EQ(m_keypad->PressedCell(), -1);
}

TEST_F(DialKeypadTest, TheTalkKeyDialsOnReleaseUnlessItWasHeldAtAttach) {
    m_keypad->OnKey(WM_KEYDOWN, VK_TTALK, 0);
    m_keypad->OnKey(WM_KEYUP, VK_TTALK, 0);
    Pump();
    EXPECT_EQ(m_notes, std::vector<WPARAM>{kKeypadDial});

    m_notes.clear();
    keybd_event(VK_TTALK, 0, 0, 0);
    m_keypad->Attach([this](UINT message, WPARAM wParam, LPARAM) { Record(message, wParam); });
    keybd_event(VK_TTALK, 0, KEYEVENTF_KEYUP, 0);
    m_keypad->OnKey(WM_KEYUP, VK_TTALK, 0);
    Pump();
    EXPECT_TRUE(m_notes.empty()) << "the release of the key that opened the keypad does not dial";
    m_keypad->OnKey(WM_HOTKEY, 0, MAKELPARAM(0, VK_TTALK));
    m_keypad->OnKey(WM_HOTKEY, 0, MAKELPARAM(MOD_KEYUP, VK_TTALK));
    Pump();
    EXPECT_EQ(m_notes, std::vector<WPARAM>{kKeypadDial}) << "the next release dials (here as the frame's hot key)";
}

TEST_F(DialKeypadTest, HardwareKeysGoToTheFieldAndKeyUpsThatChangeTheNumberSearch) {
    const struct {
        WPARAM key;
        bool searches;
    } cases[] = {{'5', true}, {'0', true}, {VK_BACK, true}, {VK_SPACE, true}, {127, true},
                 {VK_UP, false}, {VK_RETURN, false}, {128, false}};
    for (const auto& c : cases) {
        m_keys.clear();
        m_notes.clear();
        EXPECT_EQ(m_keypad->OnKey(WM_KEYDOWN, c.key, 1), 0);
        EXPECT_EQ(m_keypad->OnKey(WM_KEYUP, c.key, 1), 0);
        Pump();
        EXPECT_EQ(m_keys, (std::vector<std::pair<UINT, WPARAM>>{{WM_KEYDOWN, c.key}, {WM_KEYUP, c.key}})) << c.key;
        EXPECT_EQ(m_notes.size(), c.searches ? 1u : 0u) << c.key;
    }
    m_notes.clear();
    m_keypad->OnKey(WM_CHAR, '7', 0);
    Pump();
    EXPECT_EQ(m_typed, "7");
    EXPECT_EQ(m_notes, std::vector<WPARAM>{kKeypadSearch});

    m_keypad->Detach();
    m_keys.clear();
    EXPECT_EQ(m_keypad->OnKey(WM_KEYUP, '5', 1), -1) << "a detached keypad leaves keys alone";
    EXPECT_TRUE(m_keys.empty());
}

TEST_F(DialKeypadTest, WithTheVibrationBitATapSwitchesTheVibratorOnAndOff) {
    const int led = common::VibrationLed();
    ASSERT_EQ(led, 1);
    Press(Portrait(1, 1));
    Lift(Portrait(1, 1));
    EXPECT_EQ(platform::LedBank::Instance().OnCounts()[1], 0) << "no tick without the bit";

    m_settings.flags |= common::SettingsFlag::kVibrateOnTap;
    Press(Portrait(1, 1));
    EXPECT_EQ(platform::LedBank::Instance().OnCounts()[1], 1);
    EXPECT_EQ(platform::LedBank::Instance().States()[1], 0) << "the tick is over before the cell lights";
    Lift(Portrait(1, 1));
    Press(POINT{100, 260});
    EXPECT_EQ(platform::LedBank::Instance().OnCounts()[1], 1) << "no tick outside the cells";
    EXPECT_EQ(m_typed, "55");
}

TEST_F(DialKeypadTest, AHeldCellIsDrawnPressedOverThePictureWithTheHotCell) {
    m_settings.flags |= common::SettingsFlag::kHotKeyCallsBestFriend;
    Press(Portrait(1, 1));
    EXPECT_EQ(m_keypad->UiLine(), "keypad w240 portrait 4x4 cell 50x50 hot friend pressed \"5\"");
    ExpectScreenMatches("keypad-pressed.png");
}

// The console reads the keypad as one line under its control: layout and pressed cell.
TEST_F(DialKeypadTest, UiListsTheKeypadWithItsLayoutAndPressedCell) {
    platform::Console console;
    platform::RegisterDeviceCommands(console);
    char handle[32];
    std::snprintf(handle, sizeof handle, "0x%llX", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(m_parent)));
    Press(Portrait(3, 0));
    EXPECT_EQ(console.Execute(std::string("ui ") + handle).lines,
              (std::vector<std::string>{"0 pane 0,0,240,320 \"\"", "  1701 keypad 0,0,240,320 [pressed] \"\"",
                                        "    keypad w240 portrait 4x4 cell 50x50 hot sms pressed delete", "OK"}));
    Lift(Portrait(3, 0));
    EXPECT_EQ(console.Execute(std::string("ui ") + handle).lines[2],
              "    keypad w240 portrait 4x4 cell 50x50 hot sms pressed none");
}

} // namespace
