// Contact operations against the device's contact store through the main program's
// cache: favourites, the default number, the first e-mail address, tagged messaging
// values and the ring tone with its outcome message.
#include "ContactDevice.h"

#include "ce/user.h"
#include "corlist/contacts/ContactAccess.h"

#include <optional>
#include <utility>

using namespace contacttest;
using common::ContactRecord;
using corlist::ContactAccess;

namespace {

class ContactAccessTest : public ContactDevice {
protected:
    void SetUp() override {
        ContactDevice::SetUp();
        m_access = std::make_unique<ContactAccess>(*m_core, u"Favorites");
    }
    void TearDown() override {
        m_access.reset();
        ContactDevice::TearDown();
    }
    // The IM fields of a stored contact.
    std::vector<std::string> Ims(CEOID oid) {
        auto stored = Stored(oid);
        return {stored["IM1_ADDRESS"], stored["IM2_ADDRESS"], stored["IM3_ADDRESS"]};
    }

    std::unique_ptr<ContactAccess> m_access;
};

TEST_F(ContactAccessTest, FavouriteRoundTripReachesTheStoreAndTheCache) {
    CEOID oid = AddContact("FIRST_NAME=Ann LAST_NAME=Lee \"CATEGORIES=Family\"");
    ContactRecord* ann = Record(oid);
    ASSERT_NE(ann, nullptr);
    EXPECT_FALSE(m_access->IsFavourite(*ann));

    ASSERT_TRUE(m_access->SetFavourite(*ann, true));
    EXPECT_EQ(Stored(oid)["CATEGORIES"], "\"Family, Favorites\"");
    Pump(); // the store's notification reaches the cache
    EXPECT_TRUE(m_access->IsFavourite(*Record(oid)));

    ASSERT_TRUE(m_access->SetFavourite(*ann, false));
    EXPECT_EQ(Stored(oid)["CATEGORIES"], "Family");
    Pump();
    EXPECT_FALSE(m_access->IsFavourite(*Record(oid)));
    // Removing a category the contact does not have is no failure.
    EXPECT_TRUE(m_access->SetFavourite(*ann, false));
}

TEST_F(ContactAccessTest, FavouriteNameIsComparedExactly) {
    CEOID oid = AddContact("FIRST_NAME=Bo \"CATEGORIES=favorites, Favorites2\"");
    ContactRecord* bo = Record(oid);
    ASSERT_NE(bo, nullptr);
    EXPECT_FALSE(m_access->IsFavourite(*bo));
}

TEST_F(ContactAccessTest, SimEntriesCannotBeWritten) {
    ContactRecord* sam = AddSimEntry(4, "Sim Sam", "5550100");
    ASSERT_NE(sam, nullptr);
    ASSERT_TRUE(sam->IsSimEntry());
    EXPECT_FALSE(m_access->SetFavourite(*sam, true));
    EXPECT_FALSE(m_access->SetDefaultNumber(*sam, 0));
    EXPECT_EQ(m_access->FirstEmail(*sam), u"");
    EXPECT_FALSE(m_access->SetTaggedImValue(*sam, u"FacebookID", u"1", true));
    bool asked = false;
    EXPECT_FALSE(m_access->ChooseRingTone(
        *sam, [&](const std::u16string&, std::u16string&) { return asked = true; }, nullptr));
    EXPECT_FALSE(asked);
}

TEST_F(ContactAccessTest, DefaultNumberStepsWithinTheNumbers) {
    CEOID oid = AddContact("FIRST_NAME=Cy MOBILE_TELEPHONE_NUMBER=5550001 HOME_TELEPHONE_NUMBER=5550002");
    ContactRecord* cy = Record(oid);
    ASSERT_NE(cy, nullptr);
    ASSERT_EQ(cy->phoneKeys[0], 2);
    ASSERT_EQ(cy->phoneKeys[1], 0);

    EXPECT_FALSE(m_access->SetDefaultNumber(*cy, -1));
    ASSERT_TRUE(m_access->SetDefaultNumber(*cy, +1));
    EXPECT_EQ(cy->phoneKeys[1], 1);
    std::string smart = Stored(oid)["SMARTPROP"];
    EXPECT_FALSE(smart.empty());

    // Past the last number nothing changes, in the store or in the record.
    EXPECT_FALSE(m_access->SetDefaultNumber(*cy, +1));
    EXPECT_EQ(cy->phoneKeys[1], 1);
    EXPECT_EQ(Stored(oid)["SMARTPROP"], smart);

    Pump(); // the cache reads the new default from the store
    EXPECT_EQ(Record(oid)->primaryNumber, u"5550002");
    EXPECT_EQ(Record(oid)->primaryKind, u'h');
    ASSERT_TRUE(m_access->SetDefaultNumber(*Record(oid), -1));
    Pump();
    EXPECT_EQ(Record(oid)->primaryNumber, u"5550001");
}

TEST_F(ContactAccessTest, DefaultNumberNeedsNumbers) {
    CEOID oid = AddContact("FIRST_NAME=Di EMAIL1_ADDRESS=di@example.com");
    ContactRecord* di = Record(oid);
    ASSERT_NE(di, nullptr);
    EXPECT_FALSE(m_access->SetDefaultNumber(*di, 0));
    EXPECT_FALSE(m_access->SetDefaultNumber(*di, 1));
    EXPECT_EQ(Stored(oid).count("SMARTPROP"), 0u);
}

TEST_F(ContactAccessTest, FirstEmailSkipsAddressesWithoutAt) {
    struct Case {
        std::string fields;
        std::u16string expected;
    };
    const Case cases[] = {
        {"EMAIL1_ADDRESS=nobody EMAIL2_ADDRESS=two@example.com EMAIL3_ADDRESS=three@example.com",
         u"two@example.com"},
        {"EMAIL1_ADDRESS=one@example.com EMAIL2_ADDRESS=two@example.com", u"one@example.com"},
        {"EMAIL2_ADDRESS=x EMAIL3_ADDRESS=three@example.com", u"three@example.com"},
        {"EMAIL1_ADDRESS=a EMAIL2_ADDRESS=b", u""},
        {"MOBILE_TELEPHONE_NUMBER=5550003", u""},
    };
    for (const Case& item : cases) {
        CEOID oid = AddContact("FIRST_NAME=Ed " + item.fields);
        ContactRecord* ed = Record(oid);
        ASSERT_NE(ed, nullptr) << item.fields;
        EXPECT_EQ(m_access->FirstEmail(*ed), item.expected) << item.fields;
    }
}

TEST_F(ContactAccessTest, TaggedValueNeedsForceWhenAllFieldsHoldOthers) {
    CEOID oid = AddContact("FIRST_NAME=Flo IM1_ADDRESS=one IM2_ADDRESS=two IM3_ADDRESS=three");
    ContactRecord* flo = Record(oid);
    ASSERT_NE(flo, nullptr);
    EXPECT_FALSE(m_access->SetTaggedImValue(*flo, u"FacebookID", u"4711", false));
    EXPECT_EQ(Ims(oid), (std::vector<std::string>{"one", "two", "three"}));

    ASSERT_TRUE(m_access->SetTaggedImValue(*flo, u"FacebookID", u"4711", true));
    EXPECT_EQ(Ims(oid), (std::vector<std::string>{"one", "two", "FacebookID:4711"}));
    Pump();
    EXPECT_EQ(Record(oid)->facebookId, 4711);

    ASSERT_TRUE(m_access->SetTaggedImValue(*flo, u"FacebookID", nullptr, true));
    EXPECT_EQ(Ims(oid), (std::vector<std::string>{"one", "two", ""}));
    Pump();
    EXPECT_EQ(Record(oid)->facebookId, 0);
}

TEST_F(ContactAccessTest, TaggedValueFillsTheFieldThatHoldsTheKeyElseAnEmptyOne) {
    struct Case {
        std::string fields;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"IM2_ADDRESS=two", {"FacebookID:9", "two", ""}},
        {"IM1_ADDRESS=one IM2_ADDRESS=FacebookID:1", {"one", "FacebookID:9", ""}},
        // The key already stored wins over an empty field before it: no second link.
        {"IM3_ADDRESS=FacebookID:1", {"", "", "FacebookID:9"}},
    };
    for (const Case& item : cases) {
        CEOID oid = AddContact("FIRST_NAME=Gus " + item.fields);
        ContactRecord* gus = Record(oid);
        ASSERT_NE(gus, nullptr);
        ASSERT_TRUE(m_access->SetTaggedImValue(*gus, u"FacebookID", u"9", false)) << item.fields;
        EXPECT_EQ(Ims(oid), item.expected) << item.fields;
    }
}

TEST_F(ContactAccessTest, RemovingATaggedValueNeverTakesAnotherValue) {
    CEOID oid = AddContact("FIRST_NAME=Hal IM1_ADDRESS=one IM2_ADDRESS=two IM3_ADDRESS=three");
    ContactRecord* hal = Record(oid);
    ASSERT_NE(hal, nullptr);
    EXPECT_TRUE(m_access->SetTaggedImValue(*hal, u"FacebookID", nullptr, true));
    EXPECT_EQ(Ims(oid), (std::vector<std::string>{"one", "two", "three"}));
    EXPECT_FALSE(m_access->SetTaggedImValue(*hal, u"", u"x", true));
}

class RingToneTest : public ContactAccessTest {
protected:
    // Runs the ring-tone operation with a chooser that answers `answer` (nullopt: cancel);
    // returns the result and records what the chooser saw and which notice was shown.
    bool Choose(ContactRecord& record, std::optional<std::u16string> answer) {
        m_seen.reset();
        m_notices.clear();
        return m_access->ChooseRingTone(
            record,
            [&](const std::u16string& current, std::u16string& chosen) {
                m_seen = current;
                if (!answer)
                    return false;
                chosen = *answer;
                return true;
            },
            [&](UINT text, UINT type) { m_notices.emplace_back(text, type); });
    }

    std::optional<std::u16string> m_seen;
    std::vector<std::pair<UINT, UINT>> m_notices;
};

TEST_F(RingToneTest, StoresTheChoiceAndTellsTheOutcome) {
    CEOID oid = AddContact("FIRST_NAME=Ivy");
    ContactRecord* ivy = Record(oid);
    ASSERT_NE(ivy, nullptr);

    ASSERT_TRUE(Choose(*ivy, u"\\Windows\\Rings\\Bell.wav"));
    EXPECT_EQ(m_seen, u"");
    EXPECT_EQ(Stored(oid)["RINGTONE"], "\\Windows\\Rings\\Bell.wav");
    EXPECT_EQ(m_notices, (std::vector<std::pair<UINT, UINT>>{{202u, UINT(MB_OK | MB_ICONINFORMATION)}}));

    // An empty choice removes the property: the contact rings with the default tone.
    ASSERT_TRUE(Choose(*ivy, u""));
    EXPECT_EQ(m_seen, u"\\Windows\\Rings\\Bell.wav");
    EXPECT_EQ(Stored(oid).count("RINGTONE"), 0u);
    EXPECT_EQ(m_notices, (std::vector<std::pair<UINT, UINT>>{{204u, UINT(MB_OK | MB_ICONINFORMATION)}}));
}

TEST_F(RingToneTest, CancelShowsNothingAndChangesNothing) {
    CEOID oid = AddContact("FIRST_NAME=Jo RINGTONE=\\Windows\\Rings\\Old.wav");
    ContactRecord* jo = Record(oid);
    ASSERT_NE(jo, nullptr);
    EXPECT_FALSE(Choose(*jo, std::nullopt));
    EXPECT_EQ(m_seen, u"\\Windows\\Rings\\Old.wav");
    EXPECT_TRUE(m_notices.empty());
    EXPECT_EQ(Stored(oid)["RINGTONE"], "\\Windows\\Rings\\Old.wav");
}

TEST_F(RingToneTest, AFailedWriteShowsTheErrorAndKeepsTheOldTone) {
    CEOID oid = AddContact("FIRST_NAME=Kit RINGTONE=\\Windows\\Rings\\Old.wav");
    ContactRecord* kit = Record(oid);
    ASSERT_NE(kit, nullptr);
    // The store refuses texts longer than 32767 characters.
    EXPECT_FALSE(Choose(*kit, std::u16string(40000, u'a')));
    EXPECT_EQ(m_notices, (std::vector<std::pair<UINT, UINT>>{{203u, UINT(MB_OK | MB_ICONERROR)}}));
    EXPECT_EQ(Stored(oid)["RINGTONE"], "\\Windows\\Rings\\Old.wav");
}

} // namespace
