#include "UserTestSupport.h"
#include "user/StylusInput.h"
#include "user/WindowManager.h"

#include <functional>

using namespace usertest;

namespace {

constexpr UINT_PTR kInjectTimer = 77;

std::vector<platform::WindowInfo> MenuWindows() {
    std::vector<platform::WindowInfo> found;
    for (const auto& info : platform::WindowManager::Instance().ListTopLevel())
        if (info.className == u"PopupMenu" && info.visible)
            found.push_back(info);
    return found;
}

class MenuTest : public UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        m_owner = Create(WS_POPUP | WS_VISIBLE);
        SetFocus(m_owner);
        Drain();
    }

    // Runs `action` from inside the menu's loop, once its windows are on the screen.
    void DuringMenu(std::function<void()> action) {
        Recorder::Instance().m_hook = [this, action](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
            if (hwnd != m_owner || message != WM_TIMER || wParam != kInjectTimer)
                return false;
            KillTimer(m_owner, kInjectTimer);
            action();
            return true;
        };
        SetTimer(m_owner, kInjectTimer, 0, nullptr);
    }

    void Key(UINT key) { PostMessageW(m_owner, WM_KEYDOWN, key, 0); }

    static void Tap(POINT point) {
        platform::StylusInput::Deliver(platform::StylusAction::Press, point);
        platform::StylusInput::Deliver(platform::StylusAction::Release, point);
    }

    HMENU ThreeRows() {
        HMENU menu = CreatePopupMenu();
        AppendMenuW(menu, MF_STRING, 101, u"Call");
        AppendMenuW(menu, MF_STRING | MF_GRAYED, 102, u"Send message");
        AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(menu, MF_STRING, 103, u"Delete");
        return menu;
    }

    HWND m_owner = nullptr;
};

TEST_F(MenuTest, RowsAreAddedInsertedAndRemoved) {
    HMENU menu = ThreeRows();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_TRUE(InsertMenuW(menu, 0, MF_BYPOSITION | MF_STRING, 100, u"First"));
    EXPECT_TRUE(InsertMenuW(menu, 103, MF_BYCOMMAND | MF_STRING, 104, u"Before delete"));
    const UINT ids[] = {100, 101, 102, UINT(-1), 104, 103};
    ASSERT_EQ(GetMenuItemCount(menu), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(GetMenuItemID(menu, i), ids[i]) << i;
    WCHAR text[16];
    EXPECT_EQ(GetMenuStringW(menu, 104, text, 16, MF_BYCOMMAND), 13);
    EXPECT_EQ(std::u16string(text), u"Before delete");
    EXPECT_EQ(GetMenuStringW(menu, 104, text, 5, MF_BYCOMMAND), 4); // cut and terminated
    EXPECT_EQ(std::u16string(text), u"Befo");
    EXPECT_FALSE(InsertMenuW(menu, 999, MF_BYCOMMAND, 1, u"x"));
    EXPECT_TRUE(DeleteMenu(menu, 100, MF_BYCOMMAND));
    EXPECT_TRUE(RemoveMenu(menu, 0, MF_BYPOSITION));
    EXPECT_FALSE(RemoveMenu(menu, 7, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(menu), 4);
    EXPECT_EQ(GetMenuItemID(menu, 0), 102u);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(menu), -1);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_MENU_HANDLE));
    HMENU next = CreatePopupMenu(); // may take the freed slot, never the old handle
    EXPECT_NE(next, menu);
    EXPECT_FALSE(AppendMenuW(menu, MF_STRING, 1, u"stale"));
    EXPECT_EQ(GetMenuItemCount(next), 0);
}

TEST_F(MenuTest, EnablingAndCheckingReturnThePreviousState) {
    HMENU menu = ThreeRows();
    const struct {
        UINT item, flags;
        DWORD previous;
    } enable[] = {
        {102, MF_BYCOMMAND | MF_ENABLED, MF_GRAYED},
        {102, MF_BYCOMMAND | MF_DISABLED, MF_ENABLED},
        {1, MF_BYPOSITION | MF_GRAYED, MF_DISABLED},
        {0, MF_BYPOSITION | MF_GRAYED, MF_ENABLED},
        {555, MF_BYCOMMAND | MF_GRAYED, DWORD(-1)},
    };
    for (const auto& c : enable)
        EXPECT_EQ(DWORD(EnableMenuItem(menu, c.item, c.flags)), c.previous) << c.item;
    EXPECT_EQ(GetMenuState(menu, 101, MF_BYCOMMAND) & MF_GRAYED, UINT(MF_GRAYED));
    EXPECT_EQ(CheckMenuItem(menu, 103, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(menu, 103, MF_BYCOMMAND | MF_UNCHECKED), DWORD(MF_CHECKED));
    EXPECT_EQ(CheckMenuItem(menu, 999, MF_BYCOMMAND | MF_CHECKED), DWORD(-1));
    // Commands are found inside submenus too.
    HMENU sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 201, u"Inner");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"More");
    EXPECT_EQ(CheckMenuItem(menu, 201, MF_BYCOMMAND | MF_CHECKED), DWORD(MF_UNCHECKED));
    EXPECT_EQ(GetMenuState(sub, 0, MF_BYPOSITION) & MF_CHECKED, UINT(MF_CHECKED));
    EXPECT_EQ(GetMenuState(menu, 4, MF_BYPOSITION), UINT((1 << 8) | MF_POPUP));
}

TEST_F(MenuTest, SubmenusBelongToTheirMenuAndCyclesAreRefused) {
    HMENU menu = CreatePopupMenu(), sub = CreatePopupMenu(), inner = CreatePopupMenu();
    ASSERT_TRUE(AppendMenuW(sub, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), u"Inner"));
    ASSERT_TRUE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Sub"));
    EXPECT_FALSE(AppendMenuW(inner, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), u"Loop"));
    EXPECT_FALSE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), u"Self"));
    EXPECT_EQ(GetSubMenu(menu, 0), sub);
    ASSERT_TRUE(RemoveMenu(menu, 0, MF_BYPOSITION));
    EXPECT_EQ(GetMenuItemCount(sub), 1); // removed, still alive
    ASSERT_TRUE(AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Sub"));
    ASSERT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(GetMenuItemCount(sub), -1);
    EXPECT_EQ(GetMenuItemCount(inner), -1);
}

TEST_F(MenuTest, KeysChooseARowAndSkipSeparators) {
    HMENU menu = ThreeRows();
    EnableMenuItem(menu, 102, MF_BYCOMMAND | MF_ENABLED);
    for (UINT key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN})
        Key(key);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr), 103);
    EXPECT_TRUE(MenuWindows().empty());
    // Up from nothing selected wraps to the last row; Escape dismisses with 0.
    for (UINT key : {VK_UP, VK_RETURN})
        Key(key);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr), 103);
    Key(VK_ESCAPE);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr), 0);
}

TEST_F(MenuTest, AGrayedRowIsNotChosen) {
    HMENU menu = ThreeRows();
    for (UINT key : {VK_DOWN, VK_DOWN, VK_RETURN, VK_ESCAPE})
        Key(key);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 10, 0, m_owner, nullptr), 0);
}

TEST_F(MenuTest, WithoutReturnCmdTheCommandIsPostedToTheOwner) {
    HMENU menu = ThreeRows();
    Key(VK_DOWN);
    Key(VK_RETURN);
    EXPECT_TRUE(TrackPopupMenu(menu, 0, 10, 10, 0, m_owner, nullptr));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, m_owner, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 101u);
    EXPECT_FALSE(TrackPopupMenu(menu, 0, 10, 10, 0, reinterpret_cast<HWND>(0x1234500), nullptr));
}

TEST_F(MenuTest, AStylusTapChoosesARowAndATapOutsideDismisses) {
    HMENU menu = ThreeRows();
    RECT seen{};
    DuringMenu([&] {
        auto menus = MenuWindows();
        ASSERT_EQ(menus.size(), 1u);
        seen = menus[0].rect;
        // The last row (Delete) is at the bottom of the window.
        Tap(POINT{(seen.left + seen.right) / 2, seen.bottom - 8});
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 30, 40, 0, m_owner, nullptr), 103);
    EXPECT_EQ(seen.left, 30);
    EXPECT_EQ(seen.top, 40);
    DuringMenu([&] { Tap(POINT{5, 300}); });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 30, 40, 0, m_owner, nullptr), 0);
    EXPECT_TRUE(MenuWindows().empty());
}

TEST_F(MenuTest, ASubmenuOpensBesideItsRow) {
    HMENU menu = ThreeRows(), sub = CreatePopupMenu();
    AppendMenuW(sub, MF_STRING, 201, u"Mobile");
    AppendMenuW(sub, MF_STRING, 202, u"Work");
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), u"Numbers");
    std::vector<platform::WindowInfo> open;
    DuringMenu([&] {
        open = MenuWindows();
        Key(VK_DOWN);
        Key(VK_RETURN);
    });
    for (UINT key : {VK_UP, VK_RIGHT})
        Key(key);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr), 202);
    ASSERT_EQ(open.size(), 2u);
    // Topmost first: the submenu, then the menu.
    EXPECT_EQ(open[0].rect.left, open[1].rect.right);
    EXPECT_GT(open[0].rect.top, open[1].rect.top);
    // Left closes the submenu again.
    for (UINT key : {VK_UP, VK_RIGHT, VK_LEFT, VK_UP, VK_RETURN})
        Key(key);
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr), 103);
}

TEST_F(MenuTest, AlignmentAndTheScreenEdgesKeepTheMenuOnTheSurface) {
    HMENU menu = ThreeRows();
    const struct {
        int x, y;
        UINT flags;
    } cases[] = {
        {239, 319, TPM_LEFTALIGN | TPM_TOPALIGN},
        {0, 0, TPM_RIGHTALIGN | TPM_BOTTOMALIGN},
        {200, 160, TPM_RIGHTALIGN | TPM_BOTTOMALIGN},
        {-50, 5000, TPM_CENTERALIGN},
    };
    for (const auto& c : cases) {
        RECT seen{};
        DuringMenu([&] {
            seen = MenuWindows().at(0).rect;
            Key(VK_ESCAPE);
        });
        TrackPopupMenu(menu, TPM_RETURNCMD | c.flags, c.x, c.y, 0, m_owner, nullptr);
        EXPECT_GE(seen.left, 0) << c.x;
        EXPECT_GE(seen.top, 0) << c.x;
        EXPECT_LE(seen.right, 240) << c.x;
        EXPECT_LE(seen.bottom, 320) << c.x;
        if (c.x == 200) {
            EXPECT_EQ(seen.right, 200);
            EXPECT_EQ(seen.bottom, 160);
        }
    }
}

TEST_F(MenuTest, ATallMenuIsCutAtTheScreenEdgeAndScrolls) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < 40; ++i)
        AppendMenuW(menu, MF_STRING, 1000 + i, (u"Row " + std::u16string(1, char16_t(u'A' + i % 26))).c_str());
    RECT seen{};
    DuringMenu([&] {
        seen = MenuWindows().at(0).rect;
        Key(VK_UP); // wraps to the last row, which scrolls into view
        Key(VK_RETURN);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 10, 100, 0, m_owner, nullptr), 1039);
    EXPECT_EQ(seen.top, 0);
    EXPECT_EQ(seen.bottom, 320);
}

TEST_F(MenuTest, OnlyOneMenuIsTrackedAtATime) {
    HMENU menu = ThreeRows();
    BOOL nested = TRUE;
    DWORD error = 0;
    DuringMenu([&] {
        nested = TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr);
        error = GetLastError();
        Key(VK_ESCAPE);
    });
    EXPECT_EQ(TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr), 0);
    EXPECT_EQ(nested, FALSE);
    EXPECT_EQ(error, DWORD(ERROR_POPUP_ALREADY_ACTIVE));
}

TEST_F(MenuTest, TheOwnerIsToldBeforeEachLevelOpens) {
    HMENU menu = ThreeRows();
    std::vector<WPARAM> told;
    Recorder::Instance().m_hook = [&](HWND hwnd, UINT message, WPARAM wParam, LPARAM, LRESULT&) {
        if (hwnd == m_owner && message == WM_INITMENUPOPUP) {
            told.push_back(wParam);
            // The owner may change the rows it is about to show.
            CheckMenuItem(menu, 101, MF_BYCOMMAND | MF_CHECKED);
        }
        return false;
    };
    Key(VK_ESCAPE);
    TrackPopupMenu(menu, TPM_RETURNCMD, 0, 0, 0, m_owner, nullptr);
    EXPECT_EQ(told, (std::vector<WPARAM>{reinterpret_cast<WPARAM>(menu)}));
    Key(VK_ESCAPE);
    TrackPopupMenu(menu, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, m_owner, nullptr);
    EXPECT_EQ(told.size(), 1u);
}

} // namespace
