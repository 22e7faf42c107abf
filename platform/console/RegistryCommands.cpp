// reg get | set | delete: the registry from the console. Changes go through the same
// registry as the programs' own, so value watches (RegistryNotifyWindow) fire for them.
#include "console/DeviceCommands.h"
#include "registry/RegistryConsole.h"

namespace platform {

namespace {

// RegistryConsole's reason for a missing key or value.
constexpr const char* kNotFound = "not found";

CommandResult Get(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() != 2)
        return CommandResult::Usage();
    std::string answer, error;
    if (RegistryConsole::Get(args[0], args[1], answer, error)) {
        out.Line(answer);
        return CommandResult::Ok();
    }
    // A value that is not there is an answer, not a failure: scripts check deletions so.
    if (error == kNotFound) {
        out.Line("none");
        return CommandResult::Ok();
    }
    return CommandResult::Error(error);
}

CommandResult Set(const Console::Arguments& args, ConsoleOutput&) {
    if (args.size() != 4)
        return CommandResult::Usage();
    std::string error;
    if (!RegistryConsole::Set(args[0], args[1], args[2], args[3], error))
        return CommandResult::Error(error);
    return CommandResult::Ok();
}

CommandResult Delete(const Console::Arguments& args, ConsoleOutput&) {
    if (args.empty() || args.size() > 2)
        return CommandResult::Usage();
    std::string error;
    bool done = args.size() == 2 ? RegistryConsole::DeleteValue(args[0], args[1], error)
                                 : RegistryConsole::DeleteKey(args[0], error);
    return done ? CommandResult::Ok() : CommandResult::Error(error);
}

} // namespace

void RegisterRegistryCommands(Console& console) {
    console.Register("reg get", "KEY VALUE", Get);
    console.Register("reg set", "KEY VALUE dword|sz|binary|multi_sz DATA", Set);
    console.Register("reg delete", "KEY [VALUE]", Delete);
}

} // namespace platform
