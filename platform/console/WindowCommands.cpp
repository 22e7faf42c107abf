// windows, find-window, post and post-thread: the top-level windows of the device and
// messages to them, as another program would send them.
#include "ce/user.h"
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"
#include "user/WindowManager.h"

#include <cstdint>

namespace platform {

namespace {

// Pointer-carrying messages the device header has no use for elsewhere.
constexpr UINT kGetMinMaxInfo = 0x0024;
constexpr UINT kCompareItem = 0x0039;
constexpr UINT kCopyData = 0x004A;
constexpr UINT kStyleChanging = 0x007C;
constexpr UINT kNcCalcSize = 0x0083;

// System messages whose lParam points into the sender's memory (for WM_TIMER it is a
// function the dispatcher calls). A number typed at the console would be followed as a
// pointer by the receiving window procedure, so such posts are refused, as the device
// refuses to post them across processes.
// FIXME: PostMessageW itself should refuse these (ERROR_MESSAGE_SYNC_ONLY) for every caller;
// until it does, only the console is guarded.
bool CarriesPointer(UINT message) {
    switch (message) {
    case WM_CREATE:
    case WM_NCCREATE:
    case WM_SETTEXT:
    case WM_GETTEXT:
    case WM_SETTINGCHANGE:
    case kGetMinMaxInfo:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
    case WM_DELETEITEM:
    case kCompareItem:
    case WM_WINDOWPOSCHANGING:
    case WM_WINDOWPOSCHANGED:
    case kCopyData:
    case WM_NOTIFY:
    case WM_HELP:
    case kStyleChanging:
    case WM_STYLECHANGED:
    case kNcCalcSize:
    case WM_GETDLGCODE:
    case WM_TIMER:
        return true;
    default:
        return false;
    }
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
    if (CarriesPointer(message) && lParam != 0)
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
