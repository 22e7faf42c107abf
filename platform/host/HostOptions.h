// The command line of dialora-host.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace host {

struct HostOptions {
    bool clientMode = false; // `console` as the first argument: talk to a running device
    std::filesystem::path device; // empty: the default device folder
    bool reset = false;
    int screenWidth = 240;
    int screenHeight = 320;
    bool headless = false;
    int scale = 1;       // the phone window shows each screen pixel as scale x scale
    bool frame = true;   // the phone body with its hardware keys around the screen
    bool console = false;
    std::filesystem::path script;
    std::string oem;
    bool trace = false;
    bool help = false;

    // Returns false with a reason for the user.
    static bool Parse(const std::vector<std::string>& args, HostOptions& options,
                      std::string& error);
    static std::string Usage();
};

} // namespace host
