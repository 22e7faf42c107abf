// PhoneMakeCall: the checks of a request, and the phone application placing the call,
// asking first when told to, and writing the outgoing call to the call log.
#include "../user/UserTestSupport.h"
#include "ce/phone.h"
#include "ce/user.h"
#include "kernel/DeviceClock.h"
#include "phone/OutgoingCalls.h"
#include "pim/CallLogStore.h"
#include "user/MessageBoxes.h"

#include <string>
#include <vector>

using platform::CallLogRecord;
using platform::CallLogStore;
using platform::OutgoingCalls;

namespace {

TEST(OutgoingCalls, DialableNumbers) {
    struct Case {
        std::u16string number;
        bool dialable;
    };
    const std::vector<Case> cases = {
        {u"0123456789", true},
        {u"+44 20 7946 0958", true},
        {u"(020) 7946-0958", true},
        {u"*100#", true},
        {u"5551234p123w45", true},
        {u"", false},
        {u"john@example.com", false},
        {u"555 12a", false},
        {u"+ ( ) -", false}, // nothing to dial
        {u"123\n456", false},
        {std::u16string(80, u'5'), true},
        {std::u16string(81, u'5'), false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutgoingCalls::IsDialable(c.number), c.dialable) << std::string(c.number.begin(), c.number.end());
}

PHONEMAKECALLINFO Info(LPCWSTR number, DWORD flags = PMCF_DEFAULT, LPCWSTR name = nullptr) {
    PHONEMAKECALLINFO info{};
    info.cbSize = sizeof(info);
    info.dwFlags = flags;
    info.pszDestAddress = number;
    info.pszCalledParty = name;
    return info;
}

class PhoneMakeCallTest : public usertest::UserTest {
protected:
    PhoneMakeCallTest() { m_options.startPlatformPrograms = true; }

    // The last record written to the call log, once there are `count` of them.
    CallLogRecord NewestOnce(int64_t count) {
        EXPECT_TRUE(usertest::WaitFor([&] { return CallLogStore::Instance().Count() == count; }));
        std::vector<CallLogRecord> records;
        EXPECT_EQ(CallLogStore::Instance().List(records), DWORD(ERROR_SUCCESS));
        CallLogRecord last;
        for (const CallLogRecord& record : records)
            if (record.oid > last.oid)
                last = record;
        return last;
    }
    std::u16string Long(size_t length) { return std::u16string(length, u'7'); }
};

TEST_F(PhoneMakeCallTest, RefusesBadRequestsAndQueuesNothing) {
    int64_t before = CallLogStore::Instance().Count();
    std::u16string tooLong = Long(81);
    std::vector<PHONEMAKECALLINFO> bad = {
        Info(nullptr), Info(u""), Info(u"john@example.com"), Info(tooLong.c_str()),
        Info(u"555", PMCF_DEFAULT | 0x100),
    };
    PHONEMAKECALLINFO shortRecord = Info(u"555");
    shortRecord.cbSize = 24;
    bad.push_back(shortRecord);
    for (PHONEMAKECALLINFO& info : bad)
        EXPECT_EQ(PhoneMakeCall(&info), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(PhoneMakeCall(nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(OutgoingCalls::Instance().Take().has_value());
    EXPECT_EQ(CallLogStore::Instance().Count(), before);
}

TEST_F(PhoneMakeCallTest, ThePhoneDialsAndLogsTheOutgoingCall) {
    int64_t dialled = platform::DeviceClock::Instance().UtcTicks();
    int64_t before = CallLogStore::Instance().Count();
    PHONEMAKECALLINFO info = Info(u"+44 20 7946 0958", PMCF_DEFAULT, u"Mary Johnson");
    ASSERT_EQ(PhoneMakeCall(&info), 0);
    CallLogRecord record = NewestOnce(before + 1);
    EXPECT_EQ(record.number, std::u16string(u"+44 20 7946 0958"));
    EXPECT_EQ(record.name, std::u16string(u"Mary Johnson"));
    EXPECT_EQ(record.flags, DWORD(platform::kClogOutgoing));
    EXPECT_GE(record.start, dialled);
    EXPECT_LE(record.start, platform::DeviceClock::Instance().UtcTicks());
    EXPECT_EQ(record.end, record.start);

    PHONEMAKECALLINFO anonymous = Info(u"555");
    ASSERT_EQ(PhoneMakeCall(&anonymous), 0);
    record = NewestOnce(before + 2);
    EXPECT_EQ(record.number, std::u16string(u"555"));
    EXPECT_FALSE(record.name.has_value());
}

TEST_F(PhoneMakeCallTest, APromptDialsOnlyWhenTheUserSaysYes) {
    int64_t before = CallLogStore::Instance().Count();
    std::string error;
    for (int answer : {IDNO, IDYES}) {
        PHONEMAKECALLINFO info = Info(u"5550100", PMCF_PROMPTBEFORECALLING);
        ASSERT_EQ(PhoneMakeCall(&info), 0);
        ASSERT_TRUE(usertest::WaitFor([] { return !platform::MessageBoxes::List().empty(); }));
        auto box = platform::MessageBoxes::List().front();
        EXPECT_EQ(box.text, u"Call 5550100?");
        ASSERT_TRUE(platform::MessageBoxes::Answer(answer, error)) << error;
        ASSERT_TRUE(usertest::WaitFor([] { return platform::MessageBoxes::List().empty(); }));
    }
    CallLogRecord record = NewestOnce(before + 1);
    EXPECT_EQ(record.number, std::u16string(u"5550100"));
}

class NoPhoneApplication : public usertest::UserTest {};

TEST_F(NoPhoneApplication, NoCallIsTaken) {
    PHONEMAKECALLINFO info = Info(u"555");
    EXPECT_EQ(PhoneMakeCall(&info), ERROR_SERVICE_NOT_ACTIVE);
    EXPECT_FALSE(OutgoingCalls::Instance().Take().has_value());
}

} // namespace
