// The keypad search over contacts: what is found and how, the order by last call, narrowing
// that keeps the order, and the matched numbers shown instead of the primary one.
#include "common/ContactRecord.h"
#include "common/PhoneKey.h"
#include "corlist/contacts/ContactSearch.h"
#include "support/TestDevice.h"

#include <deque>
#include <string>
#include <vector>

using corlist::ContactSearch;
using corlist::SearchRow;
namespace MatchKind = corlist::MatchKind;

namespace {

class ContactSearchTest : public testsupport::TestDevice {
protected:
    common::ContactRecord& Add(const std::u16string& name, DWORD lastCall = 0, const std::u16string* company = nullptr,
                               std::vector<std::u16string> numbers = {}) {
        common::ContactRecord& record = m_records.emplace_back();
        record.displayName = name;
        record.lastCall = lastCall;
        record.company = company;
        common::PhoneKeyBlock block;
        for (const std::u16string& number : numbers)
            block.Append(common::PhoneKey(number, 1)); // 1: the mobile number's type
        record.phoneKeys = block.Take();
        SearchRow row;
        row.contact = &record;
        m_source.push_back(row);
        return record;
    }
    std::vector<std::u16string> Names() const {
        std::vector<std::u16string> names;
        for (const SearchRow& row : m_search.Result())
            names.push_back(row.contact ? row.contact->displayName : std::u16string(row.name));
        return names;
    }

    std::deque<common::ContactRecord> m_records;
    std::vector<SearchRow> m_source;
    ContactSearch m_search;
};

TEST_F(ContactSearchTest, NamesAreFoundByWordAndOrderedByLastCall) {
    Add(u"Ajohn Doe");
    Add(u"John Smith", 100);
    Add(u"Mary Johnson", 300);
    Add(u"Johanna", 0);
    Add(u"Bob", 500);
    EXPECT_EQ(m_search.Search(m_source, u"564", false, false), 3u);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Mary Johnson", u"John Smith", u"Johanna"}));
    EXPECT_EQ(m_search.Result()[0].matchKind, MatchKind::kName);
    EXPECT_EQ(m_search.Result()[0].matchPosition, 5u);
}

TEST_F(ContactSearchTest, TiesKeepTheirOrderAndNeverCalledComeLast) {
    Add(u"Anna", 0);
    Add(u"Bert", 200);
    Add(u"Carl", 200);
    Add(u"Adam", 0);
    m_search.Search(m_source, u"2", false, false);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Bert", u"Carl", u"Anna", u"Adam"}));
}

TEST_F(ContactSearchTest, NarrowingFiltersTheResultWithoutReordering) {
    Add(u"Anna", 0);
    Add(u"Bert", 50);
    Add(u"Carl", 100);
    m_search.Search(m_source, u"2", false, false);
    ASSERT_EQ(Names(), (std::vector<std::u16string>{u"Carl", u"Bert", u"Anna"}));
    // Only "Carl" has a second letter of 2abc; "Cat" joined the source after the search.
    Add(u"Cat", 999); // not in the result: narrowing does not look at the source
    EXPECT_EQ(m_search.Search(m_source, u"22", true, false), 1u);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Carl"}));
    EXPECT_EQ(m_search.Search(m_source, u"22", false, false), 2u); // a fresh search does
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Cat", u"Carl"}));
}

TEST_F(ContactSearchTest, CompaniesMatchUnlessTheNameAlreadyHoldsThem) {
    std::u16string acme = u"Acme Widgets";
    Add(u"Zoe", 0, &acme);
    EXPECT_EQ(m_search.Search(m_source, u"943", false, false), 1u); // "wid..."
    EXPECT_EQ(m_search.Result()[0].matchKind, MatchKind::kCompany);
    EXPECT_EQ(m_search.Result()[0].matchPosition, 5u);
    EXPECT_EQ(m_search.Search(m_source, u"943", false, true), 0u);
}

TEST_F(ContactSearchTest, ANumberMatchShowsThatNumberUntilTheNextSearch) {
    common::ContactRecord& uk = Add(u"Zed", 0, nullptr, {u"0171 555 1234", u"+44 20 7946 0958"});
    EXPECT_EQ(m_search.Search(m_source, u"020", false, false), 1u);
    EXPECT_EQ(uk.searchMatch, u"+442079460958");
    EXPECT_EQ(uk.searchKind, common::kPhoneTypes[1].kind);
    EXPECT_EQ(m_search.Result()[0].matchKind, MatchKind::kText);
    EXPECT_EQ(m_search.Search(m_source, u"7946", false, false), 0u);
    EXPECT_TRUE(uk.searchMatch.empty());
    EXPECT_EQ(m_search.Search(m_source, u"0171", false, false), 1u);
    EXPECT_EQ(uk.searchMatch, u"1715551234"); // rebuilt from the key: the trunk 0 is not kept
    m_search.Clear();
    EXPECT_TRUE(uk.searchMatch.empty());
    EXPECT_FALSE(m_search.IsActive());
}

// A row without a contact stays where it came; contacts found after it are ordered among
// themselves only.
TEST_F(ContactSearchTest, RowsWithoutAContactStayInPlace) {
    Add(u"Abe", 10);
    SearchRow plain;
    plain.name = u"Alpha";
    m_source.push_back(plain);
    Add(u"Amy", 0);
    Add(u"Ann", 50);
    m_search.Search(m_source, u"2", false, false);
    EXPECT_EQ(Names(), (std::vector<std::u16string>{u"Abe", u"Alpha", u"Ann", u"Amy"}));
}

TEST_F(ContactSearchTest, RowsWithATextOfTheirOwnMatchItFirst) {
    SearchRow call;
    call.name = u"Unknown";
    call.text = u"+44 20 7946 0958";
    m_source.push_back(call);
    Add(u"Wendy");
    EXPECT_EQ(m_search.Search(m_source, u"44", false, false), 1u);
    EXPECT_EQ(m_search.Result()[0].matchKind, MatchKind::kText);
    EXPECT_EQ(m_search.Result()[0].matchPosition, DWORD((2 << 8) | 1));
    EXPECT_EQ(m_search.Search(m_source, u"0123456789012345678901234567890123456789", false, false), 0u);
    EXPECT_EQ(m_search.Text().size(), ContactSearch::kMaxSearchText);
}

} // namespace
