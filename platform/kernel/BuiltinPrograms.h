// The platform's own programs (the shell, the phone application, ...): entry functions
// registered under a device path such as "\Windows\shell32.exe". The device file system
// holds a small marker file at that path, so that listings and FindFirstFileW see the
// program; CreateProcessW of the path runs the registered function on the new
// process's main thread instead of loading a module.
#pragma once

#include "ce/types.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Called like WinMain; the result is the process's exit code.
using BuiltinEntry = std::function<int(HINSTANCE instance, LPWSTR commandLine, int showCommand)>;

class BuiltinPrograms {
public:
    // Registers (or replaces) the program at `devicePath`. With a device running, the
    // marker file is written at once; otherwise at the next boot.
    static void Register(std::u16string devicePath, BuiltinEntry entry);
    // The program registered at `devicePath` (compared without regard to case).
    static std::optional<BuiltinEntry> Find(std::u16string_view devicePath);
    // Boot step: writes the marker file of every registered program.
    static void WriteMarkers();
};

} // namespace platform
