// Category strings, dates and the file-as text of contacts.
#include "ce/pimstore.h"
#include "pim/ContactCategories.h"
#include "pim/ContactDates.h"
#include "pim/ContactFileAs.h"

#include <gtest/gtest.h>

namespace {

using platform::ContactCategories;
using platform::ContactDates;
using platform::ContactFileAs;
using platform::ContactRecord;

TEST(ContactCategories, AddAndRemoveKeepOneCommaSeparatedString) {
    struct Case {
        const char16_t* before;
        bool add;
        const char16_t* name;
        bool changed;
        const char16_t* after;
    };
    const Case cases[] = {
        {u"", true, u"Favorites", true, u"Favorites"},
        {u"Family", true, u"Favorites", true, u"Family, Favorites"},
        {u"Family,Favorites", true, u"Favorites", false, u"Family,Favorites"},
        {u" Family ,  Work", true, u"Friends", true, u"Family, Work, Friends"},
        {u"Family, Favorites", false, u"Family", true, u"Favorites"},
        {u"Family, Favorites", false, u"Fav", false, u"Family, Favorites"},
        {u"Favorites", false, u"Favorites", true, u""},
        {u"A,,B, ", false, u"A", true, u"B"},
    };
    for (const Case& c : cases) {
        std::u16string categories = c.before;
        bool changed = c.add ? ContactCategories::Add(categories, c.name)
                             : ContactCategories::Remove(categories, c.name);
        EXPECT_EQ(changed, c.changed);
        EXPECT_EQ(categories, c.after);
    }
}

TEST(ContactDates, ParseAndFormat) {
    struct Case {
        const char* text;
        bool ok;
        const char* formatted;
    };
    const Case cases[] = {
        {"1601-01-01", true, "1601-01-01"},
        {"1980-04-15", true, "1980-04-15"},
        {"19800415", true, "1980-04-15"},
        {"2000-02-29", true, "2000-02-29"},
        {"1900-02-29", false, ""},
        {"1980-04-31", false, ""},
        {"1980-13-01", false, ""},
        {"1600-12-31", false, ""},
        {"1980-04-15T10:30:05Z", true, "1980-04-15T10:30:05"},
        {"19800415T103005", true, "1980-04-15T10:30:05"},
        {"1980-04-15T24:00:00", false, ""},
        {"1980-04-15 ", false, ""},
        {"1980-4-15", false, ""},
        {"", false, ""},
    };
    for (const Case& c : cases) {
        uint64_t fileTime = 0;
        EXPECT_EQ(ContactDates::Parse(c.text, fileTime), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(ContactDates::Format(fileTime), c.formatted) << c.text;
        }
    }
}

TEST(ContactFileAs, FollowsTheNamesUntilSetToSomethingElse) {
    ContactRecord stored;
    stored.values[PIMPR_FIRST_NAME] = std::u16string(u"Ann");
    ContactFileAs::Update(stored, nullptr);
    EXPECT_EQ(*stored.Text(PIMPR_FILEAS), u"Ann");
    ContactRecord renamed = stored;
    renamed.values[PIMPR_LAST_NAME] = std::u16string(u"Baker");
    ContactFileAs::Update(renamed, &stored);
    EXPECT_EQ(*renamed.Text(PIMPR_FILEAS), u"Baker, Ann");
    ContactRecord chosen = renamed;
    chosen.values[PIMPR_FILEAS] = std::u16string(u"Annie");
    ContactFileAs::Update(chosen, &renamed);
    ContactRecord later = chosen;
    later.values[PIMPR_LAST_NAME] = std::u16string(u"Smith");
    ContactFileAs::Update(later, &chosen);
    EXPECT_EQ(*later.Text(PIMPR_FILEAS), u"Annie");
    ContactRecord company;
    company.values[PIMPR_COMPANY_NAME] = std::u16string(u"City Taxi");
    ContactFileAs::Update(company, nullptr);
    EXPECT_EQ(*company.Text(PIMPR_FILEAS), u"City Taxi");
}

} // namespace
