// The stylus and the hardware keys: routing to the window under the point, capture,
// disabled windows, activation by a touch, and the key names of the console.
#include "DisplayTestSupport.h"
#include "user/HardwareKeys.h"
#include "user/StylusInput.h"

#include <vector>

using displaytest::DisplayTest;
using displaytest::Hook;
using platform::HardwareKeys;
using platform::StylusAction;
using platform::StylusInput;

namespace {

struct Seen {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    POINT client;
    bool operator==(const Seen& other) const {
        return hwnd == other.hwnd && message == other.message && wParam == other.wParam &&
               client.x == other.client.x && client.y == other.client.y;
    }
};

class Input : public DisplayTest {
protected:
    void SetUp() override {
        DisplayTest::SetUp();
        RegisterBrushClass(u"Plain", RGB(255, 255, 255));
        Hook() = [this](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
            bool stylus = message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_MOUSEMOVE;
            if (stylus || message == WM_CAPTURECHANGED || message == WM_KEYDOWN || message == WM_KEYUP ||
                message == WM_CHAR)
                m_seen.push_back(Seen{hwnd, message, wParam,
                                      stylus ? POINT{SHORT(LOWORD(lParam)), SHORT(HIWORD(lParam))} : POINT{}});
            return false;
        };
    }
    std::vector<Seen> Take() {
        Pump();
        std::vector<Seen> seen;
        seen.swap(m_seen);
        return seen;
    }
    std::vector<Seen> m_seen;
};

TEST_F(Input, ATapGoesToTheDeepestWindowUnderThePoint) {
    HWND back = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 0, 200, 200});
    HWND front = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{50, 50, 150, 150});
    HWND child = Make(u"Plain", WS_CHILD | WS_VISIBLE, RECT{10, 10, 40, 40}, front);
    Take();
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Press, POINT{65, 70}), child);
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Move, POINT{66, 71}), child);
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Release, POINT{66, 71}), child);
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Press, POINT{20, 20}), back);
    StylusInput::Deliver(StylusAction::Release, POINT{20, 20});
    std::vector<Seen> expected = {
        {child, WM_LBUTTONDOWN, MK_LBUTTON, {5, 10}}, {child, WM_MOUSEMOVE, MK_LBUTTON, {6, 11}},
        {child, WM_LBUTTONUP, 0, {6, 11}},            {back, WM_LBUTTONDOWN, MK_LBUTTON, {20, 20}},
        {back, WM_LBUTTONUP, 0, {20, 20}},
    };
    EXPECT_EQ(Take(), expected);
    EXPECT_EQ(GetForegroundWindow(), back) << "a touch activates its top-level window";
    // Activation raised it above the other window.
    EXPECT_EQ(WindowFromPoint(POINT{65, 70}), back);
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Press, POINT{230, 300}), nullptr);
    StylusInput::Deliver(StylusAction::Release, POINT{230, 300});
}

TEST_F(Input, CaptureTakesEveryStylusEventUntilReleased) {
    HWND left = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
    HWND right = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{100, 0, 200, 100});
    Take();
    SetCapture(left);
    EXPECT_EQ(GetCapture(), left);
    StylusInput::Deliver(StylusAction::Press, POINT{150, 10});
    StylusInput::Deliver(StylusAction::Release, POINT{150, 10});
    std::vector<Seen> captured = {{left, WM_LBUTTONDOWN, MK_LBUTTON, {150, 10}},
                                  {left, WM_LBUTTONUP, 0, {150, 10}}};
    EXPECT_EQ(Take(), captured);
    SetCapture(right); // the old capture hears of it
    ReleaseCapture();
    EXPECT_EQ(GetCapture(), nullptr);
    StylusInput::Deliver(StylusAction::Press, POINT{150, 10});
    std::vector<Seen> released = {{left, WM_CAPTURECHANGED, 0, {}},
                                  {right, WM_CAPTURECHANGED, 0, {}},
                                  {right, WM_LBUTTONDOWN, MK_LBUTTON, {50, 10}}};
    EXPECT_EQ(Take(), released);
    StylusInput::Deliver(StylusAction::Release, POINT{150, 10});
}

TEST_F(Input, ADisabledWindowTakesNoTouch) {
    HWND top = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 0, 100, 100});
    HWND child = Make(u"Plain", WS_CHILD | WS_VISIBLE, RECT{0, 0, 50, 50}, top);
    Take();
    EnableWindow(top, FALSE);
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Press, POINT{10, 10}), nullptr);
    StylusInput::Deliver(StylusAction::Release, POINT{10, 10});
    EXPECT_TRUE(Take().empty());
    EnableWindow(top, TRUE);
    EXPECT_EQ(StylusInput::Deliver(StylusAction::Press, POINT{10, 10}), child);
    StylusInput::Deliver(StylusAction::Release, POINT{10, 10});
}

TEST_F(Input, ChildWindowFromPointLooksOneLevelDown) {
    HWND top = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{20, 20, 120, 120});
    HWND hidden = Make(u"Plain", WS_CHILD, RECT{0, 0, 10, 10}, top);
    HWND child = Make(u"Plain", WS_CHILD | WS_VISIBLE, RECT{50, 50, 90, 90}, top);
    Make(u"Plain", WS_CHILD | WS_VISIBLE, RECT{0, 0, 5, 5}, child);
    struct Case {
        POINT point;
        HWND expected;
    } cases[] = {{{5, 5}, hidden}, {{60, 60}, child}, {{30, 30}, top}, {{100, 5}, nullptr}, {{-1, 5}, nullptr}};
    for (const Case& c : cases)
        EXPECT_EQ(ChildWindowFromPoint(top, c.point), c.expected) << c.point.x << "," << c.point.y;
}

TEST_F(Input, HardwareKeysReachTheFocusAsKeysAndCharacters) {
    HWND window = Make(u"Plain", WS_POPUP | WS_VISIBLE, RECT{0, 0, 50, 50});
    Take();
    ASSERT_EQ(GetFocus(), window);
    struct Named {
        const char* name;
        BYTE key;
    } names[] = {{"talk", VK_F3},       {"end", VK_F4},       {"action", VK_RETURN}, {"softkey1", VK_F1},
                 {"softkey2", VK_F2},   {"back", VK_ESCAPE},  {"left", VK_LEFT},     {"down", VK_DOWN},
                 {"7", '7'},            {"star", VK_F8},      {"pound", VK_F9}};
    for (const Named& named : names)
        EXPECT_EQ(HardwareKeys::FromName(named.name), std::optional<BYTE>(named.key)) << named.name;
    EXPECT_FALSE(HardwareKeys::FromName("menu"));
    EXPECT_FALSE(HardwareKeys::FromName("10"));
    HardwareKeys::Key(VK_TSTAR, false);
    HardwareKeys::Key(VK_TSTAR, true);
    EXPECT_TRUE(HardwareKeys::Type(u"a#"));
    std::vector<Seen> expected = {
        {window, WM_KEYDOWN, VK_TSTAR, {}}, {window, WM_KEYUP, VK_TSTAR, {}}, {window, WM_CHAR, u'a', {}},
        {window, WM_CHAR, u'#', {}},        {window, WM_CHAR, u'*', {}},
    };
    // The typed characters were queued before TranslateMessage made '*' of the key.
    EXPECT_EQ(Take(), expected);
}

} // namespace
