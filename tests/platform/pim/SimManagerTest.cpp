// The SIM Manager against a booted device: the factory phonebook with its gaps, the
// index range, writing and deleting, the error codes of each card state, the published
// "Radio Ready State", persistence and a damaged store.
#include "ce/regext.h"
#include "ce/simmgr.h"
#include "pim/SimCard.h"
#include "registry/NotificationHub.h"
#include "support/TestDevice.h"

#include <fstream>
#include <mutex>
#include <string>
#include <vector>

using platform::SimCard;
using platform::SimState;

namespace {

class SimManager : public testsupport::TestDevice {
protected:
    void TearDown() override {
        if (m_sim)
            SimDeinitialize(m_sim);
        TestDevice::TearDown();
    }
    HSIM Open() {
        EXPECT_EQ(SimInitialize(SIM_INIT_NONE, nullptr, 0, &m_sim), S_OK);
        return m_sim;
    }
    static SIMPHONEBOOKENTRY Entry(const char16_t* text, const char16_t* address) {
        SIMPHONEBOOKENTRY entry{};
        entry.cbSize = sizeof entry;
        entry.dwParams = SIM_PARAM_PBE_ADDRESS | SIM_PARAM_PBE_TEXT;
        std::u16string(text).copy(entry.lpszText, MAX_LENGTH_PHONEBOOKENTRYTEXT - 1);
        std::u16string(address).copy(entry.lpszAddress, MAX_LENGTH_ADDRESS - 1);
        return entry;
    }
    static DWORD RadioReadyState() {
        DWORD value = 0xDEAD;
        RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Radio Ready State", &value);
        return value;
    }

    HSIM m_sim = nullptr;
};

TEST_F(SimManager, ReadsTheUsedIndexRangeSkippingEmptyLocations) {
    HSIM sim = Open();
    SIMCAPS caps{};
    caps.cbSize = sizeof caps;
    ASSERT_EQ(SimGetDevCaps(sim, SIM_CAPSTYPE_PBINDEXRANGE, &caps), S_OK);
    EXPECT_EQ(caps.dwMinPBIndex, 1u);
    EXPECT_EQ(caps.dwMaxPBIndex, 12u);
    EXPECT_TRUE(caps.dwParams & SIM_PARAM_CAPS_PBEMAXINDEX);
    std::vector<DWORD> found, missing;
    for (DWORD index = caps.dwMinPBIndex; index <= caps.dwMaxPBIndex; ++index) {
        SIMPHONEBOOKENTRY entry{};
        entry.cbSize = sizeof entry;
        HRESULT result = SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, index, &entry);
        ASSERT_TRUE(result == S_OK || result == SIM_E_NOTFOUND) << std::hex << result;
        (result == S_OK ? found : missing).push_back(index);
    }
    EXPECT_EQ(found, (std::vector<DWORD>{1, 2, 3, 5, 6, 9, 12}));
    EXPECT_EQ(missing, (std::vector<DWORD>{4, 7, 8, 10, 11}));

    SIMPHONEBOOKENTRY entry{};
    entry.cbSize = sizeof entry;
    ASSERT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 2, &entry), S_OK);
    EXPECT_EQ(std::u16string(entry.lpszText), u"Ann Baker");
    EXPECT_EQ(std::u16string(entry.lpszAddress), u"+442079460958");
    EXPECT_EQ(entry.dwAddressType, SIM_ADDRTYPE_INTERNATIONAL);
    EXPECT_EQ(entry.dwParams, SIM_PARAM_PBE_ALL);
    ASSERT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 3, &entry), S_OK);
    EXPECT_EQ(entry.dwAddressType, SIM_ADDRTYPE_UNKNOWN);
}

TEST_F(SimManager, RefusesBadArgumentsAndLocations) {
    HSIM sim = Open();
    SIMCAPS caps{};
    caps.cbSize = sizeof caps - 4;
    EXPECT_EQ(SimGetDevCaps(sim, SIM_CAPSTYPE_PBINDEXRANGE, &caps), E_INVALIDARG);
    caps.cbSize = sizeof caps;
    EXPECT_EQ(SimGetDevCaps(sim, 0, &caps), E_INVALIDARG);
    EXPECT_EQ(SimGetDevCaps(sim, 0x40, &caps), E_INVALIDARG);
    SIMPHONEBOOKENTRY entry{};
    entry.cbSize = sizeof entry - 1;
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 1, &entry), E_INVALIDARG);
    entry.cbSize = sizeof entry;
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 0, &entry), SIM_E_INVALIDINDEX);
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 251, &entry), SIM_E_INVALIDINDEX);
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_FIXEDDIALING, 1, &entry), SIM_E_UNSUPPORTED);
    EXPECT_EQ(SimInitialize(SIM_INIT_SIMCARD_NOTIFICATIONS, nullptr, 0, &sim), SIM_E_UNSUPPORTED);
    EXPECT_EQ(sim, nullptr);
    // A closed handle is refused, never followed.
    HSIM closed = Open();
    m_sim = nullptr;
    ASSERT_EQ(SimDeinitialize(closed), S_OK);
    EXPECT_EQ(SimReadPhonebookEntry(closed, SIM_PBSTORAGE_SIM, 1, &entry), E_HANDLE);
    EXPECT_EQ(SimDeinitialize(closed), E_HANDLE);
}

TEST_F(SimManager, WritesAtTheFirstFreeLocationAndDeletes) {
    HSIM sim = Open();
    SIMPHONEBOOKENTRY entry = Entry(u"Noor", u"07700 900555");
    ASSERT_EQ(SimWritePhonebookEntry(sim, SIM_PBSTORAGE_SIM, SIM_PBINDEX_FIRSTAVAILABLE, &entry), S_OK);
    SIMPHONEBOOKENTRY read{};
    read.cbSize = sizeof read;
    ASSERT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 4, &read), S_OK);
    EXPECT_EQ(std::u16string(read.lpszText), u"Noor");
    // An international address written without its plus reads back with it.
    entry = Entry(u"Abroad", u"33170363950");
    entry.dwParams |= SIM_PARAM_PBE_ADDRESS_TYPE;
    entry.dwAddressType = SIM_ADDRTYPE_INTERNATIONAL;
    ASSERT_EQ(SimWritePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 200, &entry), S_OK);
    ASSERT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 200, &read), S_OK);
    EXPECT_EQ(std::u16string(read.lpszAddress), u"+33170363950");

    EXPECT_EQ(SimDeletePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 4), S_OK);
    EXPECT_EQ(SimDeletePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 4), SIM_E_NOTFOUND);
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 4, &read), SIM_E_NOTFOUND);
    EXPECT_EQ(SimDeletePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 0), SIM_E_INVALIDINDEX);
    DWORD used = 0, total = 0;
    ASSERT_EQ(SimGetPhonebookStatus(sim, SIM_PBSTORAGE_SIM, &used, &total), S_OK);
    EXPECT_EQ(used, 8u);
    EXPECT_EQ(total, 250u);
}

TEST_F(SimManager, RefusesTextsTheCardCannotHold) {
    HSIM sim = Open();
    struct Case {
        const char16_t* text;
        const char16_t* address;
        HRESULT expected;
    };
    const Case cases[] = {
        {u"Fine", u"+44 (20) 7946-0958", S_OK},
        {u"", u"*100#", S_OK},
        {u"Thirty-two characters exactly!!!", u"1", S_OK},
        {u"Thirty-three characters, one over", u"1", SIM_E_INVALIDTEXTSTRING},
        {u"Line\nbreak", u"1", SIM_E_INVALIDTEXTSTRING},
        {u"No number", u"", SIM_E_INVALIDDIALSTRING},
        {u"Letters", u"0800 FLOWERS", SIM_E_INVALIDDIALSTRING},
        {u"Plus inside", u"44+20", SIM_E_INVALIDDIALSTRING},
        {u"Long", u"12345678901234567890123456789012345678901", SIM_E_INVALIDDIALSTRING},
    };
    for (const Case& c : cases) {
        SIMPHONEBOOKENTRY entry = Entry(c.text, c.address);
        EXPECT_EQ(SimWritePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 100, &entry), c.expected)
            << std::string(c.address, c.address + std::u16string(c.address).size());
    }
    // A text that fills its array without a terminator is read up to the array's end.
    SIMPHONEBOOKENTRY entry = Entry(u"", u"1");
    std::fill(std::begin(entry.lpszText), std::end(entry.lpszText), u'A');
    EXPECT_EQ(SimWritePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 100, &entry), SIM_E_INVALIDTEXTSTRING);
}

TEST_F(SimManager, EachStateHasItsErrorCodesAndRadioReadyState) {
    HSIM sim = Open();
    struct Case {
        const char* command;
        SimState state;
        HRESULT initialize;
        HRESULT read;
        DWORD radioReadyState;
    };
    const Case cases[] = {
        {"notready", SimState::NotReady, S_OK, SIM_E_RADIOOFF, 3},
        {"absent", SimState::Absent, SIM_E_NOSIM, SIM_E_NOSIM, 1},
        {"ready", SimState::Ready, S_OK, S_OK, 7},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        SimCard::Instance().SetState(c.state);
        EXPECT_EQ(RadioReadyState(), c.radioReadyState);
        HSIM other = nullptr;
        EXPECT_EQ(SimInitialize(SIM_INIT_NONE, nullptr, 0, &other), c.initialize);
        if (other)
            SimDeinitialize(other);
        SIMPHONEBOOKENTRY entry{};
        entry.cbSize = sizeof entry;
        EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 1, &entry), c.read);
        SIMCAPS caps{};
        caps.cbSize = sizeof caps;
        EXPECT_EQ(SimGetDevCaps(sim, SIM_CAPSTYPE_PBINDEXRANGE, &caps), c.read);
        EXPECT_EQ(SimDeletePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 7), c.read == S_OK ? SIM_E_NOTFOUND : c.read);
    }
}

// What a watcher of "Radio Ready State" saw; filled on the notification thread.
std::mutex g_seenMutex;
std::vector<DWORD> g_seen;

void RecordRadioState(HREGNOTIFY, DWORD, const PBYTE data, const UINT size) {
    std::lock_guard lock(g_seenMutex);
    if (data && size == sizeof(DWORD))
        g_seen.push_back(*reinterpret_cast<const DWORD*>(data));
}

TEST_F(SimManager, RadioReadyStateChangesReachWatchers) {
    g_seen.clear();
    HREGNOTIFY watch = nullptr;
    ASSERT_EQ(RegistryNotifyCallback(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Radio Ready State",
                                     RecordRadioState, 0, nullptr, &watch),
              S_OK);
    SimCard::Instance().SetState(SimState::NotReady);
    SimCard::Instance().SetState(SimState::NotReady); // no change, no notification
    SimCard::Instance().SetState(SimState::Ready);
    platform::NotificationHub::Instance().Drain(std::chrono::seconds(5));
    RegistryCloseNotification(watch);
    std::lock_guard lock(g_seenMutex);
    EXPECT_EQ(g_seen, (std::vector<DWORD>{3, 7}));
}

TEST_F(SimManager, EntriesAndStateSurviveAReboot) {
    HSIM sim = Open();
    SIMPHONEBOOKENTRY entry = Entry(u"Kept", u"0123");
    ASSERT_EQ(SimWritePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 40, &entry), S_OK);
    ASSERT_EQ(SimDeletePhonebookEntry(sim, SIM_PBSTORAGE_SIM, 1), S_OK);
    SimCard::Instance().SetState(SimState::NotReady);
    m_sim = nullptr;
    Reboot();
    EXPECT_EQ(SimCard::Instance().State(), SimState::NotReady);
    EXPECT_EQ(RadioReadyState(), 3u);
    SimCard::Instance().SetState(SimState::Ready);
    // The handle of the earlier boot is gone with it.
    SIMPHONEBOOKENTRY read{};
    read.cbSize = sizeof read;
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 40, &read), E_HANDLE);
    sim = Open();
    ASSERT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 40, &read), S_OK);
    EXPECT_EQ(std::u16string(read.lpszText), u"Kept");
    // The factory entries are not written again over a card that has lost one.
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 1, &read), SIM_E_NOTFOUND);
}

TEST_F(SimManager, ADamagedStoreIsSetAsideAndReplaced) {
    m_device->Shutdown();
    auto file = m_options.folder / "data" / "sim.db";
    {
        std::ofstream damaged(file, std::ios::binary | std::ios::trunc);
        damaged << std::string(4096, '\x5A');
    }
    std::filesystem::remove(file.string() + "-wal");
    Reboot();
    bool setAside = false;
    for (const auto& item : std::filesystem::directory_iterator(file.parent_path()))
        setAside |= item.path().filename().string().starts_with("sim.db.corrupt-");
    EXPECT_TRUE(setAside);
    HSIM sim = Open();
    SIMPHONEBOOKENTRY read{};
    read.cbSize = sizeof read;
    EXPECT_EQ(SimReadPhonebookEntry(sim, SIM_PBSTORAGE_SIM, 1, &read), S_OK);
    EXPECT_EQ(SimCard::Instance().State(), SimState::Ready);
}

} // namespace
