#include "ce/regext.h"
#include "registry/NotificationHub.h"
#include "registry/RegistryConsole.h"
#include "support/TestDevice.h"

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

using testsupport::TestDevice;

namespace {

// What the callbacks saw; filled on the notification thread.
struct Seen {
    std::mutex mutex;
    std::vector<std::pair<DWORD, std::vector<BYTE>>> calls;
    std::thread::id thread;
};
Seen* g_seen = nullptr;

void Record(HREGNOTIFY, DWORD user, const PBYTE data, const UINT size) {
    std::lock_guard lock(g_seen->mutex);
    g_seen->thread = std::this_thread::get_id();
    g_seen->calls.emplace_back(user, data ? std::vector<BYTE>(data, data + size) : std::vector<BYTE>());
}

class RegistryNotify : public TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        g_seen = &m_seen;
    }
    void TearDown() override {
        TestDevice::TearDown();
        g_seen = nullptr;
    }
    size_t Calls() {
        platform::NotificationHub::Instance().Drain(std::chrono::seconds(5));
        std::lock_guard lock(m_seen.mutex);
        return m_seen.calls.size();
    }
    DWORD LastDword() {
        std::lock_guard lock(m_seen.mutex);
        DWORD value = 0;
        if (!m_seen.calls.empty() && m_seen.calls.back().second.size() == 4)
            std::memcpy(&value, m_seen.calls.back().second.data(), 4);
        return value;
    }
    Seen m_seen;
};

TEST_F(RegistryNotify, FiresOncePerRealChangeFromAnotherThread) {
    HREGNOTIFY handle = nullptr;
    ASSERT_EQ(RegistryNotifyCallback(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", Record, 42, nullptr, &handle), S_OK);
    std::thread writer([] {
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", 0x10000);
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", 0x10000); // unchanged
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"SYSTEM\\state\\PHONE", u"STATUS", 0x10800);
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Other", 1); // another value
    });
    writer.join();
    EXPECT_EQ(Calls(), 2u);
    EXPECT_EQ(LastDword(), 0x10800u);
    EXPECT_EQ(m_seen.calls.front().first, 42u);
    EXPECT_NE(m_seen.thread, std::this_thread::get_id());
    // The console changes the same value as any program does.
    std::string error;
    ASSERT_TRUE(platform::RegistryConsole::Set("HKLM\\System\\State\\Phone", "Status", "dword", "0", error));
    EXPECT_EQ(Calls(), 3u);
    // A deleted value arrives without data.
    ASSERT_TRUE(platform::RegistryConsole::DeleteKey("HKLM\\System\\State\\Phone", error));
    EXPECT_EQ(Calls(), 4u);
    EXPECT_TRUE(m_seen.calls.back().second.empty());
    EXPECT_EQ(RegistryCloseNotification(handle), S_OK);
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", 5);
    EXPECT_EQ(Calls(), 4u);
    EXPECT_EQ(RegistryCloseNotification(handle), E_INVALIDARG);
}

TEST_F(RegistryNotify, ConditionsDecideWhichChangesFire) {
    struct Case {
        REG_COMPARISONTYPE type;
        DWORD mask;
        DWORD target;
        std::vector<DWORD> writes;
        size_t expected;
    } cases[] = {
        {REG_CT_EQUAL, 0xFFFFFFFF, 5, {5, 6, 5, 5}, 2},
        {REG_CT_NOT_EQUAL, 0xFFFFFFFF, 0, {0, 1, 2, 0}, 2},
        {REG_CT_GREATER, 0xFFFFFFFF, 10, {9, 10, 11, 12}, 2},
        {REG_CT_LESS_OR_EQUAL, 0xFFFFFFFF, 2, {3, 2, 1, 7}, 2},
        {REG_CT_EQUAL, 0x10000, 0x10000, {0x10000, 0x10800, 0x800, 0x10000}, 3},
        {REG_CT_ANYCHANGE, 0, 0, {1, 1, 2}, 2},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        std::u16string key = u"Software\\Cond" + std::u16string(1, char16_t(u'A' + n++));
        NOTIFICATIONCONDITION condition{c.type, c.mask, {}};
        condition.TargetValue.dw = c.target;
        size_t before = Calls();
        HREGNOTIFY handle = nullptr;
        ASSERT_EQ(RegistryNotifyCallback(HKEY_CURRENT_USER, key.c_str(), u"v", Record, 0, &condition, &handle), S_OK);
        for (DWORD value : c.writes)
            RegistrySetDWORD(HKEY_CURRENT_USER, key.c_str(), u"v", value);
        EXPECT_EQ(Calls() - before, c.expected);
        RegistryCloseNotification(handle);
    }
}

TEST_F(RegistryNotify, TextConditionsIgnoreCase) {
    RegistrySetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", u"none");
    NOTIFICATIONCONDITION condition{REG_CT_STARTS_WITH, 0, {}};
    condition.TargetValue.psz = u"dial";
    HREGNOTIFY handle = nullptr;
    ASSERT_EQ(RegistryNotifyCallback(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", Record, 0,
                                     &condition, &handle), S_OK);
    for (const char16_t* name : {u"Dialnet", u"Other", u"DIALORA", u"dialora"})
        RegistrySetString(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Current Operator Name", name);
    EXPECT_EQ(Calls(), 3u); // the last write changes the spelling, which is a change
    RegistryCloseNotification(handle);
}

// Closes its own notification from inside the callback: must neither deadlock nor fire again.
std::atomic<int> g_selfCloseCalls{0};
void CloseSelf(HREGNOTIFY handle, DWORD, const PBYTE, const UINT) {
    ++g_selfCloseCalls;
    RegistryCloseNotification(handle);
    // The registry lock is free while callbacks run.
    RegistrySetDWORD(HKEY_CURRENT_USER, u"Software\\Self", u"echo", 1);
}

TEST_F(RegistryNotify, CallbackMayCloseItselfAndUseTheRegistry) {
    HREGNOTIFY handle = nullptr;
    ASSERT_EQ(RegistryNotifyCallback(HKEY_CURRENT_USER, u"Software\\Self", u"v", CloseSelf, 0, nullptr, &handle), S_OK);
    RegistrySetDWORD(HKEY_CURRENT_USER, u"Software\\Self", u"v", 1);
    RegistrySetDWORD(HKEY_CURRENT_USER, u"Software\\Self", u"v", 2);
    platform::NotificationHub::Instance().Drain(std::chrono::seconds(5));
    EXPECT_EQ(g_selfCloseCalls.load(), 1);
}

TEST_F(RegistryNotify, WatchesEndWithTheDevice) {
    HREGNOTIFY handle = nullptr;
    ASSERT_EQ(RegistryNotifyCallback(HKEY_CURRENT_USER, u"Software\\Reboot", u"v", Record, 0, nullptr, &handle), S_OK);
    Reboot();
    RegistrySetDWORD(HKEY_CURRENT_USER, u"Software\\Reboot", u"v", 1);
    EXPECT_EQ(Calls(), 0u);
    EXPECT_EQ(RegistryCloseNotification(handle), E_INVALIDARG);
}

} // namespace
