// The screen, the stylus, the keys and the message boxes from the console:
// screenshot, tap, press, move, release, drag, flick, key, type, rotate, screen, dialogs,
// answer.
// Input commands let the device settle (up to kSettleMs) before they answer, so the next
// command of a script sees what the input caused.
#include "ce/user.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "display/Display.h"
#include "kernel/DeviceClock.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"
#include "user/HardwareKeys.h"
#include "user/MessageBoxes.h"
#include "user/ScreenChange.h"
#include "user/StylusInput.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {

constexpr int kSettleMs = 2000;
constexpr int64_t kMaxDragMs = 60000;
// A drag reports a move about every 20 ms, as a stylus driver samples.
constexpr int64_t kDragStepMs = 20;
// A drag ends with the pen resting this long before it is lifted: longer than a list takes
// a release speed from, so a drag never flings.
constexpr int64_t kRestMs = 320;

// The quit flag of the console these commands were registered with: input commands end
// early when it shuts down.
const std::atomic<bool>* g_quit = nullptr;

bool ShuttingDown() { return g_quit && g_quit->load(); }

// Lets the device take the input in; `ERROR shutting down` when a shutdown cut it short.
CommandResult Settled() {
    WaitHub::Instance().WaitIdle(std::chrono::milliseconds(kSettleMs), g_quit);
    return ShuttingDown() ? CommandResult::Error("shutting down") : CommandResult::Ok();
}

void ScreenSize(int& width, int& height) {
    width = GetSystemMetrics(SM_CXSCREEN);
    height = GetSystemMetrics(SM_CYSCREEN);
}

// Reads an X Y pair that must lie on the screen.
bool ParsePoint(const std::string& x, const std::string& y, POINT& point) {
    int width, height;
    ScreenSize(width, height);
    int64_t px, py;
    if (!Tokenizer::ParseNumber(x, 0, width - 1, px) || !Tokenizer::ParseNumber(y, 0, height - 1, py))
        return false;
    point = POINT{LONG(px), LONG(py)};
    return true;
}

CommandResult Screenshot(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() != 1)
        return CommandResult::Usage();
    int width = 0, height = 0;
    if (!Display::Instance().SaveScreenshot(args[0], width, height))
        return CommandResult::Error("cannot write " + args[0]);
    out.Printf("%dx%d", width, height);
    return CommandResult::Ok();
}

Console::Handler StylusCommand(StylusAction action) {
    return [action](const Console::Arguments& args, ConsoleOutput&) {
        POINT point;
        if (args.size() != 2 || !ParsePoint(args[0], args[1], point))
            return CommandResult::Usage();
        StylusInput::Deliver(action, point);
        return Settled();
    };
}

CommandResult Tap(const Console::Arguments& args, ConsoleOutput&) {
    POINT point;
    if (args.size() != 2 || !ParsePoint(args[0], args[1], point))
        return CommandResult::Usage();
    StylusInput::Deliver(StylusAction::Press, point);
    StylusInput::Deliver(StylusAction::Release, point);
    return Settled();
}

// Lets `ms` pass: on a frozen clock the device clock moves on (timers due on the way fire
// as with `time advance`), else the host waits. False when a shutdown cut it short.
bool Pass(int64_t ms) {
    auto& clock = DeviceClock::Instance();
    if (clock.IsFrozen())
        return clock.AdvanceStepwise(ms, kSettleMs, g_quit);
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return !ShuttingDown();
}

// The pen pressed at X1 Y1, moved to X2 Y2 in 20 ms samples over MS, and lifted: after a
// rest (drag) or while still moving (flick).
CommandResult Gesture(const Console::Arguments& args, bool resting) {
    POINT from, to;
    int64_t ms;
    if (args.size() != 5 || !ParsePoint(args[0], args[1], from) || !ParsePoint(args[2], args[3], to) ||
        !Tokenizer::ParseNumber(args[4], 0, kMaxDragMs, ms))
        return CommandResult::Usage();
    int64_t steps = std::max<int64_t>(1, ms / kDragStepMs);
    StylusInput::Deliver(StylusAction::Press, from);
    for (int64_t step = 1; step <= steps; ++step) {
        if (!Pass(DeviceClock::Instance().IsFrozen() ? kDragStepMs : ms / steps))
            return CommandResult::Error("shutting down");
        POINT at{LONG(from.x + (to.x - from.x) * step / steps), LONG(from.y + (to.y - from.y) * step / steps)};
        StylusInput::Deliver(StylusAction::Move, at);
    }
    if (resting && !Pass(kRestMs))
        return CommandResult::Error("shutting down");
    StylusInput::Deliver(StylusAction::Release, to);
    return Settled();
}

CommandResult Key(const Console::Arguments& args, ConsoleOutput&) {
    if (args.empty() || args.size() > 2)
        return CommandResult::Usage();
    std::optional<BYTE> key = HardwareKeys::FromName(args[0]);
    int64_t number;
    if (!key && Tokenizer::ParseNumber(args[0], 1, 0xFE, number))
        key = BYTE(number);
    if (!key)
        return CommandResult::Error("unknown key: " + args[0]);
    if (args.size() == 2 && args[1] != "down" && args[1] != "up")
        return CommandResult::Usage();
    if (args.size() == 1 || args[1] == "down")
        HardwareKeys::Key(*key, false);
    if (args.size() == 1 || args[1] == "up")
        HardwareKeys::Key(*key, true);
    return Settled();
}

CommandResult Type(const Console::Arguments& args, ConsoleOutput&) {
    if (args.empty())
        return CommandResult::Usage();
    std::string text = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        text.push_back(' ');
        text.append(args[i]);
    }
    if (!HardwareKeys::Type(FromUtf8(text)))
        return CommandResult::Error("no window takes keys");
    return Settled();
}

CommandResult Rotate(const Console::Arguments& args, ConsoleOutput&) {
    if (!args.empty())
        return CommandResult::Usage();
    if (!ScreenChange::Rotate())
        return CommandResult::Error("the screen cannot turn");
    return Settled();
}

CommandResult Screen(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    int width, height;
    ScreenSize(width, height);
    const char* orientation = width < height ? "portrait" : width > height ? "landscape" : "square";
    out.Printf("%dx%d %s", width, height, orientation);
    return CommandResult::Ok();
}

// A text in double quotes; quotes, backslashes and line breaks are escaped.
std::string Quoted(const std::u16string& text) {
    std::string result(1, '"');
    for (char ch : ToUtf8(text)) {
        if (ch == '"' || ch == '\\')
            result += '\\';
        if (ch == '\n')
            result += "\\n";
        else if (ch == '\r')
            result += "\\r";
        else
            result += ch;
    }
    result.push_back('"');
    return result;
}

CommandResult Dialogs(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    for (const OpenMessageBox& box : MessageBoxes::List()) {
        std::string buttons;
        for (int id : MessageBoxes::Buttons(box.type)) {
            if (!buttons.empty())
                buttons.push_back(',');
            buttons.append(MessageBoxes::ButtonName(id));
        }
        out.Printf("0x%08llX %s %s %s", static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(box.hwnd)),
                   Quoted(box.title).c_str(), Quoted(box.text).c_str(), buttons.c_str());
    }
    return CommandResult::Ok();
}

CommandResult Answer(const Console::Arguments& args, ConsoleOutput&) {
    int button = args.size() == 1 ? MessageBoxes::ButtonFromName(args[0]) : 0;
    if (!button)
        return CommandResult::Usage();
    std::string error;
    if (!MessageBoxes::Answer(button, error))
        return CommandResult::Error(error);
    return Settled();
}

} // namespace

void RegisterDisplayCommands(Console& console) {
    g_quit = console.QuitFlag();
    console.Register("screenshot", "FILE.png", Screenshot);
    console.Register("tap", "X Y", Tap);
    console.Register("press", "X Y", StylusCommand(StylusAction::Press));
    console.Register("move", "X Y", StylusCommand(StylusAction::Move));
    console.Register("release", "X Y", StylusCommand(StylusAction::Release));
    console.Register("drag", "X1 Y1 X2 Y2 MS", [](const Console::Arguments& args, ConsoleOutput&) {
        return Gesture(args, true);
    });
    console.Register("flick", "X1 Y1 X2 Y2 MS", [](const Console::Arguments& args, ConsoleOutput&) {
        return Gesture(args, false);
    });
    console.Register("key", "NAME|VK [down|up]", Key);
    console.Register("type", "TEXT", Type);
    console.Register("rotate", "", Rotate);
    console.Register("screen", "", Screen);
    console.Register("dialogs", "", Dialogs);
    console.Register("answer", "ok|cancel|yes|no", Answer);
}

} // namespace platform
