// run [--wait] NAME [ARGS...] and ps: starting programs the way the shell does and
// listing the running ones.
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/ProcessTable.h"
#include "kernel/Utf.h"
#include "shell/ShellLauncher.h"

#include <chrono>

namespace platform {

namespace {

constexpr int kShowNormal = 5; // SW_SHOW
// `run --wait` looks for a quit request this often, so a shutdown is never held up.
constexpr DWORD kWaitSliceMs = 100;

// The command line a program receives: the console's arguments joined by blanks, an
// argument with blanks kept together in quotes.
std::u16string JoinArguments(const Console::Arguments& args, size_t first) {
    std::string line;
    for (size_t i = first; i < args.size(); ++i) {
        if (!line.empty())
            line += ' ';
        line += Tokenizer::Quote(args[i]);
    }
    return FromUtf8(line);
}

CommandResult Run(Console& console, const Console::Arguments& args, ConsoleOutput& out) {
    bool wait = !args.empty() && args[0] == "--wait";
    size_t nameAt = wait ? 1 : 0;
    if (args.size() <= nameAt || args[nameAt].empty())
        return CommandResult::Usage();
    DWORD error = 0;
    auto started = ShellLauncher::Start(FromUtf8(args[nameAt]), JoinArguments(args, nameAt + 1),
                                        kShowNormal, error);
    if (!started)
        return CommandResult::Error(ConsoleFormat::ErrorText(error) + ": " + args[nameAt]);
    if (!wait) {
        out.Printf("pid %lu", (unsigned long)started->process->Id());
        return CommandResult::Ok();
    }
    DWORD exitCode = 0;
    while (!ProcessLauncher::WaitForExit(started->process, kWaitSliceMs, exitCode))
        if (console.QuitRequested())
            return CommandResult::Error("shutting down");
    out.Printf("exit 0x%lX", (unsigned long)exitCode);
    return CommandResult::Ok();
}

CommandResult Ps(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    for (const auto& process : ProcessTable::Instance().Processes())
        out.Printf("%lu %s %s", (unsigned long)process->Id(), ConsoleFormat::Word(process->Name()).c_str(),
                   ConsoleFormat::Quoted(process->CommandLine()).c_str());
    return CommandResult::Ok();
}

} // namespace

void RegisterProgramCommands(Console& console) {
    console.Register("run", "[--wait] NAME [ARGS...]", [&console](const auto& args, ConsoleOutput& out) {
        return Run(console, args, out);
    });
    console.Register("ps", "", Ps);
}

} // namespace platform
