// beeps and leds: what the device sounded and shows, for scripts that check the
// notifications a program gave.
#include "ce/user.h"
#include "console/DeviceCommands.h"
#include "device/LedBank.h"
#include "user/WindowManager.h"

namespace platform {

namespace {

// MessageBeep types by their names; 0xFFFFFFFF is the simple beep.
const char* BeepName(UINT type) {
    switch (type) {
    case MB_OK:
        return "MB_OK";
    case MB_ICONHAND:
        return "MB_ICONHAND";
    case MB_ICONQUESTION:
        return "MB_ICONQUESTION";
    case MB_ICONEXCLAMATION:
        return "MB_ICONEXCLAMATION";
    case MB_ICONASTERISK:
        return "MB_ICONASTERISK";
    case 0xFFFFFFFF:
        return "simple";
    default:
        return nullptr;
    }
}

CommandResult Beeps(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    for (UINT type : WindowManager::Instance().DrainBeeps()) {
        const char* name = BeepName(type);
        if (name)
            out.Printf("0x%08X %s", type, name);
        else
            out.Printf("0x%08X", type);
    }
    return CommandResult::Ok();
}

CommandResult Leds(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    static const char* const kStates[] = {"off", "on", "blink"};
    std::vector<int> states = LedBank::Instance().States();
    for (size_t led = 0; led < states.size(); ++led) {
        int state = states[led];
        out.Printf("%zu %s", led, state >= 0 && state <= 2 ? kStates[state] : "unknown");
    }
    return CommandResult::Ok();
}

} // namespace

void RegisterNotificationCommands(Console& console) {
    console.Register("beeps", "", Beeps);
    console.Register("leds", "", Leds);
}

} // namespace platform
