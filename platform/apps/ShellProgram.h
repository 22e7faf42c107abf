// The platform's shell: the desktop (the Today background, class
// "DesktopExplorerWindow") covering the screen and the task bar (class "HHTaskBar")
// along its top. It runs as an emulated process of its own, as on the device.
#pragma once

#include "ce/types.h"

namespace platform {

class ShellProgram {
public:
    static constexpr const char16_t* kImagePath = u"\\Windows\\shell32.exe";

    // Entry point of the shell process.
    static int Main(HINSTANCE instance, const WCHAR* commandLine);
    // Height of the task bar for the current screen.
    static int TaskBarHeight();
};

} // namespace platform
