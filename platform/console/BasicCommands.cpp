// help, quit, idle and wait: the commands every console source needs.
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/WaitHub.h"

namespace platform {

namespace {

constexpr int64_t kDefaultIdleMs = 5000;
constexpr int64_t kMaxIdleMs = 10 * 60 * 1000;
constexpr int64_t kMaxWaitMs = 24 * 60 * 60 * 1000;

CommandResult Help(Console& console, const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() > 1)
        return CommandResult::Usage();
    bool any = false;
    for (const Console::CommandInfo& command : console.Commands()) {
        // "help time" lists the time commands, "help" all of them.
        if (!args.empty() && command.name != args[0] &&
            command.name.compare(0, args[0].size() + 1, args[0] + ' ') != 0)
            continue;
        out.Line(command.usage.empty() ? command.name : command.name + " " + command.usage);
        any = true;
    }
    return any ? CommandResult::Ok() : CommandResult::Error("unknown command: " + args[0]);
}

CommandResult Idle(const Console& console, const Console::Arguments& args, ConsoleOutput&) {
    int64_t ms = kDefaultIdleMs;
    if (args.size() > 1 || (args.size() == 1 && !Tokenizer::ParseNumber(args[0], 0, kMaxIdleMs, ms)))
        return CommandResult::Usage();
    if (!WaitHub::Instance().WaitIdle(std::chrono::milliseconds(ms), console.QuitFlag()))
        return CommandResult::Error(console.QuitRequested() ? "shutting down" : "busy");
    return CommandResult::Ok();
}

CommandResult Wait(Console& console, const Console::Arguments& args, ConsoleOutput&) {
    int64_t ms = 0;
    if (args.size() != 1 || !Tokenizer::ParseNumber(args[0], 0, kMaxWaitMs, ms))
        return CommandResult::Usage();
    if (!console.SleepUnlessQuit(std::chrono::milliseconds(ms)))
        return CommandResult::Error("shutting down");
    return CommandResult::Ok();
}

} // namespace

void RegisterBasicCommands(Console& console) {
    console.Register("help", "[COMMAND]", [&console](const auto& args, ConsoleOutput& out) {
        return Help(console, args, out);
    });
    console.Register("quit", "", [&console](const auto& args, ConsoleOutput&) {
        if (!args.empty())
            return CommandResult::Usage();
        console.RequestQuit();
        return CommandResult::Ok();
    });
    console.Register("idle", "[MS]", [&console](const auto& args, ConsoleOutput& out) {
        return Idle(console, args, out);
    });
    console.Register("wait", "MS", [&console](const auto& args, ConsoleOutput& out) {
        return Wait(console, args, out);
    });
}

} // namespace platform
