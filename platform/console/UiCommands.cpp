// ui: what a window shows, as the window itself describes it (WM_DIALORA_DESCRIBE), and
// taps on its controls by number.
#include "ce/uiview.h"
#include "ce/user.h"
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"
#include "user/StylusInput.h"
#include "user/WindowManager.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

namespace {

const std::atomic<bool>* g_quit = nullptr;
constexpr int kSettleMs = 200;

struct DescribedItem {
    int depth = 0;
    bool isLine = false;
    std::string line; // for a line of its own
    int id = 0;
    std::string kind;
    RECT rect{};
    DWORD state = 0;
    std::u16string text;
};

// Collects what the windows write.
class CollectingSink final : public IUiSink {
public:
    void Item(int depth, const UI_ITEM& item) override {
        DescribedItem entry;
        entry.depth = m_base + depth;
        entry.id = item.id;
        entry.kind = item.kind ? item.kind : "?";
        entry.rect = item.rect;
        entry.state = item.state;
        entry.text = item.text ? std::u16string(item.text) : std::u16string();
        items.push_back(std::move(entry));
    }
    void Line(int depth, const char* text) override {
        DescribedItem entry;
        entry.depth = m_base + depth;
        entry.isLine = true;
        entry.line = text ? text : "";
        items.push_back(std::move(entry));
    }
    std::vector<DescribedItem> items;

private:
    int m_base = 0;
};

// Asks `window`, and when it does not answer, each of its visible child windows.
bool Describe(HWND window, CollectingSink& sink) {
    if (SendMessageW(window, WM_DIALORA_DESCRIBE, 0, reinterpret_cast<LPARAM>(static_cast<IUiSink*>(&sink))) == 1)
        return true;
    bool any = false;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (IsWindowVisible(child))
            any = Describe(child, sink) || any;
    return any;
}

std::string Format(const DescribedItem& item) {
    std::string line(size_t(item.depth) * 2, ' ');
    if (item.isLine)
        return line + item.line;
    line += std::to_string(item.id) + " " + item.kind + " " + std::to_string(item.rect.left) + "," +
            std::to_string(item.rect.top) + "," + std::to_string(item.rect.right - item.rect.left) + "," +
            std::to_string(item.rect.bottom - item.rect.top);
    static constexpr struct {
        DWORD bit;
        const char* word;
    } kWords[] = {{UIS_FOCUS, "focus"},     {UIS_HIDDEN, "hidden"},     {UIS_DISABLED, "disabled"},
                  {UIS_CHECKED, "checked"}, {UIS_PRESSED, "pressed"},   {UIS_SELECTED, "selected"},
                  {UIS_SUBMENU, "submenu"}};
    for (const auto& word : kWords)
        if (item.state & word.bit)
            line += std::string(" [") + word.word + "]";
    return line + " " + ConsoleFormat::Quoted(item.text);
}

// The window a `ui` command means: the handle given, or (null) the foreground window with
// the pop-ups over it.
bool Target(const std::string& text, HWND& window) {
    if (text.empty()) {
        window = nullptr;
        return GetForegroundWindow() != nullptr;
    }
    int64_t value = 0;
    if (!Tokenizer::ParseNumber(text, 1, INT64_MAX, value))
        return false;
    window = reinterpret_cast<HWND>(static_cast<uintptr_t>(value));
    return IsWindow(window);
}

// The foreground window, then the visible top-most windows above it (pop-up menus, the
// input panel), lowest first, so that what lies on top comes last.
bool DescribeScreen(CollectingSink& sink) {
    HWND foreground = GetForegroundWindow();
    std::vector<HWND> above;
    for (const WindowInfo& info : WindowManager::Instance().ListTopLevel()) {
        if (info.hwnd == foreground)
            break;
        if (info.visible && info.topmost)
            above.push_back(info.hwnd);
    }
    bool any = foreground && Describe(foreground, sink);
    for (auto window = above.rbegin(); window != above.rend(); ++window)
        any = Describe(*window, sink) || any;
    return any;
}

CommandResult Collect(HWND window, CollectingSink& sink) {
    if (!(window ? Describe(window, sink) : DescribeScreen(sink)))
        return CommandResult::Error("not a skinned window");
    return CommandResult::Ok();
}

const DescribedItem* FindVisible(const std::vector<DescribedItem>& items, int id) {
    for (const DescribedItem& item : items)
        if (!item.isLine && item.id == id && !(item.state & UIS_HIDDEN))
            return &item;
    return nullptr;
}

CommandResult TapOrText(bool tap, const Console::Arguments& args, ConsoleOutput& out) {
    int64_t id = 0;
    HWND window = nullptr;
    if (args.size() < 2 || args.size() > 3 || !Tokenizer::ParseNumber(args[1], INT32_MIN, INT32_MAX, id) ||
        !Target(args.size() == 3 ? args[2] : std::string(), window))
        return CommandResult::Usage();
    CollectingSink sink;
    if (CommandResult result = Collect(window, sink); !result.IsOk())
        return result;
    const DescribedItem* item = FindVisible(sink.items, int(id));
    if (!item)
        return CommandResult::Error("no such control");
    if (!tap) {
        out.Line(ConsoleFormat::Quoted(item->text));
        return CommandResult::Ok();
    }
    POINT centre{(item->rect.left + item->rect.right) / 2, (item->rect.top + item->rect.bottom) / 2};
    StylusInput::Deliver(StylusAction::Press, centre);
    StylusInput::Deliver(StylusAction::Release, centre);
    WaitHub::Instance().WaitIdle(std::chrono::milliseconds(kSettleMs), g_quit);
    return g_quit && g_quit->load() ? CommandResult::Error("shutting down") : CommandResult::Ok();
}

CommandResult Ui(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty() && (args[0] == "tap" || args[0] == "text"))
        return TapOrText(args[0] == "tap", args, out);
    HWND window = nullptr;
    if (args.size() > 1 || !Target(args.empty() ? std::string() : args[0], window))
        return CommandResult::Usage();
    CollectingSink sink;
    if (CommandResult result = Collect(window, sink); !result.IsOk())
        return result;
    for (const DescribedItem& item : sink.items)
        out.Line(Format(item));
    return CommandResult::Ok();
}

} // namespace

void RegisterUiCommands(Console& console) {
    g_quit = console.QuitFlag();
    console.Register("ui", "[0xHWND] | tap ID [0xHWND] | text ID [0xHWND]", Ui);
}

} // namespace platform
