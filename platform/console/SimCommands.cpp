// sim add | remove | list | state: the SIM card from the console. The commands work on
// the card itself, whatever its state, as a person holding the card would.
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"
#include "pim/SimCard.h"

#include <cstdio>

namespace platform {

namespace {

struct StateName {
    SimState state;
    const char* name;
};
constexpr StateName kStateNames[] = {
    {SimState::Ready, "ready"},
    {SimState::NotReady, "notready"},
    {SimState::Absent, "absent"},
};

bool ParseLocation(const std::string& text, DWORD& location) {
    int64_t value = 0;
    if (!Tokenizer::ParseNumber(text, SimCard::kFirstLocation, SimCard::kLastLocation, value))
        return false;
    location = DWORD(value);
    return true;
}

std::string Hex(HRESULT result) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", unsigned(result));
    return text;
}

CommandResult Add(const Console::Arguments& args, ConsoleOutput&) {
    DWORD location = 0;
    if (args.size() != 3 || !ParseLocation(args[0], location))
        return CommandResult::Usage();
    std::u16string name = FromUtf8(args[1]);
    std::u16string number = FromUtf8(args[2]);
    SimCard& card = SimCard::Instance();
    SimEntry existing;
    if (card.Read(location, existing) == S_OK)
        return CommandResult::Error("location " + args[0] + " is in use");
    DWORD stored = 0;
    HRESULT result = card.Write(location, name, number, stored);
    if (result == SIM_E_INVALIDTEXTSTRING)
        return CommandResult::Error("invalid name: at most " + std::to_string(SimCard::kMaxNameLength) +
                                    " characters, no control characters");
    if (result == SIM_E_INVALIDDIALSTRING)
        return CommandResult::Error("invalid number: " + args[2]);
    if (FAILED(result))
        return CommandResult::Error("SIM failure " + Hex(result));
    return CommandResult::Ok();
}

CommandResult Remove(const Console::Arguments& args, ConsoleOutput&) {
    DWORD location = 0;
    if (args.size() != 1 || !ParseLocation(args[0], location))
        return CommandResult::Usage();
    HRESULT result = SimCard::Instance().Delete(location);
    if (result == SIM_E_NOTFOUND)
        return CommandResult::Error("no entry at " + args[0]);
    if (FAILED(result))
        return CommandResult::Error("SIM failure " + Hex(result));
    return CommandResult::Ok();
}

CommandResult List(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    std::vector<SimEntry> entries;
    if (HRESULT result = SimCard::Instance().List(entries); FAILED(result))
        return CommandResult::Error("SIM failure " + Hex(result));
    for (const SimEntry& entry : entries)
        out.Printf("%lu %s %s", (unsigned long)entry.location, ConsoleFormat::Quoted(entry.name).c_str(),
                   ConsoleFormat::Word(entry.number).c_str());
    return CommandResult::Ok();
}

CommandResult State(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() > 1)
        return CommandResult::Usage();
    if (args.size() == 1) {
        const StateName* found = nullptr;
        for (const StateName& entry : kStateNames)
            if (args[0] == entry.name)
                found = &entry;
        if (!found)
            return CommandResult::Usage();
        SimCard::Instance().SetState(found->state);
    }
    SimState state = SimCard::Instance().State();
    for (const StateName& entry : kStateNames)
        if (entry.state == state)
            out.Line(entry.name);
    return CommandResult::Ok();
}

} // namespace

void RegisterSimCommands(Console& console) {
    console.Register("sim add", "INDEX \"NAME\" NUMBER", Add);
    console.Register("sim remove", "INDEX", Remove);
    console.Register("sim list", "", List);
    console.Register("sim state", "[ready|notready|absent]", State);
}

} // namespace platform
