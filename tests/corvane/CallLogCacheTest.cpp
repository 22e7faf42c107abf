// The call log cache on a device: the initial read with flags, days, names and contact
// links, the last-call marks, notifications from the console, deletion with the follow
// flag, and the totals over the cached entries.
#include "CacheTestSupport.h"

#include "common/Messages.h"

#include <algorithm>

using namespace cachetest;
using common::CallLogEntry;
using namespace common::CallFlag;

namespace {

class CallLogCacheTest : public CacheTest {
protected:
    std::vector<CEOID> Oids() const {
        std::vector<CEOID> oids;
        for (size_t i = 0; i < m_calls->Size(); ++i)
            oids.push_back(m_calls->At(i)->oid);
        return oids;
    }
};

TEST_F(CallLogCacheTest, ReadsNewestFirstWithFlagsNamesAndLinks) {
    CEOID anna = AddContact("FIRST_NAME=Anna MOBILE_TELEPHONE_NUMBER=+441632960001");
    CEOID first = AddCall("01632960001 in 2026-12-01T09:00:00 60 kind=m");
    CEOID second = AddCall("01632960001 missed 2026-12-02T10:00:00 0");
    CEOID third = AddCall("5550100 out 2026-12-03T11:00:00 30 kind=w roaming");
    CEOID fourth = AddCall("- in 2026-12-03T12:00:00 5");
    CEOID fifth = AddCall("- in 2026-12-03T13:00:00 5 name=Operator");
    OpenCaches();
    EXPECT_EQ(Oids(), (std::vector<CEOID>{fifth, fourth, third, second, first}));
    const CallLogEntry& withName = *m_calls->At(0);
    EXPECT_EQ(Narrow(withName.name), "Operator");
    EXPECT_EQ(Narrow(m_calls->At(1)->name), "Unknown");
    const CallLogEntry& out = *m_calls->At(2);
    EXPECT_EQ(out.flags, kOutgoing | kWork | kRoaming);
    EXPECT_TRUE(out.name.empty());
    EXPECT_EQ(out.contact, nullptr);
    const CallLogEntry& missed = *m_calls->At(3);
    EXPECT_EQ(missed.flags, kMissed);
    EXPECT_EQ(m_calls->At(4)->flags, kMobile);
    EXPECT_EQ(missed.callDay + 1, out.callDay);
    // Both calls of Anna's number link to her; her mark is the newer one, a missed call.
    common::ContactRecord* record = m_contacts->FindByOid(anna);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(missed.contact, record);
    EXPECT_EQ(m_calls->At(4)->contact, record);
    EXPECT_EQ(record->lastCall, corvane::CallLogCache::LastCallMark(missed));
    EXPECT_EQ(record->lastCall >> 30, 2u);
}

TEST_F(CallLogCacheTest, NotificationsAddAndRemoveEntries) {
    AddContact("FIRST_NAME=Anna MOBILE_TELEPHONE_NUMBER=5550100");
    AddCall("5550100 in 2026-12-01T09:00:00 60");
    OpenCaches();
    TakePosted();
    CEOID added = AddCall("5550100 out 2026-12-04T09:00:00 20");
    Pump();
    ASSERT_EQ(m_calls->Size(), 2u);
    EXPECT_EQ(m_calls->At(0)->oid, added);
    EXPECT_NE(m_calls->At(0)->contact, nullptr);
    std::vector<Posted> posted = TakePosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, common::CRVM_CALLLOGCHANGED);
    Console("calllog delete " + std::to_string(added));
    Pump();
    EXPECT_EQ(m_calls->Size(), 1u);
    EXPECT_EQ(TakePosted().size(), 1u);
}

TEST_F(CallLogCacheTest, DeletionFollowsTheChainOnce) {
    AddCall("5550100 in 2026-12-01T09:00:00 60");
    AddCall("5550101 in 2026-12-01T10:00:00 60");
    AddCall("5550102 in 2026-12-01T11:00:00 60");
    OpenCaches();
    ASSERT_EQ(m_calls->Size(), 3u);
    CallLogEntry* newest = m_calls->At(0);
    CallLogEntry* oldest = m_calls->At(2);
    newest->next = oldest;
    oldest->next = newest; // a loop
    CallLogEntry* entries[] = {newest};
    EXPECT_TRUE(m_calls->Delete(entries, 1, true));
    ASSERT_EQ(m_calls->Size(), 1u);
    EXPECT_EQ(Console("calllog list").size(), 1u);
    Pump();
    EXPECT_EQ(m_calls->Size(), 1u);
    // Entries that left the cache are not deleted again.
    EXPECT_FALSE(m_calls->Delete(entries, 1, false));
}

TEST_F(CallLogCacheTest, TotalsCountTheCachedCalls) {
    AddCall("5550100 in 2026-12-01T09:00:00 60");
    AddCall("5550100 missed 2026-12-01T10:00:00 0");
    AddCall("5550100 in 2026-12-01T11:00:00 30");
    OpenCaches();
    DWORD seconds = 99;
    EXPECT_EQ(m_calls->CountCalls(common::CallKind::kIncoming, nullptr, nullptr, &seconds), 2);
    EXPECT_EQ(seconds, 90u);
    EXPECT_EQ(m_calls->CountCalls(common::CallKind::kMissed, nullptr, nullptr, &seconds), 1);
    EXPECT_EQ(seconds, 0u);
    EXPECT_EQ(m_calls->CountCalls(common::CallKind::kOutgoing, nullptr, nullptr, &seconds), 0);
}

TEST(LastCall, MarksCompareBySecondsAndClamp) {
    using corvane::CallLogCache;
    auto entry = [](uint64_t fileTime, DWORD flags) {
        CallLogEntry e;
        e.start = FILETIME{DWORD(fileTime), DWORD(fileTime >> 32)};
        e.flags = flags;
        return e;
    };
    constexpr uint64_t kEpoch = 146000ull * 86400 * 10'000'000;
    constexpr uint64_t kSecond = 10'000'000;
    EXPECT_EQ(CallLogCache::LastCallMark(entry(kEpoch + 100 * kSecond, 0)), 100u);
    EXPECT_EQ(CallLogCache::LastCallMark(entry(kEpoch + 100 * kSecond, kMissed)), 100u | 2u << 30);
    EXPECT_EQ(CallLogCache::LastCallMark(entry(kEpoch + 100 * kSecond, kOutgoing)),
              100u | 1u << 30);
    // Before the epoch and past the 30 bits: clamped, never 0.
    EXPECT_EQ(CallLogCache::LastCallMark(entry(kEpoch / 2, 0)), 1u);
    EXPECT_EQ(CallLogCache::LastCallMark(entry(kEpoch + (1ull << 31) * kSecond, 0)), 0x3FFFFFFFu);

    common::ContactRecord contact;
    CallLogEntry newerIncoming = entry(kEpoch + 200 * kSecond, 0);
    CallLogEntry olderMissed = entry(kEpoch + 100 * kSecond, kMissed);
    CallLogCache::UpdateLastCall(contact, newerIncoming);
    // The missed call's kind bits are above the seconds; it is still the older call.
    CallLogCache::UpdateLastCall(contact, olderMissed);
    EXPECT_EQ(contact.lastCall, 200u);
    CallLogCache::UpdateLastCall(contact, entry(kEpoch + 300 * kSecond, kOutgoing));
    EXPECT_EQ(contact.lastCall, 300u | 1u << 30);
}

} // namespace
