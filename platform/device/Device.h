// The simulated phone as a whole: its folder on the host, its options, and the boot
// and shutdown of every subsystem in order. One device runs per host process at a
// time; tests boot a fresh one in a temporary folder.
#pragma once

#include <filesystem>
#include <string>

namespace platform {

struct DeviceOptions {
    std::filesystem::path folder;    // the device folder on the host
    bool reset = false;              // rebuild the device folder from the factory image
    int screenWidth = 240;
    int screenHeight = 320;
    bool headless = true;
    std::string oem = "Dialora Phone"; // SPI_GETOEMINFO
    int ledCount = 2;                  // notification LEDs; LED 1 drives the vibrator
    // Host folder whose files are installed into "\Program Files\Tavik Dialora" at
    // every boot (the built deliverables); empty installs nothing.
    std::filesystem::path installFrom;
    bool startPlatformPrograms = true; // the shell and the phone application
    bool startMainProgram = true;      // "\Program Files\Tavik Dialora\Corvane.exe -startup"
    bool factoryContacts = true;       // a new contact store gets the sample phone book
};

class Device {
public:
    explicit Device(DeviceOptions options);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    // The running device, or null.
    static Device* Current();

    // Returns false with a reason when the device cannot start.
    bool Boot(std::string& error);
    // Orderly shutdown: every process gets its normal shutdown, the registry is saved.
    void Shutdown();
    bool IsRunning() const { return m_running; }

    const DeviceOptions& Options() const { return m_options; }
    std::filesystem::path FsRoot() const { return m_options.folder / "fs"; }
    std::filesystem::path RegistryFile() const { return m_options.folder / "registry.reg"; }
    std::filesystem::path DataFolder() const { return m_options.folder / "data"; }

    // Default device folder: $XDG_DATA_HOME/dialora/device (or ~/.local/share/...).
    static std::filesystem::path DefaultFolder();

private:
    bool CreateFolders(std::string& error);
    void EndProcesses();

    DeviceOptions m_options;
    bool m_running = false;
};

} // namespace platform
