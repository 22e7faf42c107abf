#include "host/HostOptions.h"

#include <array>
#include <utility>

namespace host {

namespace {

// The screens of the phones the deliverables support.
constexpr std::array<std::pair<int, int>, 7> kScreens = {
    {{240, 320}, {320, 240}, {480, 640}, {640, 480}, {800, 480}, {240, 240}, {480, 480}}};

std::string ScreenList() {
    std::string list;
    for (auto [width, height] : kScreens)
        list += (list.empty() ? "" : ", ") + std::to_string(width) + "x" + std::to_string(height);
    return list;
}

bool ParseScreen(const std::string& text, HostOptions& options) {
    for (auto [width, height] : kScreens) {
        if (text == std::to_string(width) + "x" + std::to_string(height)) {
            options.screenWidth = width;
            options.screenHeight = height;
            return true;
        }
    }
    return false;
}

// Splits "--name=value"; `value` gets the part after '=' when there is one.
std::string OptionName(const std::string& arg, std::string& value, bool& inlineValue) {
    size_t equals = arg.find('=');
    inlineValue = arg.rfind("--", 0) == 0 && equals != std::string::npos;
    if (!inlineValue)
        return arg;
    value = arg.substr(equals + 1);
    return arg.substr(0, equals);
}

bool ApplyValue(const std::string& name, const std::string& value, HostOptions& options,
                std::string& error) {
    if (value.empty() && name != "--oem") {
        error = name + " needs a value";
        return false;
    }
    if (name == "--device") {
        options.device = value;
    } else if (name == "--screen") {
        if (!ParseScreen(value, options)) {
            error = "unsupported screen " + value + "; supported: " + ScreenList();
            return false;
        }
    } else if (name == "--scale") {
        if (value != "1" && value != "2") {
            error = "unsupported scale " + value + "; supported: 1, 2";
            return false;
        }
        options.scale = value[0] - '0';
    } else if (name == "--script") {
        options.script = value;
    } else if (name == "--oem") {
        options.oem = value;
    }
    return true;
}

bool ApplyFlag(const std::string& name, HostOptions& options) {
    if (name == "--reset")
        options.reset = true;
    else if (name == "--headless")
        options.headless = true;
    else if (name == "--frame")
        options.frame = true;
    else if (name == "--no-frame")
        options.frame = false;
    else if (name == "--console")
        options.console = true;
    else if (name == "--trace")
        options.trace = true;
    else if (name == "--help" || name == "-h")
        options.help = true;
    else
        return false;
    return true;
}

bool TakesValue(const std::string& name, bool clientMode) {
    if (clientMode)
        return name == "--device";
    return name == "--device" || name == "--screen" || name == "--script" || name == "--oem" ||
           name == "--scale";
}

} // namespace

bool HostOptions::Parse(const std::vector<std::string>& args, HostOptions& options,
                        std::string& error) {
    size_t i = 0;
    if (!args.empty() && args[0] == "console") {
        options.clientMode = true;
        i = 1;
    }
    for (; i < args.size(); ++i) {
        std::string value;
        bool inlineValue = false;
        std::string name = OptionName(args[i], value, inlineValue);
        if (TakesValue(name, options.clientMode)) {
            if (!inlineValue) {
                if (i + 1 >= args.size()) {
                    error = name + " needs a value";
                    return false;
                }
                value = args[++i];
            }
            if (!ApplyValue(name, value, options, error))
                return false;
            continue;
        }
        bool known = !inlineValue && (options.clientMode ? name == "--help" || name == "-h"
                                                         : ApplyFlag(name, options));
        if (!known) {
            error = "unknown option " + args[i] + " (see --help)";
            return false;
        }
        options.help = options.help || options.clientMode;
    }
    return true;
}

std::string HostOptions::Usage() {
    return "usage: dialora-host [OPTIONS]\n"
           "       dialora-host console [--device DIR]\n"
           "Runs the simulated phone, or talks to a running one's console.\n"
           "  --device DIR   device folder (default $XDG_DATA_HOME/dialora/device)\n"
           "  --reset        rebuild the device folder from the factory image\n"
           "  --screen WxH   screen size: " + ScreenList() + " (default 240x320)\n"
           "  --headless     no window; the screen lives in memory\n"
           "  --scale 1|2    the phone window at 1x (default) or 2x\n"
           "  --frame        show the phone body with its keys around the screen (the default)\n"
           "  --no-frame     show the screen alone\n"
           "  --console      console commands on standard input\n"
           "  --script FILE  run a scenario file, then shut down (exit status 0 when it passed)\n"
           "  --oem TEXT     the device's OEM name\n"
           "  --trace        trace platform events on standard error\n"
           "  --help         this text\n"
           "The console also listens on DIR/console.sock; `dialora-host console` connects to it,\n"
           "sends the lines of standard input and prints the answers.\n";
}

} // namespace host
