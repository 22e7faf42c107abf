// The device as a program: boots the simulated phone from the command line's options,
// serves its console (socket always; standard input or a scenario file as asked) and
// shuts everything down in order on `quit`, end of input, SIGINT or SIGTERM.
#pragma once

#include "console/Console.h"
#include "device/Device.h"
#include "display/SdlScreen.h"
#include "host/HostOptions.h"

namespace host {

class Host {
public:
    explicit Host(HostOptions options) : m_options(std::move(options)) {}

    // The process's exit status.
    int Run();

private:
    platform::DeviceOptions MakeDeviceOptions() const;
    // Headless when asked for or when no display is available.
    bool ChooseHeadless() const;
    // Runs the console sources the options ask for; returns the exit status.
    int ServeConsole(bool headless);
    // The phone window on this (the main) thread, the console sources on another.
    int RunWithWindow(platform::SdlScreen& screen);
    int RunScript();
    void ServeStandardInput();
    void WaitForShutdown();

    HostOptions m_options;
    platform::Console m_console;
    std::string m_folder;     // for the ready line
    std::string m_socketPath;
};

} // namespace host
