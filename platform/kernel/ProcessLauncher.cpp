#include "kernel/ProcessLauncher.h"

#include "ce/files.h"
#include "ce/kernel.h"
#include "files/DevicePath.h"
#include "kernel/BuiltinPrograms.h"
#include "kernel/ModuleLoader.h"
#include "kernel/ModuleSpace.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"

namespace platform {

namespace {

// The body of a main thread: the program's entry point with its own copy of the
// command line (WinMain may write into it).
std::function<DWORD()> MainThreadBody(HINSTANCE instance, std::u16string commandLine, int show,
                                      std::optional<BuiltinEntry> builtin, CE_WINMAIN winMain) {
    return [=, commandLine = std::move(commandLine)]() mutable -> DWORD {
        if (builtin)
            return DWORD((*builtin)(instance, commandLine.data(), show));
        return DWORD(winMain(instance, nullptr, commandLine.data(), show));
    };
}

} // namespace

std::optional<ResolvedPath> ProcessLauncher::ResolveProgram(std::u16string_view program,
                                                            DWORD& error) {
    if (program.empty()) {
        error = ERROR_FILE_NOT_FOUND;
        return std::nullopt;
    }
    error = ERROR_FILE_NOT_FOUND;
    for (const auto& candidate : ModuleLoader::Candidates(program, u"\\", u".exe")) {
        DWORD lookupError = ERROR_SUCCESS;
        auto resolved = FileSystem::Lookup(candidate, lookupError);
        if (resolved && resolved->exists && !resolved->isDirectory)
            return resolved;
        if (!resolved && DevicePath::HasSeparator(program))
            error = lookupError;
    }
    return std::nullopt;
}

std::optional<ProcessLauncher::Started> ProcessLauncher::Start(std::u16string_view program,
                                                               std::u16string_view arguments,
                                                               int showCommand, bool suspended,
                                                               DWORD& error) {
    auto resolved = ResolveProgram(program, error);
    if (!resolved)
        return std::nullopt;
    auto space = std::make_shared<ModuleSpace>();
    auto builtin = BuiltinPrograms::Find(resolved->device);
    CE_WINMAIN winMain = nullptr;
    if (builtin) {
        space->Insert(Module::ImageOnly(resolved->device), true);
    } else {
        auto module = Module::Load(resolved->host, resolved->device, error);
        if (!module)
            return std::nullopt;
        winMain = reinterpret_cast<CE_WINMAIN>(module->Symbol("WinMain"));
        if (!winMain) {
            error = ERROR_BAD_EXE_FORMAT;
            return std::nullopt;
        }
        space->Insert(std::move(module), true);
    }
    auto process = ProcessTable::Instance().CreateProcessRecord(resolved->device, std::u16string(arguments));
    ModuleSpace::Attach(*process, space);
    auto body = MainThreadBody(space->Program(), std::u16string(arguments), showCommand,
                               std::move(builtin), winMain);
    auto thread = ProcessTable::Instance().StartThread(process, std::move(body), suspended);
    Trace("kernel", "process %lu started: %s", (unsigned long)process->Id(),
          ToUtf8(resolved->device).c_str());
    return Started{process, thread};
}

std::pair<std::u16string, std::u16string> ProcessLauncher::SplitCommandLine(std::u16string_view commandLine) {
    size_t start = commandLine.find_first_not_of(u' ');
    if (start == std::u16string_view::npos)
        return {};
    commandLine.remove_prefix(start);
    auto rest = [&](size_t from) {
        size_t begin = commandLine.find_first_not_of(u' ', from);
        return begin == std::u16string_view::npos ? std::u16string() : std::u16string(commandLine.substr(begin));
    };
    if (commandLine.front() == u'"') {
        size_t close = commandLine.find(u'"', 1);
        if (close == std::u16string_view::npos)
            return {std::u16string(commandLine.substr(1)), {}};
        return {std::u16string(commandLine.substr(1, close - 1)), rest(close + 1)};
    }
    for (size_t space = commandLine.find(u' '); space != std::u16string_view::npos;
         space = commandLine.find(u' ', space + 1)) {
        DWORD error = ERROR_SUCCESS;
        if (ResolveProgram(commandLine.substr(0, space), error))
            return {std::u16string(commandLine.substr(0, space)), rest(space)};
    }
    size_t space = commandLine.find(u' ');
    if (space == std::u16string_view::npos)
        return {std::u16string(commandLine), {}};
    return {std::u16string(commandLine.substr(0, space)), rest(space)};
}

bool ProcessLauncher::WaitForExit(const std::shared_ptr<ProcessObject>& process, DWORD timeoutMs,
                                  DWORD& exitCode) {
    auto& hub = WaitHub::Instance();
    std::unique_lock lock(hub.Mutex());
    std::optional<HostClock::time_point> deadline;
    if (timeoutMs != INFINITE)
        deadline = HostClock::now() + std::chrono::milliseconds(timeoutMs);
    if (!hub.Wait(lock, [&] { return process->m_finished; }, deadline))
        return false;
    exitCode = process->m_exitCode;
    return true;
}

} // namespace platform
