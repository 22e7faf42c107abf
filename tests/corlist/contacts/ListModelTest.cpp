// The list model over a real core object: the list of every view word (filters by category,
// company and favourites, Facebook-linked contacts, filters that fall back), the call kind
// filters, the search over the shown list, narrowing, Reload with a search on, Forget.
#include "ModelDevice.h"

#include "common/CallLogEntry.h"

using namespace corlist;
using modeltest::Names;

namespace {

using Strings = std::vector<std::string>;

class ListModelTest : public modeltest::ModelDevice {
protected:
    // Four contacts: display names "Berg, Anna" ... in name order.
    void AddPeople() {
        AddContact("FIRST_NAME=Anna LAST_NAME=Berg MOBILE_TELEPHONE_NUMBER=5550100 "
                   "\"CATEGORIES=Family, Favorites\" COMPANY_NAME=Acme IM1_ADDRESS=Facebook:1001");
        AddContact("FIRST_NAME=Carl LAST_NAME=Dahl MOBILE_TELEPHONE_NUMBER=+441632960001 CATEGORIES=Work "
                   "COMPANY_NAME=Acme");
        AddContact("FIRST_NAME=Eva LAST_NAME=Falk HOME_TELEPHONE_NUMBER=020-7946-0958 COMPANY_NAME=Beta "
                   "IM2_ADDRESS=Facebook:2002");
        AddContact("FIRST_NAME=Olof LAST_NAME=Nord MOBILE_TELEPHONE_NUMBER=5550199");
    }
};

const Strings kEveryone = {"Berg, Anna", "Dahl, Carl", "Falk, Eva", "Nord, Olof"};

TEST_F(ListModelTest, EveryViewWordLoadsItsList) {
    AddPeople();
    OpenStores();
    const struct {
        DWORD view;
        const char16_t* filter;
        Strings names;
        DWORD shown; // View() after the load
        bool derived;
    } cases[] = {
        {0x0001, u"", kEveryone, 0x0001, false},
        {0x1001 | 0x1000000, u"Work", {"Dahl, Carl"}, 0x1001 | 0x1000000, true},
        {0x1001 | 0x1000000, u"Family", {"Berg, Anna"}, 0x1001 | 0x1000000, true},
        {0x1001 | 0x2000000, u"Acme", {"Berg, Anna", "Dahl, Carl"}, 0x1001 | 0x2000000, true},
        {0x1001 | 0x2000000, u"Beta", {"Falk, Eva"}, 0x1001 | 0x2000000, true},
        // The favourites are entry 1 of the category list, whatever the filter says.
        {0x4000000 | 0x1001, u"", {"Berg, Anna"}, 0x4000000 | 0x1001, true},
        {0x0011, u"", {"Berg, Anna", "Falk, Eva"}, 0x0011, false},
        // Filters that cannot be applied: all contacts, filter bits cleared.
        {0x1001 | 0x1000000, u"Nobody", kEveryone, 0x0001, false},
        {0x1001 | 0x1000000, u"All Categories", kEveryone, 0x0001, false},
        {0x1001 | 0x2000000, u"", kEveryone, 0x0001, false},
        {0x1001 | 0x2000000, u"All Companies", kEveryone, 0x0001, false},
        {0x1001, u"Work", kEveryone, 0x0001, false},
        {0x0002, u"", {"All Categories", "Favorites", "Family", "Work"}, 0x0002, false},
        {0x0008, u"", {"All Companies", "Acme", "Beta"}, 0x0008, false},
        // Words no list knows show all contacts.
        {0x0040, u"", kEveryone, 0x0001, false},
        {0x0000, u"", kEveryone, 0x0001, false},
    };
    ListModel model(*m_core);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.view << " " << modeltest::Narrow(c.filter));
        EXPECT_EQ(model.Load(c.view, c.filter), c.names.size());
        EXPECT_EQ(Names(model), c.names);
        EXPECT_EQ(model.View(), c.shown);
        EXPECT_EQ(model.ShowsDerivedList(), c.derived);
        EXPECT_EQ(model.IsContactView(), (c.shown & 0xF) == 0x0001);
    }
}

TEST_F(ListModelTest, CallHistoryAndItsKindFilters) {
    AddPeople();
    AddCall("5550100 in 2026-03-01T10:00:00 60");
    AddCall("5550111 out 2026-03-01T11:00:00 30");
    AddCall("5550122 missed 2026-03-01T12:00:00 0");
    AddCall("- in 2026-03-01T13:00:00 10");
    AddCall("5550133 out 2026-03-01T14:00:00 0");
    OpenStores();
    const struct {
        DWORD view;
        Strings numbers;
        DWORD shown;
        bool derived;
    } cases[] = {
        {0x0004, {"5550133", "Unknown", "5550122", "5550111", "5550100"}, 0x0004, false},
        {0x0004 | 0x10000, {"Unknown", "5550100"}, 0x10004, true},
        {0x0004 | 0x20000, {"5550133", "5550111"}, 0x20004, true},
        {0x0004 | 0x40000, {"5550122"}, 0x40004, true},
        {0x0004 | 0x30000, {"5550133", "Unknown", "5550111", "5550100"}, 0x30004, true},
        // Grouping by contact is not built: the plain call log, and the word says so.
        {0x0004 | 0x4000, {"5550133", "Unknown", "5550122", "5550111", "5550100"}, 0x0004, false},
    };
    ListModel model(*m_core);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.view);
        EXPECT_EQ(model.Load(c.view), c.numbers.size());
        EXPECT_EQ(Names(model), c.numbers);
        EXPECT_EQ(model.View(), c.shown);
        EXPECT_EQ(model.ShowsDerivedList(), c.derived);
        EXPECT_FALSE(model.IsContactView());
    }
    // The row names its call and the call's contact.
    model.Load(0x0004);
    const ListRow& last = model.Row(4);
    EXPECT_EQ(last.kind, RowKind::kCall);
    EXPECT_EQ(last.contact, Named("Berg, Anna"));
    // Message folders are not read yet: no rows, the folder kept in the word.
    EXPECT_EQ(model.Load(0x0020 | 0x20000), 0u);
    EXPECT_EQ(model.View(), 0x20020u);
}

TEST_F(ListModelTest, SearchRunsOverTheShownList) {
    AddPeople();
    AddCall("5550100 in 2026-03-01T10:00:00 60");
    AddCall("5550199 in 2026-03-01T11:00:00 20");
    AddCall("5559876 missed 2026-03-01T12:00:00 0");
    OpenStores();
    ListModel model(*m_core);
    const struct {
        DWORD view;
        const char16_t* filter;
        const char16_t* typed;
        Strings found;
    } cases[] = {
        {0x0001, u"", u"32", {"Dahl, Carl", "Falk, Eva"}}, // "Da" and "Fa"
        {0x1001 | 0x1000000, u"Work", u"32", {"Dahl, Carl"}},
        {0x1001 | 0x2000000, u"Beta", u"32", {"Falk, Eva"}},
        {0x0011, u"", u"32", {"Falk, Eva"}}, // Facebook friends only
        {0x0002, u"", u"3", {"Favorites", "Family"}},
        {0x0008, u"", u"2", {"All Companies", "Acme", "Beta"}},
        {0x0004, u"", u"5559", {"5559876"}},
        {0x0004 | 0x10000, u"", u"555", {"5550199", "5550100"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << std::hex << c.view << " " << modeltest::Narrow(c.typed));
        model.Load(c.view, c.filter);
        DWORD view = model.View();
        EXPECT_EQ(model.Search(c.typed, false), c.found.size());
        EXPECT_EQ(Names(model), c.found);
        EXPECT_EQ(model.View(), view | ViewBit::kSearch);
        EXPECT_EQ(model.SearchText(), c.typed);
    }
    // A call row matches by its number, as a text of its own, from its start only.
    model.Load(0x0004);
    ASSERT_EQ(model.Search(u"5559", false), 1u);
    EXPECT_EQ(model.Row(0).matchKind, MatchKind::kText);
    EXPECT_EQ(model.Row(0).matchPosition, 4u << 8);
    EXPECT_EQ(model.Search(u"9876", false), 0u);
    // Calls keep the history's order, whatever their contacts' last calls; a call matches
    // by its contact's name too.
    Named("Berg, Anna")->lastCall = 900;
    Named("Nord, Olof")->lastCall = 100;
    EXPECT_EQ(model.Search(u"555", false), 3u);
    EXPECT_EQ(Names(model), (Strings{"5559876", "5550199", "5550100"}));
    ASSERT_EQ(model.Search(u"6", false), 1u); // Nord, Olof
    EXPECT_EQ(model.Row(0).contact, Named("Nord, Olof"));
    EXPECT_EQ(model.Row(0).matchKind, MatchKind::kName);
    // Null or empty clears: the list is shown again.
    EXPECT_EQ(model.Search(nullptr, false), 3u);
    EXPECT_FALSE(model.IsSearching());
    EXPECT_EQ(model.View(), 0x0004u);
    model.Search(u"9", false);
    EXPECT_EQ(model.Search(u"", true), 3u);
    EXPECT_EQ(model.SearchText(), u"");
    // Loading another view ends the search.
    model.Search(u"9", false);
    model.Load(0x0001);
    EXPECT_FALSE(model.IsSearching());
    EXPECT_EQ(model.Count(), 4u);
}

TEST_F(ListModelTest, CompanyMatchAndCompanyMode) {
    AddPeople();
    OpenStores();
    ListModel model(*m_core);
    model.Load(0x0001);
    // "22" spells "Ac" of Anna's company and "Ca" of Carl's first name.
    EXPECT_EQ(model.Search(u"22", false), 2u);
    EXPECT_EQ(Names(model), (Strings{"Berg, Anna", "Dahl, Carl"}));
    EXPECT_EQ(model.Row(0).matchKind, MatchKind::kCompany);
    EXPECT_EQ(model.Row(1).matchKind, MatchKind::kName);
    EXPECT_EQ(model.Row(1).matchPosition, 6u);
    // With the company in the display name the separate company match is not tried.
    m_core->SharedSettings().Record().displayName = 4;
    EXPECT_EQ(model.Search(u"22", false), 1u);
    EXPECT_EQ(Names(model), (Strings{"Dahl, Carl"}));
}

TEST_F(ListModelTest, NarrowingKeepsTheOrderAndOnlyNarrowsLongerTexts) {
    AddPeople();
    OpenStores();
    ListModel model(*m_core);
    model.Load(0x0001);
    Named("Falk, Eva")->lastCall = 500;
    Named("Dahl, Carl")->lastCall = 900;
    // "3" finds Dahl and Falk/Eva, newest call first.
    ASSERT_EQ(model.Search(u"3", false), 2u);
    EXPECT_EQ(Names(model), (Strings{"Dahl, Carl", "Falk, Eva"}));
    // Calls change, but narrowing keeps the shown order.
    Named("Falk, Eva")->lastCall = 1000;
    ASSERT_EQ(model.Search(u"32", true), 2u);
    EXPECT_EQ(Names(model), (Strings{"Dahl, Carl", "Falk, Eva"}));
    // A fresh search of the same text orders again.
    ASSERT_EQ(model.Search(u"32", false), 2u);
    EXPECT_EQ(Names(model), (Strings{"Falk, Eva", "Dahl, Carl"}));
    // A shorter text (a deleted key) is searched afresh even when asked to narrow.
    ASSERT_EQ(model.Search(u"325", true), 1u);
    EXPECT_EQ(model.Search(u"3", true), 2u);
    EXPECT_EQ(model.Search(u"2", true), 3u); // Berg/Anna, Dahl/Carl, Falk (Acme, Beta)
}

TEST_F(ListModelTest, ReloadReadsTheCachesAgainAndKeepsTheSearch) {
    AddPeople();
    OpenStores();
    ListModel model(*m_core);
    model.Load(0x1001 | 0x2000000, u"Acme");
    ASSERT_EQ(model.Search(u"3", false), 1u); // Dahl
    AddContact("FIRST_NAME=Dora LAST_NAME=Ek COMPANY_NAME=Acme");
    AddContact("FIRST_NAME=Dirk LAST_NAME=Ek COMPANY_NAME=Beta");
    Pump();
    model.Reload();
    EXPECT_TRUE(model.IsSearching());
    EXPECT_EQ(model.SearchText(), u"3");
    EXPECT_EQ(model.View(), 0x1001u | 0x2000000u | ViewBit::kSearch);
    EXPECT_EQ(Names(model), (Strings{"Dahl, Carl", "Ek, Dora"}));
    model.Search(nullptr, false);
    EXPECT_EQ(Names(model), (Strings{"Berg, Anna", "Dahl, Carl", "Ek, Dora"}));
}

TEST_F(ListModelTest, ForgetDropsTheRowsOfARemovedRecord) {
    AddPeople();
    OpenStores();
    ListModel model(*m_core);
    model.Load(0x0001);
    common::ContactRecord* carl = Named("Dahl, Carl");
    common::ContactRecord* eva = Named("Falk, Eva");
    EXPECT_EQ(model.IndexOf(carl), 1);
    EXPECT_EQ(model.IndexOf(nullptr), -1);
    // In a search result: the rows after it still name their own records.
    ASSERT_EQ(model.Search(u"3", false), 2u);
    model.Forget(carl);
    EXPECT_EQ(model.IndexOf(carl), -1);
    EXPECT_EQ(Names(model), (Strings{"Falk, Eva"}));
    EXPECT_EQ(model.IndexOf(eva), 0);
    // Narrowing after it reads the shortened list.
    EXPECT_EQ(model.Search(u"32", true), 1u);
    model.Search(nullptr, false);
    EXPECT_EQ(Names(model), (Strings{"Berg, Anna", "Falk, Eva", "Nord, Olof"}));
    EXPECT_EQ(model.IndexOf(eva), 1);
    // A fresh search over the list no longer finds it.
    EXPECT_EQ(model.Search(u"32", false), 1u);
    // A record not shown changes nothing.
    model.Forget(carl);
    EXPECT_EQ(model.Count(), 1u);
}

TEST_F(ListModelTest, NumberMatchShowsTheMatchedNumberUntilTheNextSearch) {
    AddPeople();
    OpenStores();
    ListModel model(*m_core);
    model.Load(0x0001);
    common::ContactRecord* eva = Named("Falk, Eva");
    ASSERT_EQ(model.Search(u"020", false), 1u);
    EXPECT_EQ(model.Row(0).contact, eva);
    EXPECT_EQ(model.Row(0).matchKind, MatchKind::kText);
    // The number as its key holds it: the trunk 0 is not part of it.
    EXPECT_EQ(eva->searchMatch, u"2079460958");
    EXPECT_EQ(eva->searchKind, u'h');
    model.Search(u"555", false);
    EXPECT_EQ(eva->searchMatch, u"");
    model.Search(u"44", false);
    EXPECT_EQ(Named("Dahl, Carl")->searchMatch, u"+441632960001");
    model.Load(0x0001);
    EXPECT_EQ(Named("Dahl, Carl")->searchMatch, u"");
}

} // namespace
