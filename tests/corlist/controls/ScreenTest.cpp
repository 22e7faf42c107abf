// Screens built from a skin into a control host window: numbering by the control table,
// layout, focus and keys, hit testing, pressed and check buttons and the commands they send.
#include "../skin/SkinDevice.h"

#include "corlist/controls/Button.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/ScreenBuilder.h"
#include "corlist/controls/TextControl.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/user.h"

#include <vector>

using namespace corlist;

namespace {

std::vector<std::pair<WPARAM, LPARAM>> g_commands;

LRESULT CALLBACK ParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) {
        g_commands.emplace_back(wParam, lParam);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

const char* kDescription =
    "<skin><control name='Main'><fill color='#FFFFFF'/>"
    "<button name='Ok' rect='10,10,100,40'/>"
    "<button name='Toggle' rect='10,60,100,40' style='check'/>"
    "<text name='Title' rect='c,110,50%,20' size='12'/>"
    "<control name='Pane' rect='0,140,0,-20'><button name='Inner' rect='0,0,50%,0'/></control>"
    "<button name='Hidden' rect='10,10,100,40' style='hide'/>"
    "<edit name='Field' rect='0,0,10,10'/>"
    "</control></skin>";

constexpr UINT kOk = 11, kToggle = 12, kTitle = 13, kPane = 14, kInner = 15;

const ControlTableRow kPaneRows[] = {{SkinKind::kButton, "inner", kInner}, {}};
const ControlTableRow kRows[] = {
    {SkinKind::kButton, "ok", kOk},   {SkinKind::kButton, "Toggle", kToggle},
    {SkinKind::kText, "title", kTitle}, {SkinKind::kControl, "pane", kPane, 0, kPaneRows},
    {},
};

class Screen : public skintest::SkinDevice {
protected:
    void SetUp() override {
        SkinDevice::SetUp();
        g_commands.clear();
        m_skin.SetProgramFolder(u"\\");
        InstallControlDescriptors(m_skin);
        WriteDescription("Test.rpk", kDescription);
        ASSERT_TRUE(m_skin.Load(u"Test"));
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = &ParentProcedure;
        windowClass.lpszClassName = u"ScreenTestParent";
        RegisterClassW(&windowClass);
        m_parent = CreateWindowExW(0, u"ScreenTestParent", u"", WS_VISIBLE, 0, 0, 240, 320, nullptr, nullptr,
                                   nullptr, nullptr);
        ASSERT_NE(m_parent, nullptr);
        ASSERT_TRUE(m_host.Create(m_skin, "main", kRows, m_parent, WS_CHILD | WS_VISIBLE, RECT{0, 0, 240, 320}));
    }
    void TearDown() override {
        m_host.Destroy();
        DestroyWindow(m_parent);
        m_skin.ClearSkin();
        SkinDevice::TearDown();
    }
    void Tap(int x, int y, int upX = -1, int upY = -1) {
        SendMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(x, y));
        SendMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(upX < 0 ? x : upX, upY < 0 ? y : upY));
    }
    int Key(WPARAM key) { return m_host.Screen().OnKey(WM_KEYDOWN, key, 0); }

    Skin m_skin;
    HWND m_parent = nullptr;
    ControlHost m_host;
};

TEST_F(Screen, ControlsAreNumberedAndLaidOutFromTheSkin) {
    Control& screen = m_host.Screen();
    EXPECT_EQ(m_host.CurrentScreen(), &screen);
    ASSERT_EQ(screen.Children().size(), 6u);
    EXPECT_STREQ(screen.Children().back()->KindName(), "edit");
    Control* ok = screen.FindById(kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_STREQ(ok->KindName(), "button");
    EXPECT_EQ(ok->Rect().left, 10);
    EXPECT_EQ(ok->Rect().bottom, 50);
    Control* title = screen.FindById(kTitle);
    EXPECT_EQ(title->Rect().left, 60);
    EXPECT_EQ(title->Rect().right, 180);
    Control* inner = screen.FindById(kInner); // numbered by the pane's own rows
    ASSERT_NE(inner, nullptr);
    EXPECT_EQ(inner->Parent(), screen.FindById(kPane));
    EXPECT_EQ(inner->Rect().top, 140);
    EXPECT_EQ(inner->Rect().bottom, 300);
    EXPECT_EQ(inner->Rect().right, 120);
    Control* hidden = screen.FindByDescriptor(SkinKind::kButton, "hidden", false);
    ASSERT_NE(hidden, nullptr);
    EXPECT_EQ(hidden->Number(), 0u); // no row: still built, without a number
    EXPECT_FALSE(hidden->IsVisible());
    EXPECT_EQ(screen.FindByDescriptor(SkinKind::kButton, "inner", false), nullptr);
    EXPECT_EQ(screen.FindByDescriptor(SkinKind::kButton, "inner", true), inner);
}

TEST_F(Screen, ATapSendsTheCommandOfTheTopmostControlHit) {
    // The hidden button lies over "Ok" but is not hit.
    Tap(20, 20);
    ASSERT_EQ(g_commands.size(), 1u);
    EXPECT_EQ(g_commands[0].first, WPARAM(kOk));
    EXPECT_FALSE(m_host.Screen().FindById(kOk)->State() & ControlState::kPressed);
    Tap(20, 160);
    EXPECT_EQ(g_commands.back().first, WPARAM(kInner));
    // Released outside: no command.
    Tap(20, 20, 200, 300);
    EXPECT_EQ(g_commands.size(), 2u);
    // A control without a number sends nothing.
    m_host.Screen().FindById(kOk)->SetNumber(0);
    Tap(20, 20);
    EXPECT_EQ(g_commands.size(), 2u);
}

TEST_F(Screen, CheckButtonsToggleAndAReleaseOutsideTogglesBack) {
    Control* toggle = m_host.Screen().FindById(kToggle);
    SendMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(20, 70));
    EXPECT_TRUE(toggle->State() & ControlState::kPressed);
    SendMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(20, 70));
    EXPECT_TRUE(toggle->State() & ControlState::kPressed);
    Tap(20, 70);
    EXPECT_FALSE(toggle->State() & ControlState::kPressed);
    Tap(20, 70, 200, 300);
    EXPECT_FALSE(toggle->State() & ControlState::kPressed);
    EXPECT_EQ(g_commands.size(), 2u);
}

TEST_F(Screen, UpAndDownMoveTheFocusAmongFocusableChildren) {
    Control& screen = m_host.Screen();
    Control* ok = screen.FindById(kOk);
    Control* toggle = screen.FindById(kToggle);
    Control* hidden = screen.FindByDescriptor(SkinKind::kButton, "hidden", false);
    for (Control* control : {ok, toggle, hidden})
        control->SetFlags(0, ControlState::kFocusable, false);
    EXPECT_EQ(Key(VK_DOWN), 0);
    EXPECT_EQ(screen.FocusedChild(), ok);
    EXPECT_TRUE(ok->HasFocus());
    EXPECT_EQ(Key(VK_UP), 0); // the first keeps the focus and the key
    EXPECT_EQ(screen.FocusedChild(), ok);
    EXPECT_EQ(Key(VK_DOWN), 0);
    EXPECT_EQ(screen.FocusedChild(), toggle);
    EXPECT_FALSE(ok->HasFocus());
    Control* field = screen.FindByDescriptor(SkinKind::kEdit, "field", false);
    EXPECT_EQ(Key(VK_DOWN), 0); // past the hidden one, to the edit field
    EXPECT_EQ(screen.FocusedChild(), field);
    EXPECT_EQ(Key(VK_DOWN), -1); // the last one: the key is not handled
    EXPECT_EQ(screen.FocusedChild(), field);
    field->SetFlags(ControlState::kFocusable, 0, false);
    toggle->SetFocus();
    // Hiding the focused control takes the focus away; up starts from the last one.
    toggle->SetFlags(ControlState::kVisible, 0, true);
    EXPECT_EQ(screen.FocusedChild(), nullptr);
    EXPECT_FALSE(toggle->HasFocus());
    EXPECT_EQ(Key(VK_UP), 0);
    EXPECT_EQ(screen.FocusedChild(), ok);
}

TEST_F(Screen, LabelsComeFromTheTableAndThePage) {
    auto* title = static_cast<TextControl*>(m_host.Screen().FindById(kTitle));
    EXPECT_TRUE(title->Text().empty());
    title->SetText(u"Contacts");
    EXPECT_EQ(title->Text(), u"Contacts");
}

TEST_F(Screen, AMissingScreenBuildsNothing) {
    ControlHost other;
    EXPECT_FALSE(other.Create(m_skin, "Nowhere", kRows, m_parent, WS_CHILD, RECT{0, 0, 10, 10}));
    EXPECT_EQ(other.Window(), nullptr);
}

} // namespace
