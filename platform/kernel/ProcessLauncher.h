// Starts emulated processes: resolves the program, creates the process record, loads
// the program's private module instance (or picks a registered platform program) and
// starts the main thread, which calls the program's exported "WinMain". Used by
// CreateProcessW, ShellExecuteExW and the console.
#pragma once

#include "ce/types.h"
#include "files/FileSystem.h"
#include "kernel/ProcessObject.h"
#include "kernel/ThreadObject.h"

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace platform {

class ProcessLauncher {
public:
    // Show state handed to WinMain when the caller names none (SW_SHOW).
    static constexpr int kShowDefault = 5;

    struct Started {
        std::shared_ptr<ProcessObject> process;
        std::shared_ptr<ThreadObject> mainThread;
    };

    // Starts `program`: a device path, or a bare name looked up in the root and then in
    // "\Windows"; ".exe" is appended when the name has no extension. `arguments` is the
    // command line WinMain receives. Returns nullopt with `error` set: ERROR_FILE_NOT_FOUND
    // or ERROR_PATH_NOT_FOUND when there is no such program, ERROR_BAD_EXE_FORMAT when
    // the file is not a module or exports no WinMain.
    static std::optional<Started> Start(std::u16string_view program, std::u16string_view arguments,
                                        int showCommand, bool suspended, DWORD& error);

    // The program file `program` names (see Start), or nullopt with `error` set.
    static std::optional<ResolvedPath> ResolveProgram(std::u16string_view program, DWORD& error);

    // Splits "program args" into the program and the rest. A quoted program may hold
    // spaces; an unquoted one ends at the first space after which the text before it
    // names an existing program ("\Program Files\Tavik Dialora\Corvane.exe -startup"),
    // else at the first space.
    static std::pair<std::u16string, std::u16string> SplitCommandLine(std::u16string_view commandLine);

    // Waits up to `timeoutMs` (INFINITE allowed) for `process` to end; true with its
    // exit code when it ended.
    static bool WaitForExit(const std::shared_ptr<ProcessObject>& process, DWORD timeoutMs,
                            DWORD& exitCode);
};

} // namespace platform
