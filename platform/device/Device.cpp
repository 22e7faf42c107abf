#include "device/Device.h"

#include "device/LedBank.h"
#include "files/FactoryTree.h"
#include "kernel/BuiltinPrograms.h"
#include "kernel/ModuleLoader.h"
#include "gdi/Gdi.h"
#include "display/Display.h"
#include "imaging/ImagingFactory.h"

#include "kernel/DeviceClock.h"
#include "shell/RegistryLaunchNames.h"
#include "kernel/HandleTable.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "notify/WakeupTable.h"
#include "registry/Registry.h"
#include "sound/WaveDevice.h"
#include "user/WindowManager.h"

#include <cstdlib>

namespace platform {

namespace {
Device* g_current = nullptr;
}

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
    // COM classes: the Imaging API's factory for CoCreateInstance.
    ImagingFactory::RegisterClass();
    // Window manager: screen size, thread and process exit hooks, timers.
    if (!WindowManager::Instance().Boot(m_options, error)) {
        WakeupTable::Instance().Shutdown();
        g_current = nullptr;
        return false;
    }
    m_running = true;
    Trace("device", "booted %s", m_options.folder.c_str());
    return true;
}

void Device::EndProcesses() {
    // Threads are never killed: every program is asked to end and given time to do so.
    if (!ProcessTable::Instance().WaitForAllThreads(5000))
        Trace("device", "threads still running at shutdown");
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
