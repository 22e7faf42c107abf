// The summary text of SIM entries and device contacts, its length limit, and the
// clipboard copy.
#include "ContactDevice.h"

#include "ce/user.h"
#include "corlist/contacts/ContactSummary.h"

#include <cstring>
#include <thread>

using namespace contacttest;
using common::ContactRecord;

namespace {

class ContactSummaryTest : public ContactDevice {};

TEST_F(ContactSummaryTest, SimEntryIsNameAndNumber) {
    ContactRecord* sam = AddSimEntry(3, "Sim Sam", "5550100");
    ASSERT_NE(sam, nullptr);
    EXPECT_EQ(corlist::ContactSummaryText(*m_core, *sam), u"Sim Sam:\n5550100\n");
}

TEST_F(ContactSummaryTest, DeviceContactListsPresentNumbersAndAddresses) {
    CEOID oid = AddContact("\"FILEAS=Lee, Ann\" COMPANY_NAME=Acme MOBILE_TELEPHONE_NUMBER=0711 "
                           "BUSINESS_TELEPHONE_NUMBER=0712 HOME2_TELEPHONE_NUMBER=0715 "
                           "CAR_TELEPHONE_NUMBER=0799 EMAIL1_ADDRESS=ann@example.com "
                           "EMAIL3_ADDRESS=lee@example.com");
    ContactRecord* ann = Record(oid);
    ASSERT_NE(ann, nullptr);
    EXPECT_EQ(corlist::ContactSummaryText(*m_core, *ann),
              u"Lee, Ann (Acme):\nM:0711\nW:0712\nH:0715\nann@example.com\nlee@example.com\n");

    oid = AddContact("\"FILEAS=Bare\" BUSINESS2_TELEPHONE_NUMBER=0713 HOME_TELEPHONE_NUMBER=0714");
    ContactRecord* bare = Record(oid);
    ASSERT_NE(bare, nullptr);
    EXPECT_EQ(corlist::ContactSummaryText(*m_core, *bare), u"Bare:\nW:0713\nH:0714\n");
}

TEST_F(ContactSummaryTest, LongTextKeepsWholeLinesOnly) {
    std::string local(200, 'x');
    CEOID oid = AddContact("FILEAS=Long MOBILE_TELEPHONE_NUMBER=0711 EMAIL1_ADDRESS=" + local +
                           "@a.example EMAIL2_ADDRESS=" + local + "@b.example EMAIL3_ADDRESS=" + local +
                           "@c.example");
    ContactRecord* record = Record(oid);
    ASSERT_NE(record, nullptr);
    std::u16string text = corlist::ContactSummaryText(*m_core, *record);
    std::u16string wide(local.begin(), local.end());
    EXPECT_EQ(text, u"Long:\nM:0711\n" + wide + u"@a.example\n" + wide + u"@b.example\n");
    EXPECT_LE(text.size(), corlist::kMaxSummaryText);
}

TEST(LimitLinesTest, CutsAtLinesAndNeverInsideASurrogatePair) {
    struct Case {
        std::u16string lines;
        size_t limit;
        std::u16string expected;
    };
    const Case cases[] = {
        {u"ab\ncd\n", 6, u"ab\ncd\n"},
        {u"ab\ncd\n", 5, u"ab\n"},
        {u"ab\ncd\n", 3, u"ab\n"},
        {u"abcdef\n", 4, u"abc\n"},
        // The cut would fall between the halves of U+1F600: the pair goes whole.
        {u"ab\U0001F600cd\n", 4, u"ab\n"},
        {u"a\U0001F600cd\n", 4, u"a\U0001F600\n"},
        {u"abc\n", 0, u""},
    };
    for (const Case& item : cases)
        EXPECT_EQ(corlist::LimitLines(item.lines, item.limit), item.expected) << item.limit;
}

TEST_F(ContactSummaryTest, CopiesTextToTheClipboard) {
    ASSERT_TRUE(corlist::CopyTextToClipboard(nullptr, u"Lee, Ann:\nM:0711\n"));
    ASSERT_TRUE(OpenClipboard(nullptr));
    auto* text = static_cast<const WCHAR*>(GetClipboardData(CF_UNICODETEXT));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(std::u16string(text), u"Lee, Ann:\nM:0711\n");
    CloseClipboard();
    // A clipboard another thread holds open is not taken.
    ASSERT_TRUE(OpenClipboard(nullptr));
    bool copied = true;
    std::thread other([&] { copied = corlist::CopyTextToClipboard(nullptr, u"x"); });
    other.join();
    CloseClipboard();
    EXPECT_FALSE(copied);
}

} // namespace
