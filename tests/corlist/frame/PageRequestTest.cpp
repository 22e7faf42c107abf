// Which page a request shows: every start flag, every Send key action, and the tab of the
// last main view for the default page.
#include "corlist/contacts/ViewWord.h"
#include "corlist/frame/PageRequest.h"

#include <gtest/gtest.h>

using namespace corlist;

namespace {

common::SettingsRecord WithSendKey(DWORD action) {
    common::SettingsRecord settings;
    settings.sendKeyAction = action;
    return settings;
}

struct NamedPage {
    DWORD flags;
    UINT tab;
    DWORD view;
    bool keypad;
};

} // namespace

TEST(PageRequestTest, NamedPagesShowTheirTabAndView) {
    const NamedPage kPages[] = {
        {0x0002, TabCommand::kContacts, View::kAllContacts, false},
        {0x0004, TabCommand::kHistory, View::kCallHistory, false},
        {0x0008, TabCommand::kFavorites, View::kFavorites, false},
        {0x0010, TabCommand::kHistory, View::kCallHistory, true},
        {0x0100, TabCommand::kMessages, View::kSmsInbox, false},
        // Bits above the low 16 (a key to press, 0x80) do not change the page.
        {0x00410002, TabCommand::kContacts, View::kAllContacts, false},
    };
    common::SettingsRecord settings;
    for (const NamedPage& page : kPages) {
        PageChoice choice = ChoosePage(page.flags, settings);
        SCOPED_TRACE(page.flags);
        EXPECT_EQ(choice.kind, PageChoice::Kind::kView);
        EXPECT_EQ(choice.tabCommand, page.tab);
        EXPECT_EQ(choice.view, page.view);
        EXPECT_EQ(choice.keypad, page.keypad);
    }
}

TEST(PageRequestTest, SendKeyActionsNameAPageAndUnknownOnesTheKeypad) {
    const struct {
        DWORD action;
        UINT tab;
        bool keypad;
    } kActions[] = {
        {0, TabCommand::kHistory, true},   {1, TabCommand::kHistory, true},   {2, TabCommand::kHistory, false},
        {3, TabCommand::kFavorites, false}, {4, TabCommand::kContacts, false}, {5, TabCommand::kMessages, false},
        {7, TabCommand::kHistory, true},   {0xFFFFFFFF, TabCommand::kHistory, true},
    };
    for (const auto& action : kActions) {
        SCOPED_TRACE(action.action);
        PageChoice choice = ChoosePage(0x2000, WithSendKey(action.action));
        EXPECT_EQ(choice.kind, PageChoice::Kind::kView);
        EXPECT_EQ(choice.tabCommand, action.tab);
        EXPECT_EQ(choice.keypad, action.keypad);
    }
}

TEST(PageRequestTest, DefaultPageIsTheTabOfTheLastMainView) {
    common::SettingsRecord settings;
    settings.flags = 0;
    for (DWORD flags : {0x0u, 0x4000u}) {
        EXPECT_EQ(ChoosePage(flags, settings).tabCommand, TabCommand::kContacts);
        settings.flags = common::SettingsFlag::kLastViewCallHistory;
        EXPECT_EQ(ChoosePage(flags, settings).tabCommand, TabCommand::kHistory);
        // Favourites win over the call history when both bits are set.
        settings.flags |= common::SettingsFlag::kLastViewFavorites;
        PageChoice choice = ChoosePage(flags, settings);
        EXPECT_EQ(choice.kind, PageChoice::Kind::kLastView);
        EXPECT_EQ(choice.tabCommand, TabCommand::kFavorites);
        settings.flags = 0;
    }
}

TEST(PageRequestTest, FlagsThatNameNoPageLeaveItAsItIs) {
    common::SettingsRecord settings;
    for (DWORD flags : {0x0001u, 0x0080u, 0x0006u, 0x8000u, 0x1000u})
        EXPECT_EQ(ChoosePage(flags, settings).kind, PageChoice::Kind::kUnchanged) << flags;
}

TEST(PageRequestTest, TabsKeepTheStripOrder) {
    EXPECT_EQ(TabIndex(TabCommand::kFavorites), 0);
    EXPECT_EQ(TabIndex(TabCommand::kContacts), 1);
    EXPECT_EQ(TabIndex(TabCommand::kHistory), 2);
    EXPECT_EQ(TabIndex(TabCommand::kMessages), 3);
    EXPECT_EQ(TabIndex(1234), -1);
}

TEST(ViewWordTest, TitlesFollowTheView) {
    const struct {
        DWORD view;
        UINT title;
    } kTitles[] = {
        {View::kAllContacts, 177},
        {View::kCategoryList, 178},
        {View::kCompanyList, 179},
        {View::kFacebookFriends, 506},
        {View::kFavorites, 206},
        {View::kCallHistory, 137},
        {View::kCallHistory | ViewBit::kIncoming, 5039},
        {View::kCallHistory | ViewBit::kOutgoing | ViewBit::kGrouped, 5040},
        {View::kCallHistory | ViewBit::kMissed, 5041},
        {View::kSmsInbox, 350},
        {View::kSmsInbox | 1u << ViewBit::kFolderShift, 351},
        {View::kSmsInbox | 2u << ViewBit::kFolderShift, 354},
        {View::kSmsInbox | 3u << ViewBit::kFolderShift, 353},
        {View::kSmsInbox | 4u << ViewBit::kFolderShift, 352},
        {View::kSmsInbox | 5u << ViewBit::kFolderShift, 350}, // folders count modulo 5
        {View::kFacebookMessages, 510},
        {View::kCategoryContacts, 0},
        {View::kCompanyContacts, 0},
    };
    for (const auto& title : kTitles)
        EXPECT_EQ(ViewTitle(title.view), title.title) << std::hex << title.view;
    EXPECT_TRUE(IsFavoritesView(View::kFavorites));
    EXPECT_FALSE(IsFavoritesView(View::kCategoryContacts));
    EXPECT_TRUE(IsContactView(View::kFavorites));
    EXPECT_FALSE(IsContactView(View::kCategoryList));
}
