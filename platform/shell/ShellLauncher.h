// Starts a program the way the shell does: by launch name (":Corvane") or by device
// path, with extra arguments. ShellExecuteExW and the console's start command use it.
#pragma once

#include "ce/types.h"
#include "kernel/ProcessLauncher.h"

#include <optional>
#include <string_view>

namespace platform {

class ShellLauncher {
public:
    // Starts `target` with `arguments` appended to the arguments a launch name carries.
    // Returns nullopt with `error` set: ERROR_FILE_NOT_FOUND for an unknown launch name
    // or program, ERROR_NO_ASSOCIATION for a file that is not a program,
    // ERROR_BAD_EXE_FORMAT for a program that cannot run.
    static std::optional<ProcessLauncher::Started> Start(std::u16string_view target,
                                                         std::u16string_view arguments,
                                                         int showCommand, DWORD& error);
};

} // namespace platform
