// The main program and the sound profiles: "LastProfile" applied at start,
// CRVM_APPLYPROFILE at the watcher window (-1 for "LastProfile"), and the saved ring
// script restored when the program ends.
#include "ce/kernel.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "ce/shell.h"
#include "ce/user.h"
#include "common/Messages.h"
#include "common/Settings.h"
#include "kernel/WaitHub.h"
#include "support/MainProgramDriver.h"
#include "support/TestDevice.h"

#include <string>

namespace {

DWORD Number(HKEY root, const WCHAR* key, const WCHAR* name) {
    DWORD value = 0xDEAD;
    RegistryGetDWORD(root, key, name, &value);
    return value;
}

DWORD Mode() {
    return Number(HKEY_CURRENT_USER, u"ControlPanel\\Notifications\\ShellOverrides", u"Mode");
}

std::u16string Script() {
    WCHAR script[32] = {};
    RegistryGetString(HKEY_CURRENT_USER, u"ControlPanel\\Sounds\\RingTone0", u"Script", script, 32);
    return script;
}

class ProfileMessages : public testsupport::TestDevice {
protected:
    ProfileMessages() { m_options.installFrom = DIALORA_IMAGE_DIR; }

    static void Settle() { testsupport::Settle(); }

    static DWORD Start(const WCHAR* arguments, bool wait) {
        return testsupport::StartMainProgram(arguments, wait);
    }

    static void ApplyProfile(WPARAM index) {
        HWND watcher = FindWindowW(common::kWatcherClass, nullptr);
        ASSERT_NE(watcher, nullptr);
        PostMessageW(watcher, common::CRVM_APPLYPROFILE, index, 0);
        Settle();
    }
};

TEST_F(ProfileMessages, TheResidentProgramAppliesProfilesAndRestoresTheScriptAtExit) {
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile", 1);
    Start(u"-startup", false);
    EXPECT_EQ(Mode(), 2u); // Silent, the last profile
    EXPECT_EQ(Script(), u"af3");

    ApplyProfile(2);
    EXPECT_EQ(Mode(), 1u);
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile"), 2u);

    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile", 3);
    ApplyProfile(WPARAM(-1));
    EXPECT_EQ(Mode(), 0u); // Loud
    EXPECT_EQ(Number(HKEY_CURRENT_USER, u"ControlPanel\\Volume", u"Ringer"), 5u);
    EXPECT_EQ(Script(), u"av0pw3r");

    // A damaged index changes nothing.
    ApplyProfile(77);
    EXPECT_EQ(Number(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile"), 3u);

    EXPECT_EQ(Start(u"-q", true), 0u);
    EXPECT_EQ(FindWindowW(common::kWatcherClass, nullptr), nullptr);
    EXPECT_EQ(Script(), u"apw3r");
}

} // namespace
