#include "../user/UserTestSupport.h"
#include "ce/aygshell.h"
#include "ce/sipapi.h"
#include "shell/InputPanel.h"
#include "user/StylusInput.h"

#include <chrono>
#include <thread>

using namespace usertest;
using platform::StylusAction;
using platform::StylusInput;

namespace {

void Tap(const RECT& key) {
    POINT centre{(key.left + key.right) / 2, (key.top + key.bottom) / 2};
    StylusInput::Deliver(StylusAction::Press, centre);
    StylusInput::Deliver(StylusAction::Release, centre);
}

TEST_F(UserTest, TheInputPanelTypesIntoTheFocusedEdit) {
    HWND parent = Create(WS_POPUP | WS_VISIBLE);
    HWND edit = CreateWindowExW(0, u"EDIT", u"", WS_CHILD | WS_VISIBLE, 0, 30, 200, 20, parent, nullptr, nullptr,
                                nullptr);
    SetFocus(edit);
    SIPINFO info{};
    info.cbSize = sizeof(info);
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
    ASSERT_TRUE(SipShowIM(SIPF_ON));
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, DWORD(SIPF_ON));
    EXPECT_EQ(info.rcSipRect.bottom, 320);
    EXPECT_EQ(info.rcSipRect.right, 240);
    EXPECT_GT(info.rcSipRect.top, 160);
    EXPECT_EQ(info.rcVisibleDesktop.bottom, info.rcSipRect.top);
    EXPECT_EQ(info.rcVisibleDesktop.top, 26);
    auto& panel = platform::InputPanel::Instance();
    for (char16_t ch : std::u16string(u"hi 7\bx"))
        Tap(panel.KeyRect(ch));
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
    WCHAR text[16] = {};
    GetWindowTextW(edit, text, 16);
    EXPECT_EQ(std::u16string(text), u"hi x");
    EXPECT_EQ(GetFocus(), edit); // the panel never took the focus
    info.fdwFlags = SIPF_OFF;
    ASSERT_TRUE(SipSetInfo(&info));
    ASSERT_TRUE(SipGetInfo(&info));
    EXPECT_EQ(info.fdwFlags & SIPF_ON, 0u);
    EXPECT_EQ(info.rcVisibleDesktop.bottom, 320);
    info.cbSize = 4;
    EXPECT_FALSE(SipGetInfo(&info));
}

class GestureTest : public UserTest {
protected:
    // Presses the stylus on the window, then runs `later` on another thread while the
    // gesture is being recognised.
    DWORD Hold(DWORD flags, std::function<void()> later) {
        m_window = Create(WS_POPUP | WS_VISIBLE);
        Drain();
        StylusInput::Deliver(StylusAction::Press, POINT{20, 20});
        MSG msg;
        EXPECT_TRUE(PeekMessageW(&msg, m_window, WM_LBUTTONDOWN, WM_LBUTTONDOWN, PM_REMOVE));
        auto worker = StartWorker([later]() -> DWORD {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            later();
            return 0;
        });
        SHRGINFO info{sizeof(SHRGINFO), m_window, POINT{20, 20}, flags};
        DWORD result = SHRecognizeGesture(&info);
        EXPECT_TRUE(JoinThread(worker));
        StylusInput::Deliver(StylusAction::Release, POINT{20, 20});
        return result;
    }
    HWND m_window = nullptr;
};

TEST_F(GestureTest, HoldingGivesAContextMenuRequest) {
    std::vector<Entry> menus;
    Recorder::Instance().m_hook = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
        if (message == WM_CONTEXTMENU)
            menus.push_back(Entry{hwnd, message, wParam, lParam});
        return false;
    };
    EXPECT_EQ(Hold(0, [] { platform::DeviceClock::Instance().Advance(600); }), DWORD(GN_CONTEXTMENU));
    ASSERT_EQ(menus.size(), 1u);
    EXPECT_EQ(menus[0].wParam, reinterpret_cast<WPARAM>(m_window));
    EXPECT_EQ(menus[0].lParam, MAKELPARAM(20, 20));
    menus.clear();
    EXPECT_EQ(Hold(SHRG_RETURNCMD, [] { platform::DeviceClock::Instance().Advance(600); }), DWORD(GN_CONTEXTMENU));
    EXPECT_TRUE(menus.empty());
}

TEST_F(GestureTest, LiftingOrMovingAwayIsNoGesture) {
    EXPECT_EQ(Hold(SHRG_RETURNCMD, [] { StylusInput::Deliver(StylusAction::Release, POINT{20, 20}); }), 0u);
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, m_window, WM_LBUTTONUP, WM_LBUTTONUP, PM_REMOVE)); // left for the window
    EXPECT_EQ(Hold(SHRG_RETURNCMD, [] { StylusInput::Deliver(StylusAction::Move, POINT{60, 20}); }), 0u);
    // A long hold needs more than the usual time.
    EXPECT_EQ(Hold(SHRG_RETURNCMD | SHRG_LONGDELAY,
                   [] {
                       platform::DeviceClock::Instance().Advance(600);
                       std::this_thread::sleep_for(std::chrono::milliseconds(100));
                       StylusInput::Deliver(StylusAction::Release, POINT{20, 20});
                   }),
              0u);
}

} // namespace
