// The frame on a device with the main program's caches: the page every start flag shows,
// typing that narrows the list, modes, and the updates deferred while the frame is behind
// another window.
#include "FrameDevice.h"

#include "common/Messages.h"
#include "corlist/contacts/ViewWord.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/TabControl.h"
#include "corlist/frame/MainPageTable.h"

#include "ce/user.h"

using namespace corlist;

namespace frametest {

class FrameTest : public FrameDevice {
protected:
    void SetUp() override {
        FrameDevice::SetUp();
        AddContact("FIRST_NAME=John LAST_NAME=Smith MOBILE_TELEPHONE_NUMBER=\"+44 20 7946 0958\"");
        AddContact("FIRST_NAME=Mary LAST_NAME=Johnson HOME_TELEPHONE_NUMBER=\"(212) 555-0199\" "
                   "CATEGORIES=Favorites");
        AddContact("FIRST_NAME=Ann LAST_NAME=Ajohn COMPANY_NAME=Contoso MOBILE_TELEPHONE_NUMBER=0123");
        Pump();
    }

    int SelectedTab() {
        TabControl* tabs = Frame().Page() ? Frame().Page()->Tabs() : nullptr;
        return tabs ? tabs->Selected() : -2;
    }
};

TEST_F(FrameTest, OpensOnThePageItsFlagsName) {
    const struct {
        DWORD flags;
        DWORD sendKeyAction;
        DWORD view;
        int tab;
        bool keypad;
    } kPages[] = {
        {0x0002, 1, View::kAllContacts, 1, false},
        {0x0004, 1, View::kCallHistory, 2, false},
        {0x0008, 1, View::kFavorites, 0, false},
        {0x0010, 1, View::kCallHistory, 2, true},
        {0x0100, 1, View::kSmsInbox, 3, false},
        {0x2000, 3, View::kFavorites, 0, false},
        {0x2000, 4, View::kAllContacts, 1, false},
        {0x2000, 7, View::kCallHistory, 2, true},
    };
    for (const auto& page : kPages) {
        SCOPED_TRACE(testing::Message() << std::hex << page.flags << " action " << page.sendKeyAction);
        m_core->SharedSettings().Record().sendKeyAction = page.sendKeyAction;
        ASSERT_NE(Open(page.flags), nullptr);
        EXPECT_EQ(Frame().View(), page.view);
        EXPECT_EQ(SelectedTab(), page.tab);
        EXPECT_EQ(Frame().KeypadShown(), page.keypad);
        Close();
        EXPECT_EQ(corlist::Frame::Current(), nullptr);
    }
}

TEST_F(FrameTest, DefaultPageIsTheLastMainViewAndViewsAreRemembered) {
    common::SettingsRecord& settings = m_core->SharedSettings().Record();
    settings.flags &= ~(common::SettingsFlag::kLastViewFavorites | common::SettingsFlag::kLastViewCallHistory);
    ASSERT_NE(Open(0), nullptr);
    EXPECT_EQ(Frame().View(), View::kAllContacts);
    SendMessageW(m_window, WM_COMMAND, TabCommand::kFavorites, 0);
    EXPECT_EQ(Frame().View(), View::kFavorites);
    EXPECT_TRUE(settings.flags & common::SettingsFlag::kLastViewFavorites);
    Close();
    ASSERT_NE(Open(0x4000), nullptr);
    EXPECT_EQ(Frame().View(), View::kFavorites);
    EXPECT_EQ(Rows(), std::vector<std::string>({"Johnson, Mary | (212) 555-0199"}));
    // A request that names no page leaves it as it is.
    PostMessageW(m_window, common::CRVM_SHOWPAGE, 0x0001, 0);
    PostMessageW(m_window, common::CRVM_SHOWPAGE, 0x0080, 0);
    Pump();
    EXPECT_EQ(Frame().View(), View::kFavorites);
}

TEST_F(FrameTest, TypedDigitsNarrowTheListAndShowTheNumber) {
    ASSERT_NE(Open(0x0002), nullptr);
    EXPECT_EQ(Rows().size(), 3u);
    Type("564");
    EXPECT_EQ(Frame().Number(), u"564");
    // Never called: in name order. Ajohn's name has no word starting with j-o-h.
    EXPECT_EQ(Rows(), std::vector<std::string>({"Johnson, Mary | (212) 555-0199", "Smith, John | +44 20 7946 0958"}));
    EXPECT_NE(UiLine(MainControl::kNumber, "text").find("\"564\""), std::string::npos);
    Type("9");
    EXPECT_TRUE(Rows().empty());
    Type("\b\b\b\b");
    EXPECT_EQ(Frame().Number(), u"");
    EXPECT_EQ(Rows().size(), 3u);
}

TEST_F(FrameTest, ModesSwapTheTabStripForTheirPane) {
    ASSERT_NE(Open(0x0002), nullptr);
    EXPECT_EQ(UiLine(MainControl::kTabs, "tab").find("hidden"), std::string::npos);
    SendMessageW(m_window, WM_COMMAND, 171, 0);
    EXPECT_EQ(Frame().Mode(), PageMode::kDelete);
    EXPECT_NE(UiLine(MainControl::kTabs, "tab").find("hidden"), std::string::npos);
    EXPECT_EQ(UiLine(MainControl::kEditMode, "pane").find("hidden"), std::string::npos);
    SendMessageW(m_window, WM_COMMAND, MainControl::kBack, 0);
    EXPECT_EQ(Frame().Mode(), PageMode::kBrowse);
    EXPECT_NE(UiLine(MainControl::kEditMode, "pane").find("hidden"), std::string::npos);
    // Leaving the favourites selection shows the favourites again.
    SendMessageW(m_window, WM_COMMAND, 176, 0);
    EXPECT_EQ(Frame().Mode(), PageMode::kFavoritesSelect);
    EXPECT_EQ(Frame().View(), View::kAllContacts);
    SendMessageW(m_window, WM_COMMAND, MainControl::kBack, 0);
    EXPECT_EQ(Frame().View(), View::kFavorites);
}

TEST_F(FrameTest, ChangesWhileBehindAnotherWindowApplyOnActivation) {
    ASSERT_NE(Open(0x0002), nullptr);
    EXPECT_TRUE(Frame().IsActive());
    Deactivate();
    EXPECT_FALSE(Frame().IsActive());
    AddContact("FIRST_NAME=Zoe LAST_NAME=Young MOBILE_TELEPHONE_NUMBER=0777");
    AddContact("FIRST_NAME=Bob LAST_NAME=Brown MOBILE_TELEPHONE_NUMBER=0778");
    Pump();
    EXPECT_TRUE(Frame().DeferredBits() & Deferred::kContactReload);
    EXPECT_EQ(Rows().size(), 3u);
    Activate();
    EXPECT_EQ(Frame().DeferredBits(), 0u);
    EXPECT_EQ(Rows().size(), 5u);
}

TEST_F(FrameTest, ContactChangesWhileActiveAreCoalescedIntoOneRebuild) {
    ASSERT_NE(Open(0x0002), nullptr);
    AddContact("FIRST_NAME=Zoe LAST_NAME=Young MOBILE_TELEPHONE_NUMBER=0777");
    AddContact("FIRST_NAME=Bob LAST_NAME=Brown MOBILE_TELEPHONE_NUMBER=0778");
    Pump();
    // The rebuild waits for the burst to settle.
    EXPECT_EQ(Rows().size(), 3u);
    PumpFor(400);
    EXPECT_EQ(Rows().size(), 5u);
    EXPECT_EQ(Frame().DeferredBits(), 0u);
}

TEST_F(FrameTest, CloseControlEndsTheFrameOnly) {
    ASSERT_NE(Open(0x0002), nullptr);
    SendMessageW(m_window, WM_COMMAND, MainControl::kClose, 0);
    Pump();
    EXPECT_FALSE(IsWindow(m_window));
    EXPECT_EQ(corlist::Frame::Current(), nullptr);
    ASSERT_NE(Open(0x0004), nullptr);
    EXPECT_EQ(Frame().View(), View::kCallHistory);
}

} // namespace frametest

namespace frametest {

TEST_F(FrameTest, SettingsChangesReachTheLetterBarAndASkinChangeReopensTheFrame) {
    common::SettingsRecord& settings = m_core->SharedSettings().Record();
    settings.flags |= common::SettingsFlag::kLetterBarVisible;
    ASSERT_NE(Open(0x0002), nullptr);
    EXPECT_EQ(UiLine(0, "letterbar").find("hidden"), std::string::npos);
    settings.flags &= ~common::SettingsFlag::kLetterBarVisible;
    SendMessageW(m_window, common::CRVM_SETTINGSCHANGED, 2, 0);
    EXPECT_NE(UiLine(0, "letterbar").find("hidden"), std::string::npos);
    // A new skin: the frame closes and the main thread is asked for a frame on the default page.
    SendMessageW(m_window, common::CRVM_SETTINGSCHANGED, 4, 0);
    MSG request{};
    ASSERT_TRUE(PeekMessageW(&request, nullptr, common::CRVM_OPENPAGE, common::CRVM_OPENPAGE, PM_REMOVE));
    EXPECT_EQ(request.wParam, 0x4000u);
    Pump();
    EXPECT_FALSE(IsWindow(m_window));
    EXPECT_EQ(corlist::Frame::Current(), nullptr);
}

} // namespace frametest

#include "../image/ImageFixtures.h"

namespace frametest {

// The face view: the loader thread fills the faces of the rows in sight, and the list
// is handed each one as the row's picture.
TEST_F(FrameTest, FacesOfTheRowsInSightAreLoadedAndHandedToTheList) {
    common::SettingsRecord& settings = m_core->SharedSettings().Record();
    settings.flags |= common::SettingsFlag::kFavoritesFaceView;
    common::ContactRecord* mary = Named(u"Johnson, Mary");
    ASSERT_NE(mary, nullptr);
    ASSERT_TRUE(StorePicture(*mary, imagetest::MakeJpeg(imagetest::JpegSpec{})));
    Pump();
    ASSERT_NE(Open(0x0008), nullptr);
    PumpFor(500);
    ASSERT_EQ(Frame().Model().Count(), 1u);
    NMLVDISPINFOW info{};
    info.hdr.hwndFrom = m_window;
    info.hdr.idFrom = MainControl::kList;
    info.hdr.code = LVN_GETDISPINFOW;
    info.item.mask = LVIF_PARAM;
    info.item.iItem = 0;
    SendMessageW(m_window, WM_NOTIFY, MainControl::kList, reinterpret_cast<LPARAM>(&info));
    EXPECT_NE(info.item.lParam, 0);
    // A contact without a picture gets none: the grid's icon stands in.
    SendMessageW(m_window, WM_COMMAND, TabCommand::kContacts, 0);
    PumpFor(500);
    int smith = Frame().Model().IndexOf(Named(u"Smith, John"));
    ASSERT_GE(smith, 0);
    info.item.iItem = smith;
    info.item.lParam = 1;
    SendMessageW(m_window, WM_NOTIFY, MainControl::kList, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.item.lParam, 0);
}

} // namespace frametest

namespace frametest {

TEST_F(FrameTest, ATypedNumberWithoutMatchesIsStoredAsANewContact) {
    ASSERT_NE(Open(0x0002), nullptr);
    Type("0777123");
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(UiLine(MainControl::kNewContact, "pane").find("hidden"), std::string::npos);
    SendMessageW(m_window, WM_COMMAND, MainControl::kSave, 0);
    PumpFor(400);
    // The store has it, and the search that is still on finds it.
    std::vector<std::string> rows = Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_NE(rows[0].find("0777123"), std::string::npos);
    EXPECT_NE(UiLine(MainControl::kNewContact, "pane").find("hidden"), std::string::npos);
}

} // namespace frametest
