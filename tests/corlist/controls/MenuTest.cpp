// Pop-up menus run over a control host: rows chosen with the pen and the keys, title rows
// that only beep, submenus in the same pop-up, layout and placement, and the interruption
// by a page request.
#include "ModalHost.h"

#include "corlist/controls/Menu.h"
#include "corlist/controls/ModalLoop.h"
#include "corlist/skin/Skin.h"
#include "user/WindowManager.h"

#include "ce/kernel.h"
#include "ce/user.h"

#include <functional>
#include <vector>

using namespace corlist;

namespace {

const char* kPlainSkin =
    "<skin><menu rect='20,0,200,0' margins='4,2' rowheight='30'><fill color='#FFFFFF'/><font size='10'/>"
    "<fill name='Selection' color='#3060C0'/><pen name='Border' color='#000000'/></menu>"
    "<control name='Main'/></skin>";
const char* kHeaderSkin =
    "<skin><menu rect='20,0,200,0' rowheight='30'><control name='header' rect='0,0,0,40'/></menu>"
    "<control name='Main'/></skin>";

class MenuTest : public controltest::ModalHost {
protected:
    // The contact menu: a title with the name, then three commands.
    void AddContactRows() {
        m_menu.AddRow(0, u"John Smith", MenuRowFlag::kTitle);
        m_menu.AddRow(144, u"Make Call", 0);
        m_menu.AddRow(143, u"Send SMS", 0);
        m_menu.AddRow(134, u"Delete", 0);
    }
    // Queues a tap on the centre of shown row `index` (-1: outside the menu).
    void QueueRowTap(int index) {
        Queue([this, index] {
            POINT point{5, 310};
            if (index >= 0) {
                const RECT& rect = m_menu.ShownRows().rows[size_t(index)]->rect;
                point = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
            }
            SendMessageW(m_host.Window(), WM_LBUTTONDOWN, 0, MAKELPARAM(point.x, point.y));
            SendMessageW(m_host.Window(), WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
        });
    }
    void QueueCheck(std::function<void()> check) { Queue(std::move(check)); }
    int Show(const POINT* position = nullptr, bool above = false) {
        StartQueue();
        return m_menu.ShowMenu(m_skin, m_host, position, above, 0);
    }

    Menu m_menu;
};

TEST_F(MenuTest, ATapChoosesARowAndATitleOnlyBeeps) {
    Open(kPlainSkin);
    AddContactRows();
    QueueRowTap(0);
    QueueCheck([] { EXPECT_EQ(platform::WindowManager::Instance().DrainBeeps().size(), 1u); });
    QueueRowTap(2);
    EXPECT_EQ(Show(), 143);
    EXPECT_EQ(m_host.Modal(), nullptr);
}

TEST_F(MenuTest, ATapOutsideCancels) {
    Open(kPlainSkin);
    AddContactRows();
    QueueRowTap(-1);
    EXPECT_EQ(Show(), 0);
}

TEST_F(MenuTest, RowsAreLaidOutFromTheSkin) {
    Open(kPlainSkin);
    AddContactRows();
    QueueCheck([this] {
        const auto& rows = m_menu.ShownRows().rows;
        EXPECT_EQ(rows[0]->rect.left, 20);
        EXPECT_EQ(rows[0]->rect.right, 220);
        EXPECT_EQ(rows[0]->rect.bottom - rows[0]->rect.top, 30);
        EXPECT_EQ(rows[1]->rect.top, rows[0]->rect.bottom);
        EXPECT_EQ(m_menu.Rect().top, (320 - 120) / 2); // centred without a position
    });
    QueueKey(VK_ESCAPE);
    EXPECT_EQ(Show(), 0);
}

TEST_F(MenuTest, AMenuNearTheBottomOpensAboveThePoint) {
    Open(kPlainSkin);
    AddContactRows();
    POINT point{230, 300};
    QueueCheck([this] {
        EXPECT_EQ(m_menu.Rect().bottom, 300);
        EXPECT_EQ(m_menu.Rect().top, 180);
        EXPECT_EQ(m_menu.Rect().left, 40); // moved back onto the screen
        EXPECT_EQ(m_menu.Rect().right, 240);
    });
    QueueKey(VK_BACK);
    EXPECT_EQ(Show(&point), 0);
}

TEST_F(MenuTest, KeysMoveTheSelectionPastTheTitle) {
    Open(kHeaderSkin);
    AddContactRows();
    QueueKey(VK_DOWN);
    QueueCheck([this] { EXPECT_EQ(m_menu.Selected(), 1); }); // the title is skipped
    QueueKey(VK_UP);
    QueueCheck([this] { EXPECT_EQ(m_menu.Selected(), 3); }); // wraps to the last row
    QueueKey(VK_DOWN);
    QueueCheck([this] { EXPECT_EQ(m_menu.Selected(), 3); }); // stays at the last row
    QueueKey(VK_UP);
    QueueKey(VK_RETURN);
    EXPECT_EQ(Show(), 143);
}

TEST_F(MenuTest, TheHeaderLookSizesTheTitleAndIsNotHit) {
    Open(kHeaderSkin);
    AddContactRows();
    QueueCheck([this] {
        const RECT& title = m_menu.ShownRows().rows[0]->rect;
        EXPECT_EQ(title.bottom - title.top, 40);
        EXPECT_EQ(m_menu.RowAt((title.left + title.right) / 2, title.top + 5), -1);
    });
    QueueRowTap(1);
    EXPECT_EQ(Show(), 144);
}

TEST_F(MenuTest, SubmenusOpenInTheSamePopUpAndBackRowsReturn) {
    Open(kPlainSkin);
    MenuRow* more = m_menu.AddRow(0, u"More", MenuRowFlag::kSubmenu);
    m_menu.AddRow(7, u"Seven", 0);
    m_menu.AddRow(0, u"Back", MenuRowFlag::kBack, -1, 0, more->submenu.get());
    m_menu.AddRow(9, u"Nine", MenuRowFlag::kDisabled, -1, 0, more->submenu.get());
    m_menu.AddRow(10, u"Ten", 0, -1, 0, more->submenu.get());
    QueueRowTap(0);
    QueueCheck([this] { EXPECT_EQ(m_menu.ShownRows().rows.size(), 3u); });
    QueueRowTap(1); // disabled: stays
    QueueRowTap(0); // back
    QueueCheck([this] { EXPECT_EQ(m_menu.ShownRows().rows[1]->text, u"Seven"); });
    QueueRowTap(0);
    QueueRowTap(2);
    EXPECT_EQ(Show(), 10);
}

TEST_F(MenuTest, APageRequestEndsTheMenuAndIsPostedAgain) {
    Open(kPlainSkin);
    AddContactRows();
    QueueCheck([] { PostThreadMessageW(GetCurrentThreadId(), 0x8203, 5, 6); });
    EXPECT_EQ(Show(), kModalInterrupted);
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0x8203, 0x8203, PM_REMOVE));
    EXPECT_EQ(message.wParam, WPARAM(5));
}

TEST_F(MenuTest, WithoutAMenuElementNothingIsShown) {
    Open("<skin><control name='Main'/></skin>");
    AddContactRows();
    EXPECT_EQ(m_menu.ShowMenu(m_skin, m_host, nullptr, false, 0), 0);
}

// Menus painted in the skin's plain look (fill, border, selection, lines, disabled and
// selected fonts) and with a box-control row look.
TEST_F(MenuTest, PaintedLooks) {
    Open("<skin><control name='Main'><fill color='#E0E0E0'/></control>"
         "<menu rect='20,0,200,0' margins='6,2' rowheight='28' border='2' round='8'>"
         "<fill color='#FFFFFF'/><font size='11' color='#202020'/><font name='Disabled' size='11' color='#A0A0A0'/>"
         "<font name='Selection' size='11' color='#FFFFFF'/><fill name='Selection' color='#2060C0'/>"
         "<pen name='Border' color='#404040'/><pen name='Lines' color='#C0C0C0'/></menu></skin>");
    AddContactRows();
    m_menu.ShownRows().rows[3]->flags |= MenuRowFlag::kDisabled;
    QueueKey(VK_DOWN);
    QueueKey(VK_DOWN);
    QueueCheck([this] { ExpectPaintedMatches("menu-plain.png"); });
    QueueKey(VK_ESCAPE);
    Show();
}

TEST_F(MenuTest, PaintedWithABoxRowLook) {
    Open("<skin><control name='Main'><fill color='#E0E0E0'/></control>"
         "<menu rect='20,0,200,0' rowheight='32'><boxctrl style='round'><fill name='Text' color='#FFFFFF'/>"
         "<fill name='TextFocus' color='#2060C0'/><fill name='header' color='#404040'/><font size='10' color='#202020'/></boxctrl>"
         "<control name='header' rect='0,0,0,36'/><pen name='Lines' color='#C0C0C0'/></menu></skin>");
    AddContactRows();
    QueueKey(VK_DOWN);
    QueueCheck([this] { ExpectPaintedMatches("menu-boxes.png"); });
    QueueKey(VK_ESCAPE);
    Show();
}

TEST_F(MenuTest, LongTextsAreCut) {
    Open(kPlainSkin);
    MenuRow* row = m_menu.AddRow(1, u"A text that is far longer than a menu row keeps", 0);
    EXPECT_EQ(row->text.size(), Menu::kMaxRowText);
}

} // namespace
