#include "device/Device.h"

#include "apps/PlatformPrograms.h"
#include "ce/user.h"
#include "device/LedBank.h"
#include "display/Display.h"
#include "files/FactoryTree.h"
#include "files/FileSystem.h"
#include "gdi/Gdi.h"
#include "imaging/ImagingFactory.h"
#include "kernel/BuiltinPrograms.h"
#include "kernel/DeviceClock.h"
#include "kernel/HandleTable.h"
#include "kernel/ModuleLoader.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"
#include "notify/WakeupTable.h"
#include "phone/OutgoingCalls.h"
#include "pim/CallLogStore.h"
#include "pim/PimStartup.h"
#include "pim/SimCard.h"
#include "registry/Registry.h"
#include "shell/RegistryLaunchNames.h"
#include "shell/MenuBar.h"
#include "shell/ShellChrome.h"
#include "sound/WaveDevice.h"
#include "user/WindowManager.h"

#include <cstdlib>

namespace platform {

namespace {

Device* g_current = nullptr;

constexpr const char16_t* kMainProgram = u"\\Program Files\\Tavik Dialora\\Corvane.exe";
// How long shutdown waits for the programs to end, and boot for the main program to settle.
constexpr DWORD kEndTimeoutMs = 5000;
constexpr auto kSettleTimeout = std::chrono::milliseconds(5000);
constexpr auto kCloseSettleTimeout = std::chrono::milliseconds(1000);

// Runs the main program as the device does at boot. A device without it still boots.
void StartMainProgram() {
    DWORD error = 0;
    auto found = FileSystem::Lookup(kMainProgram, error);
    if (!found || !found->exists) {
        Trace("device", "no main program at %s; booting without it", ToUtf8(kMainProgram).c_str());
        return;
    }
    auto started = ProcessLauncher::Start(kMainProgram, u"-startup", ProcessLauncher::kShowDefault,
                                          false, error);
    if (!started) {
        Trace("device", "the main program did not start (error %lu)", (unsigned long)error);
        return;
    }
    // Its watcher window exists once the device is at rest again.
    WaitHub::Instance().WaitIdle(kSettleTimeout);
    DWORD exitCode = 0;
    if (ProcessLauncher::WaitForExit(started->process, 0, exitCode))
        Trace("device", "the main program ended at boot with exit code 0x%lX", (unsigned long)exitCode);
}

// Every emulated thread of every running process, the platform's own included.
std::vector<std::shared_ptr<ThreadObject>> RunningThreads() {
    auto& table = ProcessTable::Instance();
    std::vector<std::shared_ptr<ThreadObject>> threads;
    auto processes = table.Processes();
    processes.push_back(table.SystemProcess());
    for (const auto& process : processes)
        for (auto& thread : table.ThreadsOf(process->Id()))
            if (thread->IsEmulated())
                threads.push_back(std::move(thread));
    return threads;
}

} // namespace

Device::Device(DeviceOptions options) : m_options(std::move(options)) {}

Device::~Device() {
    if (m_running)
        Shutdown();
}

Device* Device::Current() { return g_current; }

std::filesystem::path Device::DefaultFolder() {
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "dialora" / "device";
    const char* home = std::getenv("HOME");
    return std::filesystem::path(home ? home : "/tmp") / ".local" / "share" / "dialora" / "device";
}

bool Device::CreateFolders(std::string& error) {
    std::error_code ec;
    if (m_options.reset)
        std::filesystem::remove_all(m_options.folder, ec);
    std::filesystem::create_directories(FsRoot(), ec);
    std::filesystem::create_directories(DataFolder(), ec);
    if (ec) {
        error = "cannot create the device folder " + m_options.folder.string() + ": " + ec.message();
        return false;
    }
    return true;
}

bool Device::Boot(std::string& error) {
    if (g_current) {
        error = "a device is already running in this process";
        return false;
    }
    if (!WindowManager::IsSupportedScreen(m_options.screenWidth, m_options.screenHeight)) {
        error = "unsupported screen size " + std::to_string(m_options.screenWidth) + "x" +
                std::to_string(m_options.screenHeight);
        return false;
    }
    if (!CreateFolders(error))
        return false;
    // Files: the factory folders and the installed deliverables.
    if (!FactoryTree::Build(FsRoot(), m_options.installFrom, error))
        return false;
    g_current = this;
    DeviceClock::Instance().Reset();
    LedBank::Instance().Reset(m_options.ledCount);
    // Modules and processes: platform program markers, unloading at process end.
    BuiltinPrograms::WriteMarkers();
    ModuleLoader::InstallProcessExitHook();
    // Registry: loaded (or factory values) before any program runs.
    Registry::Instance().Boot(RegistryFile());
    InstallRegistryLaunchNames();
    // Sound: the wave device takes over the stored system volume.
    WaveDevice::Instance().Boot();
    // Notifications: timed wake-ups on the device clock.
    WakeupTable::Instance().Boot();
    // PIM volume: the contact store and call log file "\\pim.vol" in the data folder.
    BootPim(DataFolder(), m_options.factoryContacts);
    // Call log: the "clog.db" tables in the PIM volume (a new volume gets recent calls).
    CallLogStore::Instance().Boot();
    // SIM card: its phonebook store "sim.db" and the radio's ready state.
    SimCard::Instance().Boot(DataFolder());
    // COM classes: the Imaging API's factory for CoCreateInstance.
    ImagingFactory::RegisterClass();
    // Window manager: screen size, thread and process exit hooks, timers.
    if (!WindowManager::Instance().Boot(m_options, error)) {
        WakeupTable::Instance().Shutdown();
        g_current = nullptr;
        return false;
    }
    m_running = true;
    // Shell: task bar, Start icon and input panel button shown; no call waits to be dialled.
    ShellChrome::Instance().Reset();
    OutgoingCalls::Instance().Clear();
    // Programs: the platform's own first, then the main program, as the device starts them.
    PlatformPrograms::Register();
    if (m_options.startPlatformPrograms && !PlatformPrograms::Start(error)) {
        Shutdown();
        return false;
    }
    if (m_options.startMainProgram)
        StartMainProgram();
    Trace("device", "booted %s", m_options.folder.c_str());
    return true;
}

void Device::EndProcesses() {
    // Threads are never killed: every program is asked to end the way it would be on the
    // device and given time to do so. First its windows are closed, topmost first (the
    // main program ends in order when its watcher is closed) ...
    for (const WindowInfo& window : WindowManager::Instance().ListTopLevel())
        PostMessageW(window.hwnd, WM_CLOSE, 0, 0);
    WaitHub::Instance().WaitIdle(kCloseSettleTimeout);
    // ... then every thread still running is told to leave its message loop.
    for (const auto& thread : RunningThreads())
        PostThreadMessageW(thread->Id(), WM_QUIT, 0, 0);
    if (ProcessTable::Instance().WaitForAllThreads(kEndTimeoutMs))
        return;
    for (const auto& thread : RunningThreads())
        Trace("device", "thread %lu of %s still running at shutdown", (unsigned long)thread->Id(),
              ToUtf8(thread->Process()->Name()).c_str());
}

void Device::Shutdown() {
    if (!m_running)
        return;
    EndProcesses();
    ModuleLoader::UnloadKernelModules();
    // Notifications: no wake-up outlives the programs that registered it.
    WakeupTable::Instance().Shutdown();
    // Registry: saved after the programs ended, so their last changes are kept.
    Registry::Instance().Shutdown();
    // PIM volume: closed once no program can reach it.
    CallLogStore::Instance().Shutdown();
    ShutdownPim();
    SimCard::Instance().Shutdown();
    // Shell: the menu bars still open go with their windows.
    MenuBar::ForgetAll();
    // Window manager: forgets every window, queue and class of this boot.
    WindowManager::Instance().Shutdown();
    ShutdownGdi();
    Display::Instance().Reset(); // display: the last composed frame goes with this boot
    HandleTable::Instance().Clear();
    ProcessTable::Instance().Reset();
    m_running = false;
    g_current = nullptr;
}

} // namespace platform
