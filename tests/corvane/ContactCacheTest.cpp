// The contact cache on a device: loading, lookups by number and identifier, the SIM
// phonebook and its errors, change notifications from the console, suppression, the
// "PimWatch_" marks, settings changes and deletion.
#include "CacheTestSupport.h"

#include "ce/registry.h"
#include "common/Messages.h"
#include "common/PhoneKey.h"
#include "kernel/DeviceClock.h"
#include "pim/SimCard.h"

#include <algorithm>
#include <atomic>

using namespace cachetest;
using common::ContactRecord;

namespace {

class ContactCacheTest : public CacheTest {
protected:
    ContactRecord* Named(const std::string& name) const {
        for (size_t i = 0; i < m_contacts->Size(); ++i)
            if (Narrow(m_contacts->At(i)->displayName) == name)
                return m_contacts->At(i);
        return nullptr;
    }
    size_t SimRecords() const {
        size_t count = 0;
        for (size_t i = 0; i < m_contacts->Size(); ++i)
            count += m_contacts->At(i)->IsSimEntry();
        return count;
    }
    static bool Has(const std::vector<Posted>& posted, UINT message) {
        return std::any_of(posted.begin(), posted.end(),
                           [message](const Posted& p) { return p.message == message; });
    }
};

TEST_F(ContactCacheTest, LoadsSortedRecordsWithNamesKindsAndKeys) {
    AddContact("FIRST_NAME=Zoe LAST_NAME=Adams MOBILE_TELEPHONE_NUMBER=+441632960001 "
               "\"CATEGORIES=Family, Favorites\" COMPANY_NAME=Acme");
    AddContact("\"LAST_NAME=Smith John\" HOME_TELEPHONE_NUMBER=020-7946-0958 "
               "BUSINESS_TELEPHONE_NUMBER=0201234567 SMARTPROP=BUSINESS_TELEPHONE_NUMBER");
    AddContact("FIRST_NAME=Mail LAST_NAME=only EMAIL2_ADDRESS=mail@example.com");
    Console("sim add 9 \"Bob Sim\" 5550123");
    OpenCaches();
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"Adams, Zoe", "Bob Sim", "John, Smith", "only, Mail"}));

    ContactRecord* zoe = Named("Adams, Zoe");
    ASSERT_NE(zoe, nullptr);
    EXPECT_EQ(zoe->self, zoe);
    EXPECT_EQ(zoe->primaryKind, u'm');
    ASSERT_NE(zoe->company, nullptr);
    EXPECT_EQ(*zoe->company, u"Acme");
    ASSERT_EQ(zoe->categories.size(), 2u);
    EXPECT_EQ(zoe->categories[1], &m_contacts->Categories().At(1));
    EXPECT_EQ(m_contacts->Categories().At(2).name, u"Family");
    EXPECT_EQ(m_contacts->Categories().At(2).colour, 0xF79646u);

    ContactRecord* john = Named("John, Smith");
    ASSERT_NE(john, nullptr);
    EXPECT_EQ(john->primaryNumber, u"0201234567");
    EXPECT_EQ(john->primaryKind, u'w');
    EXPECT_EQ(john->phoneKeys[0], 2);
    EXPECT_EQ(john->phoneKeys[1], 1);

    ContactRecord* mail = Named("only, Mail");
    ASSERT_NE(mail, nullptr);
    EXPECT_EQ(mail->primaryKind, u'e');
    EXPECT_EQ(mail->primaryNumber, u"mail@example.com");
    EXPECT_TRUE(mail->phoneKeys.empty());

    ContactRecord* sim = Named("Bob Sim");
    ASSERT_NE(sim, nullptr);
    EXPECT_TRUE(sim->IsSimEntry());
    EXPECT_EQ(sim->oid, 9u);
    EXPECT_EQ(sim->primaryKind, u's');
    EXPECT_EQ(m_contacts->FindByOid(john->oid), john);
    EXPECT_EQ(m_contacts->FindByOid(9), nullptr); // a SIM location is no identifier
    EXPECT_EQ(m_contacts->FindByNumber(u"+44 20 7946 0958"), john);
    EXPECT_EQ(m_contacts->FindByNumber(u"555 0123"), sim);
    EXPECT_EQ(m_contacts->FindByNumber(u"555 0999"), nullptr);
}

TEST_F(ContactCacheTest, ADeviceContactWinsOverSimEntriesWithItsNumber) {
    Console("sim add 1 \"Aaron\" 5550123");
    Console("sim add 2 \"Abel\" 5550123");
    OpenCaches();
    // Of two SIM entries the last one in the cache's order is found.
    EXPECT_EQ(Narrow(m_contacts->FindByNumber(u"555-0123")->displayName), "Abel");
    AddContact("FIRST_NAME=Zed MOBILE_TELEPHONE_NUMBER=555-0123");
    Pump();
    ContactRecord* found = m_contacts->FindByNumber(u"5550123");
    ASSERT_NE(found, nullptr);
    EXPECT_FALSE(found->IsSimEntry());
    EXPECT_EQ(Narrow(found->displayName), "Zed");
}

TEST_F(ContactCacheTest, AContactLargerThanTheReadBufferIsReadWhole) {
    std::string last(3000, 'x');
    last[0] = 'Q';
    AddContact("LAST_NAME=" + last + " FIRST_NAME=" + std::string(1500, 'y') +
               " MOBILE_TELEPHONE_NUMBER=5550100");
    OpenCaches();
    ASSERT_EQ(m_contacts->Size(), 1u);
    ContactRecord* record = m_contacts->At(0);
    EXPECT_EQ(record->displayName.size(), 3000u + 2 + 1500);
    EXPECT_EQ(record->primaryNumber, u"5550100");
    // A small contact after it still reads.
    AddContact("LAST_NAME=Brief MOBILE_TELEPHONE_NUMBER=5550101");
    Pump();
    ASSERT_EQ(m_contacts->Size(), 2u);
    EXPECT_EQ(Narrow(m_contacts->At(0)->displayName), "Brief");
}

TEST_F(ContactCacheTest, NotificationsFromTheConsoleReachTheCache) {
    CEOID anna = AddContact("FIRST_NAME=Anna LAST_NAME=Berg MOBILE_TELEPHONE_NUMBER=5550100");
    OpenCaches();
    AddCall("5550111 in 2026-12-01T10:00:00 60");
    Pump();
    TakePosted();

    CEOID carl = AddContact("FIRST_NAME=Carl LAST_NAME=Dahl MOBILE_TELEPHONE_NUMBER=5550111");
    Pump();
    std::vector<Posted> posted = TakePosted();
    ContactRecord* carlRecord = m_contacts->FindByOid(carl);
    ASSERT_NE(carlRecord, nullptr);
    EXPECT_TRUE(Has(posted, common::CRVM_CALLLOGCHANGED));
    ASSERT_TRUE(Has(posted, common::CRVM_CONTACTCHANGED));
    const Posted& added = posted.back();
    EXPECT_EQ(added.message, common::CRVM_CONTACTCHANGED);
    EXPECT_EQ(added.wParam, WPARAM(MAKELONG(1, 1)));
    EXPECT_EQ(added.lParam, LPARAM(carlRecord));
    EXPECT_EQ(m_calls->At(0)->contact, carlRecord);
    EXPECT_NE(carlRecord->lastCall, 0u);

    // A new name that moves Anna behind Carl: one reload message with the record.
    Console("contact set " + std::to_string(anna) + " LAST_NAME=Zorn");
    Pump();
    posted = TakePosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, common::CRVM_CONTACTSRELOAD);
    EXPECT_EQ(posted[0].lParam, LPARAM(m_contacts->FindByOid(anna)));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Dahl, Carl", "Zorn, Anna"}));

    // A change in place: kind 2 with the record's index.
    Console("contact set " + std::to_string(anna) + " HOME_TELEPHONE_NUMBER=5550200");
    Pump();
    posted = TakePosted();
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, WPARAM(MAKELONG(1, 2)));
    EXPECT_EQ(m_contacts->FindByNumber(u"5550200"), m_contacts->FindByOid(anna));

    // Removed: the call-log entry loses its contact.
    Console("contact delete " + std::to_string(carl));
    Pump();
    posted = TakePosted();
    EXPECT_EQ(m_contacts->FindByOid(carl), nullptr);
    EXPECT_EQ(m_calls->At(0)->contact, nullptr);
    EXPECT_TRUE(Has(posted, common::CRVM_CALLLOGCHANGED));
    EXPECT_TRUE(Has(posted, common::CRVM_MSGFOLDERSCHANGED));
    EXPECT_EQ(posted.back().wParam, WPARAM(MAKELONG(0, 4)));
    EXPECT_EQ(posted.back().lParam, LPARAM(carlRecord));
}

TEST_F(ContactCacheTest, SuppressionIgnoresOneChangeWithinFiveSeconds) {
    CEOID oid = AddContact("FIRST_NAME=Anna MOBILE_TELEPHONE_NUMBER=5550100");
    OpenCaches();
    platform::DeviceClock::Instance().Freeze();
    ContactRecord* anna = m_contacts->FindByOid(oid);
    ASSERT_NE(anna, nullptr);
    m_contacts->SuppressNotification(anna);
    platform::DeviceClock::Instance().Advance(4000);
    Console("contact set " + std::to_string(oid) + " FIRST_NAME=Anne");
    Pump();
    EXPECT_EQ(Narrow(anna->displayName), "Anna");
    // Only the next notification was suppressed.
    Console("contact set " + std::to_string(oid) + " FIRST_NAME=Annie");
    Pump();
    EXPECT_EQ(Narrow(anna->displayName), "Annie");
    // After 5000 ms the suppression has run out.
    m_contacts->SuppressNotification(anna);
    platform::DeviceClock::Instance().Advance(5001);
    Console("contact set " + std::to_string(oid) + " FIRST_NAME=Ann");
    Pump();
    EXPECT_EQ(Narrow(anna->displayName), "Ann");
}

TEST_F(ContactCacheTest, PimWatchMarksTellAPageThatTheContactWasSaved) {
    CEOID oid = AddContact("FIRST_NAME=Anna");
    CEOID other = AddContact("FIRST_NAME=Otto");
    OpenCaches();
    char hex[16];
    snprintf(hex, sizeof hex, "%x", unsigned(oid));
    std::u16string name = u"PimWatch_" + std::u16string(hex, hex + strlen(hex));
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kProductKey, name.c_str(), 0), S_OK);
    Console("contact set " + std::to_string(other) + " FIRST_NAME=Olga");
    Pump();
    DWORD value = 7;
    RegistryGetDWORD(HKEY_LOCAL_MACHINE, common::kProductKey, name.c_str(), &value);
    EXPECT_EQ(value, 0u);
    Console("contact set " + std::to_string(oid) + " FIRST_NAME=Anne");
    Pump();
    RegistryGetDWORD(HKEY_LOCAL_MACHINE, common::kProductKey, name.c_str(), &value);
    EXPECT_EQ(value, 1u);
}

TEST_F(ContactCacheTest, ASimThatIsNotReadyIsReadWhenTheRadioIsReady) {
    Console("sim add 3 \"Carol\" 5550123");
    Console("sim state notready");
    OpenCaches();
    EXPECT_EQ(SimRecords(), 0u);
    TakePosted();
    Console("sim state ready");
    Pump();
    EXPECT_EQ(SimRecords(), 1u);
    EXPECT_TRUE(Has(TakePosted(), common::CRVM_CONTACTSRELOAD));
    EXPECT_EQ(Narrow(m_contacts->FindByNumber(u"5550123")->displayName), "Carol");
}

TEST_F(ContactCacheTest, AnAbsentSimStaysUnusable) {
    Console("sim add 3 \"Carol\" 5550123");
    Console("sim state absent");
    OpenCaches();
    EXPECT_EQ(SimRecords(), 0u);
    Console("sim state ready");
    Pump();
    m_settings.Record().showSimContacts = 0;
    m_contacts->OnShowSimChanged();
    m_settings.Record().showSimContacts = 1;
    m_contacts->OnShowSimChanged();
    EXPECT_EQ(SimRecords(), 0u);
}

TEST_F(ContactCacheTest, SimEntriesFollowTheShowSimSetting) {
    Console("sim add 3 \"Carol\" 5550123");
    AddCall("5550123 out 2026-12-01T10:00:00 30");
    OpenCaches();
    ASSERT_EQ(SimRecords(), 1u);
    EXPECT_NE(m_calls->At(0)->contact, nullptr);
    TakePosted();
    m_settings.Record().showSimContacts = 0;
    m_contacts->OnShowSimChanged();
    EXPECT_EQ(SimRecords(), 0u);
    EXPECT_EQ(m_calls->At(0)->contact, nullptr);
    Pump();
    std::vector<Posted> posted = TakePosted();
    EXPECT_TRUE(Has(posted, common::CRVM_CONTACTSRELOAD));
    m_settings.Record().showSimContacts = 1;
    m_contacts->OnShowSimChanged();
    EXPECT_EQ(SimRecords(), 1u);
    EXPECT_NE(m_calls->At(0)->contact, nullptr);
    Pump();
    EXPECT_TRUE(Has(TakePosted(), common::CRVM_CALLLOGCHANGED));
}

TEST_F(ContactCacheTest, ANewDisplayModeRebuildsAndSortsEveryName) {
    AddContact("FIRST_NAME=Zoe LAST_NAME=Adams");
    AddContact("FIRST_NAME=Adam LAST_NAME=Young");
    Console("sim add 1 \"Mum\" 5550123");
    OpenCaches();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Adams, Zoe", "Mum", "Young, Adam"}));
    TakePosted();
    m_settings.Record().displayName = 1;
    m_contacts->OnDisplayNameChanged();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Adam Young", "Mum", "Zoe Adams"}));
    Pump();
    EXPECT_TRUE(Has(TakePosted(), common::CRVM_CONTACTSRELOAD));
    m_settings.Record().displayName = 4;
    m_contacts->OnDisplayNameChanged();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Unknown, Adams, Zoe", "Unknown, Mum",
                                                 "Unknown, Young, Adam"}));
}

TEST_F(ContactCacheTest, DeletionFollowsLinksOnceAndReportsFailures) {
    CEOID a = AddContact("FIRST_NAME=Anna");
    CEOID b = AddContact("FIRST_NAME=Bert");
    AddContact("FIRST_NAME=Cora");
    Console("sim add 4 \"Dora\" 5550123");
    OpenCaches();
    ContactRecord* anna = m_contacts->FindByOid(a);
    ContactRecord* bert = m_contacts->FindByOid(b);
    ContactRecord* dora = m_contacts->FindByNumber(u"5550123");
    ASSERT_TRUE(anna && bert && dora);
    // A chain that loops back on itself.
    anna->next = bert;
    bert->next = dora;
    dora->next = anna;
    ContactRecord* first[] = {anna};
    EXPECT_TRUE(m_contacts->Delete(first, 1, true));
    EXPECT_EQ(Names(), (std::vector<std::string>{"Cora"}));
    EXPECT_EQ(Console("contact list").size(), 1u);
    EXPECT_TRUE(Console("sim list").empty());
    // Records no longer cached cannot be deleted again.
    EXPECT_FALSE(m_contacts->Delete(first, 1, false));
    ContactRecord* none[] = {nullptr};
    EXPECT_TRUE(m_contacts->Delete(none, 0, false));
}

} // namespace

namespace {

struct LookupJob {
    corvane::ContactCache* cache;
    std::atomic<bool> done{false};
    ContactRecord* found = nullptr;
};

DWORD WINAPI LookUp(LPVOID parameter) {
    auto* job = static_cast<LookupJob*>(parameter);
    job->found = job->cache->FindByNumber(u"5550100");
    job->done = true;
    return 0;
}

TEST_F(ContactCacheTest, LookupsFromAnotherThreadWaitForTheCoreLock) {
    AddContact("FIRST_NAME=Anna MOBILE_TELEPHONE_NUMBER=5550100");
    OpenCaches();
    LookupJob job{m_contacts.get()};
    m_lock.Enter();
    EXPECT_TRUE(m_lock.Busy());
    HANDLE thread = CreateThread(nullptr, 0, LookUp, &job, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    Sleep(100);
    EXPECT_FALSE(job.done.load());
    m_lock.Leave();
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    CloseHandle(thread);
    EXPECT_TRUE(job.done.load());
    ASSERT_NE(job.found, nullptr);
    EXPECT_EQ(Narrow(job.found->displayName), "Anna");
    EXPECT_FALSE(m_lock.Busy());
}

} // namespace

namespace {

TEST_F(ContactCacheTest, BeamsDeviceContactsAndCreatesNewOnes) {
    CEOID oid = AddContact("FILEAS=\"Baker, Ann\" MOBILE_TELEPHONE_NUMBER=5550100");
    Console("sim add 2 \"Sim Sue\" 5550101");
    OpenCaches();
    ContactRecord* ann = m_contacts->FindByOid(oid);
    ASSERT_NE(ann, nullptr);
    EXPECT_TRUE(m_contacts->Beam(ann));
    EXPECT_EQ(ann->item, nullptr); // released after use
    EXPECT_FALSE(m_contacts->Beam(m_contacts->FindByNumber(u"5550101")));
    std::vector<std::string> beamed = Console("contact beamed");
    ASSERT_EQ(beamed.size(), 1u);
    EXPECT_EQ(beamed[0], std::to_string(oid) + " \"Baker, Ann\"");

    IContact* created = m_contacts->CreateContact();
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->put_LastName(u"Newman"), S_OK);
    EXPECT_EQ(created->Save(), S_OK);
    created->Release();
    Pump();
    EXPECT_EQ(Names(), (std::vector<std::string>{"Baker, Ann", "Newman", "Sim Sue"}));
}

} // namespace
