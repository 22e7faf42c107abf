// The device as a program: boots the simulated phone from the command line's options,
// serves its console (socket always; standard input or a scenario file as asked) and
// shuts everything down in order on `quit`, end of input, SIGINT or SIGTERM.
#pragma once

#include "console/Console.h"
#include "device/Device.h"
#include "host/HostOptions.h"

namespace host {

class Host {
public:
    explicit Host(HostOptions options) : m_options(std::move(options)) {}

    // The process's exit status.
    int Run();

private:
    platform::DeviceOptions MakeDeviceOptions() const;
    // Decides whether a window would be shown; today every run is headless.
    bool ChooseHeadless() const;
    int RunScript();
    void ServeStandardInput();
    void WaitForShutdown();

    HostOptions m_options;
    platform::Console m_console;
};

} // namespace host
