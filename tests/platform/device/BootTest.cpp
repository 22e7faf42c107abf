// Boot and shutdown of the device as a whole: the platform's own programs start in their
// own processes before anything else runs, a device without the main program still boots,
// and shutdown ends every program the way the device does (windows closed topmost first,
// then a quit message to every thread).
#include "ce/files.h"
#include "ce/kernel.h"
#include "ce/user.h"
#include "device/Device.h"
#include "kernel/BuiltinPrograms.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

namespace {

using ProcessPtr = std::shared_ptr<platform::ProcessObject>;

class Boot : public ::testing::Test {
protected:
    void SetUp() override {
        m_folder = testsupport::MakeTempFolder("dialora-boot");
        m_options.folder = m_folder / "device";
        m_options.startPlatformPrograms = true;
        m_options.startMainProgram = true; // nothing installed: boot goes on without it
    }
    void TearDown() override {
        if (m_device)
            m_device->Shutdown();
        m_device.reset();
        std::error_code ec;
        std::filesystem::remove_all(m_folder, ec);
    }

    void BootDevice() {
        m_device = std::make_unique<platform::Device>(m_options);
        std::string error;
        ASSERT_TRUE(m_device->Boot(error)) << error;
    }

    static DWORD OwnerOf(const WCHAR* windowClass) {
        DWORD pid = 0;
        if (HWND window = FindWindowW(windowClass, nullptr))
            GetWindowThreadProcessId(window, &pid);
        return pid;
    }

    static ProcessPtr Process(DWORD pid) { return platform::ProcessTable::Instance().FindProcess(pid); }

    // Exit code of an ended process; STILL_ACTIVE while it runs.
    static DWORD ExitCode(const ProcessPtr& process) {
        std::lock_guard lock(platform::WaitHub::Instance().Mutex());
        return process->m_finished ? process->m_exitCode : DWORD(STILL_ACTIVE);
    }

    std::filesystem::path m_folder;
    platform::DeviceOptions m_options;
    std::unique_ptr<platform::Device> m_device;
};

TEST_F(Boot, ShellAndPhoneApplicationRunInTheirOwnProcesses) {
    BootDevice();
    DWORD shell = OwnerOf(u"HHTaskBar");
    DWORD phone = OwnerOf(u"MSCProg");
    ASSERT_NE(shell, 0u);
    ASSERT_NE(phone, 0u);
    EXPECT_NE(shell, phone);
    EXPECT_EQ(OwnerOf(u"DesktopExplorerWindow"), shell);
    EXPECT_EQ(Process(shell)->ImagePath(), u"\\Windows\\shell32.exe");
    EXPECT_EQ(Process(phone)->ImagePath(), u"\\Windows\\cprog.exe");
    // The shell started first, so the phone application finds its task bar.
    EXPECT_LT(shell, phone);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(u"MSCProg", nullptr)));
    RECT bar{};
    GetWindowRect(FindWindowW(u"HHTaskBar", nullptr), &bar);
    EXPECT_EQ(bar.top, 0);
    EXPECT_EQ(bar.right - bar.left, GetSystemMetrics(SM_CXSCREEN));
    // Their program files are visible on the device like any other.
    EXPECT_NE(GetFileAttributesW(u"\\Windows\\shell32.exe"), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(u"\\Windows\\cprog.exe"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Boot, WithoutTheMainProgramTheDeviceStillBoots) {
    BootDevice();
    EXPECT_EQ(FindWindowW(u"KIncCallWnd", nullptr), nullptr);
    EXPECT_EQ(platform::ProcessTable::Instance().Processes().size(), 2u);
}

TEST_F(Boot, ProgramsCanBeLeftOut) {
    m_options.startPlatformPrograms = false;
    BootDevice();
    EXPECT_EQ(FindWindowW(u"HHTaskBar", nullptr), nullptr);
    EXPECT_TRUE(platform::ProcessTable::Instance().Processes().empty());
}

TEST_F(Boot, ShutdownEndsThePlatformProgramsInOrder) {
    BootDevice();
    ProcessPtr shell = Process(OwnerOf(u"HHTaskBar"));
    ProcessPtr phone = Process(OwnerOf(u"MSCProg"));
    ASSERT_TRUE(shell && phone);
    auto started = std::chrono::steady_clock::now();
    m_device->Shutdown();
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(4));
    EXPECT_EQ(ExitCode(shell), 0u);
    EXPECT_EQ(ExitCode(phone), 0u);
}

// ---- a program of the test's own, to see what shutdown asks of it ----

std::mutex g_closedMutex;
std::vector<std::u16string> g_closed;

// Records WM_CLOSE and ignores it, as a program asking "save changes?" would.
LRESULT CALLBACK StubbornProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        WCHAR title[32] = {};
        GetWindowTextW(window, title, 32);
        std::lock_guard lock(g_closedMutex);
        g_closed.push_back(title);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI WorkerLoop(LPVOID) {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    }
    return 9;
}

// Two windows (the second topmost) and a worker thread with a message loop of its own.
int StubbornMain(HINSTANCE instance, LPWSTR, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = StubbornProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = u"Stubborn";
    RegisterClassW(&windowClass);
    CreateWindowExW(0, u"Stubborn", u"plain", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                    nullptr, instance, nullptr);
    CreateWindowExW(WS_EX_TOPMOST, u"Stubborn", u"topmost", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50,
                    nullptr, nullptr, instance, nullptr);
    HANDLE worker = CreateThread(nullptr, 0, WorkerLoop, nullptr, 0, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    WaitForSingleObject(worker, INFINITE);
    CloseHandle(worker);
    return 7;
}

TEST_F(Boot, ShutdownClosesWindowsTopmostFirstThenQuitsEveryThread) {
    m_options.startPlatformPrograms = false;
    platform::BuiltinPrograms::Register(u"\\Windows\\stubborn.exe", StubbornMain);
    BootDevice();
    DWORD error = 0;
    auto started = platform::ProcessLauncher::Start(u"\\Windows\\stubborn.exe", u"", SW_SHOW,
                                                    false, error);
    ASSERT_TRUE(started);
    platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(3000));
    ASSERT_EQ(platform::ProcessTable::Instance().ThreadsOf(started->process->Id()).size(), 2u);
    m_device->Shutdown();
    EXPECT_EQ(ExitCode(started->process), 7u) << "both threads left their message loops";
    std::lock_guard lock(g_closedMutex);
    EXPECT_EQ(g_closed, (std::vector<std::u16string>{u"topmost", u"plain"}));
}

} // namespace
