// The resident program's caches: the main program opens the contact store with its
// watcher window, which passes the store's notifications on to the contact cache; a
// change from the console reaches the running program and sets the page's "PimWatch_"
// mark, and a quit closes the stores in order.
#include "ce/regext.h"
#include "ce/registry.h"
#include "ce/user.h"
#include "common/Messages.h"
#include "common/Settings.h"
#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "support/MainProgramDriver.h"
#include "support/TestDevice.h"

#include <string>

namespace {

class ResidentCaches : public testsupport::TestDevice {
protected:
    ResidentCaches() {
        m_options.installFrom = DIALORA_IMAGE_DIR;
        m_options.factoryContacts = false;
    }
    std::string Run(const std::string& line) {
        platform::ConsoleAnswer answer = m_console.Execute(line);
        return answer.lines.empty() ? std::string() : answer.lines.front();
    }
    platform::Console m_console;
};

DWORD Mark(const WCHAR* name) {
    DWORD value = 0xDEAD;
    RegistryGetDWORD(HKEY_LOCAL_MACHINE, common::kProductKey, name, &value);
    return value;
}

TEST_F(ResidentCaches, ConsoleChangesReachTheRunningProgramsCache) {
    platform::RegisterDeviceCommands(m_console);
    ASSERT_EQ(Run("contact add FIRST_NAME=Anna MOBILE_TELEPHONE_NUMBER=5550100"), "oid 1");
    testsupport::StartMainProgram(u"-startup", false);
    ASSERT_NE(FindWindowW(common::kWatcherClass, nullptr), nullptr);
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kProductKey, u"PimWatch_1", 0);
    EXPECT_EQ(Run("contact set 1 FIRST_NAME=Anne"), "OK");
    testsupport::Settle();
    EXPECT_EQ(Mark(u"PimWatch_1"), 1u);

    // A contact made after the start is cached too: its deletion marks it.
    ASSERT_EQ(Run("contact add FIRST_NAME=Otto"), "oid 2");
    testsupport::Settle();
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kProductKey, u"PimWatch_2", 0);
    EXPECT_EQ(Run("contact delete 2"), "OK");
    testsupport::Settle();
    EXPECT_EQ(Mark(u"PimWatch_2"), 1u);

    // The program ends in order with its stores open.
    EXPECT_EQ(testsupport::StartMainProgram(u"-q", true), 0u);
    testsupport::Settle();
    EXPECT_EQ(FindWindowW(common::kWatcherClass, nullptr), nullptr);
}

} // namespace
