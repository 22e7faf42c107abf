// dialora-host: the simulated phone, or (`dialora-host console`) a client of its console.
#include "device/Device.h"
#include "host/ConsoleClient.h"
#include "host/Host.h"
#include "host/HostOptions.h"

#include <cstdio>

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    host::HostOptions options;
    std::string error;
    if (!host::HostOptions::Parse(args, options, error)) {
        std::fprintf(stderr, "dialora: %s\n", error.c_str());
        return 2;
    }
    if (options.help) {
        std::fputs(host::HostOptions::Usage().c_str(), stdout);
        return 0;
    }
    if (options.clientMode)
        return host::ConsoleClient::Run(options.device.empty() ? platform::Device::DefaultFolder()
                                                               : options.device);
    return host::Host(options).Run();
}
