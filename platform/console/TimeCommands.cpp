// time get | set | freeze | run | advance: the device clock from the console. Times are the
// device's local time written as YYYY-MM-DDTHH:MM:SS.
#include "ce/kernel.h"
#include "ce/user.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/DeviceClock.h"

#include <cstdio>

namespace platform {

namespace {

// How long each stop of `time advance` waits for the device to settle.
constexpr int kSettleMs = 2000;
// A century of seconds keeps the millisecond count far from overflow.
constexpr int64_t kMaxAdvanceSeconds = int64_t(100) * 366 * 24 * 3600;

CommandResult Get(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    SYSTEMTIME now;
    GetLocalTime(&now);
    out.Printf("%04u-%02u-%02uT%02u:%02u:%02u", now.wYear, now.wMonth, now.wDay, now.wHour,
               now.wMinute, now.wSecond);
    return CommandResult::Ok();
}

CommandResult Set(const Console::Arguments& args, ConsoleOutput&) {
    if (args.size() != 1)
        return CommandResult::Usage();
    SYSTEMTIME time;
    if (!Tokenizer::ParseLocalTime(args[0], time) || !SetLocalTime(&time))
        return CommandResult::Error("invalid time: " + args[0]);
    // As the device's clock settings do: windows that show the time re-arm their timers.
    PostMessageW(HWND_BROADCAST, WM_TIMECHANGE, 0, 0);
    return CommandResult::Ok();
}

CommandResult Advance(const Console& console, const Console::Arguments& args, ConsoleOutput&) {
    int64_t seconds = 0;
    if (args.size() != 1 || !Tokenizer::ParseNumber(args[0], 0, kMaxAdvanceSeconds, seconds))
        return CommandResult::Usage();
    // Stepwise, so that every timer and scheduled event due on the way fires at its time.
    if (!DeviceClock::Instance().AdvanceStepwise(seconds * 1000, kSettleMs, console.QuitFlag()))
        return CommandResult::Error("shutting down");
    return CommandResult::Ok();
}

// A command that takes no arguments and only calls `action`.
Console::Handler Plain(void (*action)()) {
    return [action](const Console::Arguments& args, ConsoleOutput&) {
        if (!args.empty())
            return CommandResult::Usage();
        action();
        return CommandResult::Ok();
    };
}

} // namespace

void RegisterTimeCommands(Console& console) {
    console.Register("time get", "", Get);
    console.Register("time set", "YYYY-MM-DDTHH:MM:SS", Set);
    console.Register("time freeze", "", Plain([] { DeviceClock::Instance().Freeze(); }));
    console.Register("time run", "", Plain([] { DeviceClock::Instance().Run(); }));
    console.Register("time advance", "SECONDS", [&console](const auto& args, ConsoleOutput& out) {
        return Advance(console, args, out);
    });
}

} // namespace platform
