#include "shell/ShellLauncher.h"

#include "ce/shell.h"
#include "files/DevicePath.h"
#include "kernel/Utf.h"
#include "shell/LaunchNames.h"

namespace platform {

namespace {

// Only programs can be started: there are no document associations on this device.
bool IsProgram(std::u16string_view path) {
    std::u16string_view name = DevicePath::FileName(path);
    return !DevicePath::HasExtension(name) ||
           (name.size() > 4 && EqualsNoCase(name.substr(name.size() - 4), u".exe"));
}

} // namespace

std::optional<ProcessLauncher::Started> ShellLauncher::Start(std::u16string_view target,
                                                             std::u16string_view arguments,
                                                             int showCommand, DWORD& error) {
    std::u16string program(target);
    std::u16string commandLine;
    if (!target.empty() && target.front() == u':') {
        auto resolved = LaunchNames::Resolve(target);
        if (!resolved) {
            error = ERROR_FILE_NOT_FOUND;
            return std::nullopt;
        }
        std::tie(program, commandLine) = ProcessLauncher::SplitCommandLine(*resolved);
    }
    if (!arguments.empty()) {
        if (!commandLine.empty())
            commandLine += u' ';
        commandLine += arguments;
    }
    if (program.empty()) {
        error = ERROR_FILE_NOT_FOUND;
        return std::nullopt;
    }
    if (!IsProgram(program)) {
        error = ERROR_NO_ASSOCIATION;
        return std::nullopt;
    }
    return ProcessLauncher::Start(program, commandLine, showCommand, false, error);
}

} // namespace platform
