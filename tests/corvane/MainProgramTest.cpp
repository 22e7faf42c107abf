// The main program on a booted device: single instance, forwarded page requests, the
// frame coming and going in one process, quitting, restarts after faults, settings
// reloads and the Send key. A stand-in UI library (tests/fixtures/modules) tells what
// reached the frame through the frame's title.
#include "ce/kernel.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "ce/shell.h"
#include "ce/user.h"
#include "common/Messages.h"
#include "kernel/WaitHub.h"
#include "support/MainProgramDriver.h"
#include "support/TestDevice.h"

#include <filesystem>
#include <string>

using testsupport::TestDevice;

namespace {

class MainProgram : public TestDevice {
protected:
    // Each test starts the program itself.
    MainProgram() { m_options.installFrom = DIALORA_IMAGE_DIR; }

    void TearDown() override {
        if (FindWindowW(common::kWatcherClass, nullptr)) {
            EXPECT_EQ(Start(u"-q", true), 0u);
        }
        TestDevice::TearDown();
    }

    // Puts the stand-in UI library beside the main program.
    void InstallFrameLibrary() {
        std::filesystem::copy_file(
            std::filesystem::path(DIALORA_TEST_MODULES_DIR) / "Corlist.dll",
            m_device->FsRoot() / "Program Files" / "Tavik Dialora" / "Corlist.dll",
            std::filesystem::copy_options::overwrite_existing);
    }

    // Starts the main program with `arguments`; with `wait`, returns its exit code.
    static DWORD Start(const WCHAR* arguments, bool wait = false) {
        return testsupport::StartMainProgram(arguments, wait);
    }

    static void Settle() { testsupport::Settle(); }

    static std::u16string FrameTitle() {
        HWND frame = FindWindowW(common::kFrameClass, nullptr);
        if (!frame)
            return u"none";
        WCHAR title[128] = {};
        GetWindowTextW(frame, title, 128);
        return title;
    }

    static DWORD WatcherProcess() {
        HWND watcher = FindWindowW(common::kWatcherClass, nullptr);
        DWORD pid = 0;
        if (watcher)
            GetWindowThreadProcessId(watcher, &pid);
        return pid;
    }

    static void PressSendKey() {
        keybd_event(VK_F3, 0, 0, 0);
        keybd_event(VK_F3, 0, KEYEVENTF_KEYUP, 0);
        Settle();
    }

    static void SetPhoneStatus(DWORD status) {
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", status);
        Settle();
    }
};

TEST_F(MainProgram, QuitWithoutARunningInstanceEndsAtOnce) {
    EXPECT_EQ(Start(u"-q", true), 0x8000u);
    EXPECT_EQ(Start(u"-quiet", true), 0x8000u);
    EXPECT_EQ(FindWindowW(common::kWatcherClass, nullptr), nullptr);
}

TEST_F(MainProgram, StaysResidentWithoutTheUiLibraryAndKeepsOneInstance) {
    std::filesystem::remove(m_device->FsRoot() / "Program Files" / "Tavik Dialora" / "Corlist.dll");
    Start(u"-startup");
    DWORD resident = WatcherProcess();
    ASSERT_NE(resident, 0u);
    HWND watcher = FindWindowW(common::kWatcherClass, nullptr);
    EXPECT_FALSE(IsWindowVisible(watcher));
    EXPECT_TRUE(GetWindowLongW(watcher, GWL_EXSTYLE) & WS_EX_TOPMOST);
    // A second start hands its request over and ends; without the library nothing opens.
    EXPECT_EQ(Start(u"-contacts", true), 0u);
    EXPECT_EQ(WatcherProcess(), resident);
    EXPECT_EQ(FrameTitle(), u"none");
    // "-q" ends the resident instance with the quit request as its exit code.
    EXPECT_EQ(Start(u"-q", true), 0u);
    EXPECT_EQ(FindWindowW(common::kWatcherClass, nullptr), nullptr);
}

TEST_F(MainProgram, SecondStartsReachTheFrameAsPageRequests) {
    InstallFrameLibrary();
    Start(u"-contacts");
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x2");
    Start(u"-CallHist", true);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x4");
    // "-startup" while running is an ordinary request with no page bit.
    Start(u"-startup", true);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x1");
    Start(u"-key:27", true);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x1B0080");
}

TEST_F(MainProgram, FrameClosesAndTheNextRequestOpensANewOneInTheSameProcess) {
    InstallFrameLibrary();
    Start(u"-startup");
    EXPECT_EQ(FrameTitle(), u"none");
    DWORD resident = WatcherProcess();
    Start(u"-startup", true);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x1") << "a request opens a frame when none is open";
    PostMessageW(FindWindowW(common::kFrameClass, nullptr), common::CRVM_DESTROYFRAME, 0, 0);
    Settle();
    EXPECT_EQ(FrameTitle(), u"none");
    EXPECT_EQ(WatcherProcess(), resident) << "closing the frame never ends the program";
    Start(u"-favorites", true);
    EXPECT_EQ(FrameTitle(), u"frame 2 page 0x8");
    EXPECT_EQ(WatcherProcess(), resident);
}

TEST_F(MainProgram, AForeignWindowInFrontIsClosedBeforeThePageRequest) {
    InstallFrameLibrary();
    Start(u"-keypad");
    ASSERT_NE(FindWindowW(u"TestMsgBox", nullptr), nullptr);
    DWORD resident = WatcherProcess();
    Start(u"-contacts", true);
    EXPECT_EQ(FindWindowW(u"TestMsgBox", nullptr), nullptr);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x2");
    EXPECT_EQ(WatcherProcess(), resident) << "the box was closed, not the program";
}

TEST_F(MainProgram, AFaultWhileCreatingTheFrameRestartsTheProgram) {
    InstallFrameLibrary();
    // The frame's creation faults on a forwarded page request...
    Start(u"-startup");
    DWORD resident = WatcherProcess();
    ASSERT_NE(resident, 0u);
    Start(u"-sms", true);
    DWORD restarted = WatcherProcess();
    EXPECT_NE(restarted, 0u) << "the program restarted after its orderly shutdown";
    EXPECT_NE(restarted, resident);
    EXPECT_EQ(FrameTitle(), u"none");
    // ... and at start-up: the program shuts down and comes back resident.
    EXPECT_EQ(Start(u"-q", true), 0u);
    ASSERT_EQ(WatcherProcess(), 0u);
    Start(u"-sms");
    EXPECT_NE(WatcherProcess(), 0u);
    EXPECT_EQ(FrameTitle(), u"none");
    Start(u"-contacts", true);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x2");
}

TEST_F(MainProgram, RequestsAreIgnoredWhileACallRings) {
    InstallFrameLibrary();
    Start(u"-startup");
    SetPhoneStatus(0x10000);
    Start(u"-contacts", true);
    EXPECT_EQ(FrameTitle(), u"none");
    SetPhoneStatus(0);
    Start(u"-contacts", true);
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x2");
}

TEST_F(MainProgram, QuitEndsTheRunningInstanceAndItsFrame) {
    InstallFrameLibrary();
    Start(u"-contacts");
    EXPECT_EQ(Start(u"-quit", true), 0u);
    EXPECT_EQ(FindWindowW(common::kWatcherClass, nullptr), nullptr);
    EXPECT_EQ(FrameTitle(), u"none");
}

TEST_F(MainProgram, AFaultRestartsTheProgramAtMostThreeTimesAMinute) {
    InstallFrameLibrary();
    Start(u"-contacts");
    DWORD previous = WatcherProcess();
    for (int restart = 1; restart <= 3; ++restart) {
        Start(u"-sms", true); // the stand-in frame faults on this page
        DWORD now = WatcherProcess();
        ASSERT_NE(now, 0u) << "restart " << restart;
        EXPECT_NE(now, previous);
        EXPECT_EQ(FrameTitle(), u"none") << "the restarted program starts without a frame";
        previous = now;
        Start(u"-contacts", true);
    }
    Start(u"-sms", true);
    EXPECT_EQ(WatcherProcess(), 0u) << "a fourth fault within a minute leaves it down";
}

TEST_F(MainProgram, SettingsChangesReachTheFrameWithTheirChangeBits) {
    InstallFrameLibrary();
    Start(u"-contacts");
    HWND watcher = FindWindowW(common::kWatcherClass, nullptr);
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", u"GroupDays", 3);
    PostMessageW(watcher, common::CRVM_SETTINGSCHANGED, 0, 0);
    Settle();
    EXPECT_EQ(FrameTitle(), u"frame 1 settings 0x1");
    DWORD flags = 0x351 ^ 0x40;
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", u"Flags", flags);
    HKEY key = nullptr;
    RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", 0, 0, &key);
    RegSetValueExW(key, u"Skin", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"Night"), 12);
    RegCloseKey(key);
    PostMessageW(watcher, common::CRVM_SETTINGSCHANGED, 0, 0);
    Settle();
    EXPECT_EQ(FrameTitle(), u"frame 1 settings 0x6");
}

TEST_F(MainProgram, SendKeyOpensThePhonePageOrReachesTheFrame) {
    InstallFrameLibrary();
    Start(u"-startup");
    PressSendKey();
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x2000");
    PressSendKey();
    EXPECT_EQ(FrameTitle(), u"frame 1 hotkey") << "the frame in front gets the key itself";
}

TEST_F(MainProgram, SendKeyDoesNothingWhileTheDeviceIsLocked) {
    InstallFrameLibrary();
    Start(u"-startup");
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State", u"Lock", 1);
    PressSendKey();
    EXPECT_EQ(FrameTitle(), u"none");
}

TEST_F(MainProgram, ASettingsReloadGivesTheSendKeyBackAndTakesItAgain) {
    InstallFrameLibrary();
    Start(u"-startup");
    HWND watcher = FindWindowW(common::kWatcherClass, nullptr);
    auto reload = [watcher](DWORD action) {
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", u"SendKeyAction",
                         action);
        PostMessageW(watcher, common::CRVM_SETTINGSCHANGED, 0, 0);
        Settle();
    };
    reload(0);
    PressSendKey();
    EXPECT_EQ(FrameTitle(), u"none") << "the key went back to the platform";
    reload(1);
    PressSendKey();
    EXPECT_EQ(FrameTitle(), u"frame 1 page 0x2000") << "the key was taken again";
}

TEST_F(MainProgram, SendKeyActionZeroLeavesTheKeyToThePlatform) {
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", u"SendKeyAction", 0);
    InstallFrameLibrary();
    Start(u"-startup");
    PressSendKey();
    EXPECT_EQ(FrameTitle(), u"none");
}

} // namespace
