// windows, find-window, post and post-thread: the top-level windows of the device and
// messages to them, as another program would send them.
#include "ce/user.h"
#include "ce/windbase.h"
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"
#include "user/PointerMessages.h"
#include "user/WindowManager.h"

#include <cstdint>

namespace platform {

namespace {

// System messages whose lParam points into the sender's memory cannot be posted (the
// device refuses them); for WM_TIMER it is a function the dispatcher would call. A number
// typed at the console would be followed as a pointer, so the console says so before the
// device refuses. WM_DBNOTIFICATION carries a structure the receiver frees, posted only by
// the database itself.
bool PointsIntoMemory(UINT message, LPARAM lParam) {
    return platform::CarriesPointer(message, lParam) ||
           ((message == WM_TIMER || message == WM_DBNOTIFICATION) && lParam != 0);
}

CommandResult Windows(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    for (const WindowInfo& w : WindowManager::Instance().ListTopLevel()) {
        out.Printf("%s %s %s pid=%lu visible=%d enabled=%d topmost=%d %ld,%ld,%ld,%ld",
                   ConsoleFormat::Handle(w.hwnd).c_str(), ConsoleFormat::Word(w.className).c_str(),
                   ConsoleFormat::Quoted(w.title).c_str(), (unsigned long)w.processId, w.visible,
                   w.enabled, w.topmost, (long)w.rect.left, (long)w.rect.top,
                   (long)(w.rect.right - w.rect.left), (long)(w.rect.bottom - w.rect.top));
    }
    return CommandResult::Ok();
}

CommandResult FindWindow(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.empty() || args.size() > 2 || args[0].empty())
        return CommandResult::Usage();
    std::optional<std::u16string> title;
    if (args.size() == 2)
        title = FromUtf8(args[1]);
    HWND found = WindowManager::Instance().FindTopLevel(FromUtf8(args[0]), title);
    out.Line(found ? ConsoleFormat::Handle(found) : "none");
    return CommandResult::Ok();
}

// Reads CLASS MSG WPARAM LPARAM; false for a usage error, `error` set for a refused message.
bool ParsePostArguments(const Console::Arguments& args, UINT& message, WPARAM& wParam,
                        LPARAM& lParam, std::string& error) {
    int64_t values[3];
    if (args.size() != 4 || args[0].empty() ||
        !Tokenizer::ParseNumber(args[1], 0, UINT32_MAX, values[0]) ||
        !Tokenizer::ParseNumber(args[2], INT32_MIN, UINT32_MAX, values[1]) ||
        !Tokenizer::ParseNumber(args[3], INT32_MIN, UINT32_MAX, values[2]))
        return false;
    message = static_cast<UINT>(values[0]);
    // Both parameters are 32-bit on the device: -1 and 0xFFFFFFFF are the same wParam,
    // and an lParam of 0xFFFFFFFF is -1.
    wParam = static_cast<WPARAM>(static_cast<uint32_t>(values[1]));
    lParam = static_cast<LPARAM>(static_cast<int32_t>(static_cast<uint32_t>(values[2])));
    if (PointsIntoMemory(message, lParam))
        error = "message carries a pointer: " + args[1];
    return true;
}

CommandResult Post(const Console::Arguments& args, bool toThread) {
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    std::string error;
    if (!ParsePostArguments(args, message, wParam, lParam, error))
        return CommandResult::Usage();
    if (!error.empty())
        return CommandResult::Error(error);
    std::u16string className = FromUtf8(args[0]);
    if (!WindowManager::Instance().FindTopLevel(className, std::nullopt))
        return CommandResult::Error("no window of class " + args[0]);
    if (!WindowManager::Instance().PostToClass(className, message, wParam, lParam, toThread))
        return CommandResult::Error("post failed");
    return CommandResult::Ok();
}

} // namespace

void RegisterWindowCommands(Console& console) {
    console.Register("windows", "", Windows);
    console.Register("find-window", "CLASS [TITLE]", FindWindow);
    console.Register("post", "CLASS MSG WPARAM LPARAM",
                     [](const auto& args, ConsoleOutput&) { return Post(args, false); });
    console.Register("post-thread", "CLASS MSG WPARAM LPARAM",
                     [](const auto& args, ConsoleOutput&) { return Post(args, true); });
}

} // namespace platform
