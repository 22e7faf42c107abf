// The platform's own programs as the device starts them at boot: the shell (desktop and
// task bar) and the phone application, each an emulated process of its own, as on the
// device. The product looks for their windows ("HHTaskBar", "MSCProg"), so boot waits
// until those exist before the main program starts.
#pragma once

#include <string>

namespace platform {

class PlatformPrograms {
public:
    // Registers the shell and the phone application with BuiltinPrograms (their marker
    // files appear in "\Windows"). Harmless to call again at every boot.
    static void Register();
    // Starts the shell, waits for its task bar, then the phone application and waits for
    // its window. False with a reason when a program does not come up in time.
    static bool Start(std::string& error);
};

} // namespace platform
