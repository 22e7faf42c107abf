// Filling a cached contact from the properties of its store item: the Facebook link, the
// default number, the phone keys with the keep-old-block rule, categories by whole names,
// the company and what a fill reports as changed.
#include "corvane/ContactFill.h"
#include "common/PhoneKey.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

using namespace corvane;
using common::ContactRecord;

namespace {

// A load list with the texts given by tag; every other property is missing.
class Props {
public:
    Props& Text(CEPROPID tag, std::u16string text) {
        m_texts[tag] = std::move(text);
        return *this;
    }
    Props& Smart(CEPROPID tag) {
        m_smart = tag;
        return *this;
    }
    const CEPROPVAL* Values() {
        for (WORD i = 0; i < kLoadSlots; ++i) {
            CEPROPVAL& value = m_values[i];
            value = CEPROPVAL{};
            value.propid = kContactLoadList[i];
            auto found = m_texts.find(value.propid);
            if (value.propid == PIMPR_SMARTPROP && m_smart)
                value.val.ulVal = m_smart;
            else if (found != m_texts.end())
                value.val.lpwstr = found->second.data();
            else
                value.wFlags = CEDB_PROPNOTFOUND;
        }
        return m_values;
    }

private:
    std::map<CEPROPID, std::u16string> m_texts;
    CEPROPID m_smart = 0;
    CEPROPVAL m_values[kLoadSlots];
};

class ContactFillTest : public ::testing::Test {
protected:
    ContactFillTest() {
        m_categories.Reset(u"All Categories", u"Favorites");
        m_companies.Reset(u"All Companies");
    }
    unsigned Fill(ContactRecord& record, Props& props) {
        ContactFill fill(m_categories, m_companies, 0, u"Unknown");
        return fill.Fill(record, props.Values());
    }
    CategoryList m_categories;
    CompanyList m_companies;
};

TEST_F(ContactFillTest, FacebookIdsTakeFifteenDigits) {
    struct Row {
        const char16_t* im1;
        const char16_t* im2;
        int64_t id;
    };
    const Row rows[] = {
        {u"FacebookID:100004123456789", nullptr, 100004123456789},
        {u"skype:someone", u"FacebookID:42", 42},
        {u"FacebookID", u"FacebookID:7", 7}, // no colon: the next field is tried
        {u"FacebookID:0", nullptr, 0},
        {u"FacebookID:-5", nullptr, 0},
        {u"FacebookID:99999999999999999999", nullptr, 0}, // does not fit: no link
        {u"Face:12", nullptr, 0},
        {nullptr, nullptr, 0},
    };
    for (const Row& row : rows) {
        Props props;
        if (row.im1)
            props.Text(PIMPR_IM1_ADDRESS, row.im1);
        if (row.im2)
            props.Text(PIMPR_IM2_ADDRESS, row.im2);
        EXPECT_EQ(ContactFill::FacebookId(props.Values() + kIm1), row.id)
            << std::string(row.im1 ? row.im1 : u"", row.im1 ? row.im1 + 10 : row.im1);
    }
}

TEST_F(ContactFillTest, TheDefaultNumberComesFromSmartPropElseTheFirstPhone) {
    ContactRecord record;
    Props props;
    props.Text(PIMPR_LAST_NAME, u"Smith")
        .Text(PIMPR_MOBILE_TELEPHONE_NUMBER, u"+44 7700 900123")
        .Text(PIMPR_BUSINESS_TELEPHONE_NUMBER, u"020 7946 0958")
        .Smart(PIMPR_BUSINESS_TELEPHONE_NUMBER);
    EXPECT_EQ(Fill(record, props), FillChange::kName | FillChange::kNumbers);
    EXPECT_EQ(record.primaryNumber, u"020 7946 0958");
    EXPECT_EQ(record.primaryKind, u'w');
    ASSERT_EQ(record.phoneKeys.size() > 2, true);
    EXPECT_EQ(record.phoneKeys[0], 2);
    EXPECT_EQ(record.phoneKeys[1], 1); // the work number is the block's second key
    const BYTE* work = common::KeyAt(record.phoneKeys.data(), record.phoneKeys.size(), 1);
    EXPECT_EQ(work[1], 2); // its type index

    // SMARTPROP naming a phone that is not there: the first present phone.
    Props other;
    other.Text(PIMPR_HOME_TELEPHONE_NUMBER, u"555 0100").Smart(PIMPR_CAR_TELEPHONE_NUMBER);
    ContactRecord second;
    Fill(second, other);
    EXPECT_EQ(second.primaryNumber, u"555 0100");
    EXPECT_EQ(second.primaryKind, u'h');
}

TEST_F(ContactFillTest, MatchingNumbersKeepTheOldBlock) {
    ContactRecord record;
    Props props;
    props.Text(PIMPR_MOBILE_TELEPHONE_NUMBER, u"+44 20 7946 0958")
        .Text(PIMPR_HOME_TELEPHONE_NUMBER, u"555 0100");
    Fill(record, props);
    std::vector<BYTE> old = record.phoneKeys;

    // Written differently, same numbers, another default: the old keys stay.
    Props same;
    same.Text(PIMPR_MOBILE_TELEPHONE_NUMBER, u"020 7946 0958")
        .Text(PIMPR_HOME_TELEPHONE_NUMBER, u"5550100")
        .Smart(PIMPR_HOME_TELEPHONE_NUMBER);
    EXPECT_EQ(Fill(record, same) & FillChange::kNumbers, 0u);
    EXPECT_EQ(record.phoneKeys.size(), old.size());
    EXPECT_TRUE(std::equal(old.begin() + 2, old.end(), record.phoneKeys.begin() + 2));
    EXPECT_EQ(record.phoneKeys[1], 1);
    EXPECT_EQ(record.primaryNumber, u"5550100");

    Props changed;
    changed.Text(PIMPR_MOBILE_TELEPHONE_NUMBER, u"+44 20 7946 0999");
    EXPECT_EQ(Fill(record, changed) & FillChange::kNumbers, FillChange::kNumbers);
    EXPECT_EQ(record.phoneKeys[0], 1);

    Props none;
    EXPECT_EQ(Fill(record, none) & FillChange::kNumbers, FillChange::kNumbers);
    EXPECT_TRUE(record.phoneKeys.empty());
    EXPECT_TRUE(record.primaryNumber.empty());
}

TEST_F(ContactFillTest, CategoriesMatchWholeNamesOnly) {
    ContactRecord family, fam;
    Props first;
    first.Text(PIMPR_CATEGORIES, u"Family, Favorites");
    Fill(family, first);
    Props second;
    second.Text(PIMPR_CATEGORIES, u"Fam,  Family");
    Fill(fam, second);
    ASSERT_EQ(family.categories.size(), 2u);
    EXPECT_EQ(family.categories[0]->name, u"Family");
    EXPECT_EQ(family.categories[1], &m_categories.At(1)); // the fixed "Favorites"
    ASSERT_EQ(fam.categories.size(), 2u);
    EXPECT_EQ(fam.categories[0]->name, u"Fam");
    EXPECT_EQ(fam.categories[1], family.categories[0]);
    EXPECT_EQ(m_categories.Size(), 4u);

    // A record that holds "Family" and now names "Fam" gets "Fam", not "Family".
    Props shorter;
    shorter.Text(PIMPR_CATEGORIES, u"Fam");
    Fill(family, shorter);
    ASSERT_EQ(family.categories.size(), 1u);
    EXPECT_EQ(family.categories[0]->name, u"Fam");

    // A refill by the record's own categories, and their removal.
    Props again;
    again.Text(PIMPR_CATEGORIES, u"Fam");
    Fill(fam, again);
    ASSERT_EQ(fam.categories.size(), 1u);
    EXPECT_EQ(fam.categories[0]->name, u"Fam");
    Props cleared;
    Fill(fam, cleared);
    EXPECT_TRUE(fam.categories.empty());
}

TEST_F(ContactFillTest, CompaniesAreSharedAndReported) {
    ContactRecord a, b;
    Props acme;
    acme.Text(PIMPR_COMPANY_NAME, u"Acme");
    EXPECT_EQ(Fill(a, acme) & FillChange::kCompany, FillChange::kCompany);
    Fill(b, acme);
    ASSERT_NE(a.company, nullptr);
    EXPECT_EQ(a.company, b.company);
    EXPECT_EQ(m_companies.Size(), 2u);
    EXPECT_EQ(Fill(a, acme) & FillChange::kCompany, 0u);
    Props none;
    EXPECT_EQ(Fill(a, none) & FillChange::kCompany, FillChange::kCompany);
    EXPECT_EQ(a.company, nullptr);
}

} // namespace
