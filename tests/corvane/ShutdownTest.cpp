// The main program at the end of the device: started at boot like on the phone, it ends
// in order when its watcher is closed, whether by a device shutdown or by another program,
// and leaves the stored settings as they were.
#include "ce/kernel.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "ce/user.h"
#include "common/Messages.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"
#include "support/MainProgramDriver.h"
#include "support/TestDevice.h"

#include <chrono>

using testsupport::TestDevice;

namespace {

constexpr const WCHAR* kOptions = u"Software\\Tavik\\Dialora\\Options";

class MainProgramShutdown : public TestDevice {
protected:
    // The device starts the main program at boot, as the phone does.
    MainProgramShutdown() {
        m_options.installFrom = DIALORA_IMAGE_DIR;
        m_options.startMainProgram = true;
    }

    static void Settle() { testsupport::Settle(); }

    // The process that owns the watcher, or null.
    static std::shared_ptr<platform::ProcessObject> MainProcess() {
        HWND watcher = FindWindowW(common::kWatcherClass, nullptr);
        DWORD pid = 0;
        if (watcher)
            GetWindowThreadProcessId(watcher, &pid);
        return pid ? platform::ProcessTable::Instance().FindProcess(pid) : nullptr;
    }

    static std::u16string ReadText(const WCHAR* name) {
        WCHAR text[64] = {};
        if (FAILED(RegistryGetString(HKEY_LOCAL_MACHINE, kOptions, name, text, 64)))
            return u"(missing)";
        return text;
    }

    // Values the program must not rewrite on its way out.
    static void StoreOptions() {
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, kOptions, u"GroupDays", 5);
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, kOptions, 0, nullptr, 0, 0, nullptr, &key,
                                  nullptr), ERROR_SUCCESS);
        static const WCHAR kProfile[] = u"Meeting";
        RegSetValueExW(key, u"LastProfile", 0, REG_SZ, reinterpret_cast<const BYTE*>(kProfile),
                       sizeof kProfile);
        RegCloseKey(key);
    }

    static void ExpectOptionsKept() {
        DWORD days = 0;
        EXPECT_TRUE(SUCCEEDED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, kOptions, u"GroupDays", &days)));
        EXPECT_EQ(days, 5u);
        EXPECT_EQ(ReadText(u"LastProfile"), u"Meeting");
    }
};

TEST_F(MainProgramShutdown, BootStartsItWithItsWatcher) {
    auto process = MainProcess();
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(process->Name(), u"Corvane.exe");
    EXPECT_EQ(process->CommandLine(), u"-startup");
}

TEST_F(MainProgramShutdown, ClosingTheWatcherEndsTheProgramThroughItsQuitRequest) {
    auto process = MainProcess();
    ASSERT_NE(process, nullptr);
    PostMessageW(FindWindowW(common::kWatcherClass, nullptr), WM_CLOSE, 0, 0);
    Settle();
    EXPECT_EQ(FindWindowW(common::kWatcherClass, nullptr), nullptr);
    DWORD code = 0;
    ASSERT_TRUE(platform::ProcessLauncher::WaitForExit(process, 5000, code));
    // The quit request's wParam (0) is the exit code; a fault would have restarted it.
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(MainProcess(), nullptr);
}

TEST_F(MainProgramShutdown, DeviceShutdownEndsItInOrderAndKeepsTheSettings) {
    StoreOptions();
    auto process = MainProcess();
    ASSERT_NE(process, nullptr);
    auto started = std::chrono::steady_clock::now();
    m_device->Shutdown();
    // It ended by itself, well before shutdown would have given up waiting for it.
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
    {
        std::lock_guard lock(platform::WaitHub::Instance().Mutex());
        EXPECT_TRUE(process->m_finished);
        EXPECT_EQ(process->m_exitCode, 0u);
    }
    m_options.startMainProgram = false;
    Reboot();
    ExpectOptionsKept();
}

} // namespace
