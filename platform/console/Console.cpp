#include "console/Console.h"

#include "console/Tokenizer.h"
#include "kernel/Trace.h"

#include <exception>

namespace platform {

namespace {

constexpr size_t kMaxNameWords = 4;

std::string JoinWords(const Console::Arguments& args, size_t count) {
    std::string name;
    for (size_t i = 0; i < count && i < args.size(); ++i) {
        if (i)
            name += ' ';
        name += args[i];
    }
    return name;
}

// A reason must stay on the status line.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\n' || c == '\r')
            c = ' ';
    return text;
}

ConsoleAnswer Finish(ConsoleOutput& out, const CommandResult& result) {
    ConsoleAnswer answer;
    answer.lines = out.Lines();
    answer.ok = result.IsOk();
    answer.lines.push_back(answer.ok ? "OK" : "ERROR " + OneLine(result.Reason()));
    return answer;
}

} // namespace

std::string ConsoleAnswer::Text() const {
    std::string text;
    for (const std::string& line : lines)
        text += line + '\n';
    return text;
}

void Console::Register(const std::string& name, std::string usage, Handler handler) {
    std::lock_guard lock(m_tableMutex);
    m_commands[name] = Command{std::move(usage), std::move(handler)};
}

std::vector<Console::CommandInfo> Console::Commands() const {
    std::lock_guard lock(m_tableMutex);
    std::vector<CommandInfo> list;
    for (const auto& [name, command] : m_commands)
        list.push_back(CommandInfo{name, command.usage});
    return list;
}

const Console::Command* Console::FindLocked(const Arguments& args, size_t& words,
                                            std::string& name) const {
    for (size_t count = std::min(args.size(), kMaxNameWords); count > 0; --count) {
        auto it = m_commands.find(JoinWords(args, count));
        if (it != m_commands.end()) {
            words = count;
            name = it->first;
            return &it->second;
        }
    }
    return nullptr;
}

bool Console::HasSubcommandsLocked(const std::string& prefix) const {
    auto it = m_commands.lower_bound(prefix + ' ');
    return it != m_commands.end() && it->first.compare(0, prefix.size() + 1, prefix + ' ') == 0;
}

ConsoleAnswer Console::Execute(std::string_view line) {
    size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos || line[first] == '#')
        return {};
    Arguments args;
    std::string error;
    ConsoleOutput out;
    if (!Tokenizer::Split(line, args, error))
        return Finish(out, CommandResult::Error(error));
    std::lock_guard lock(m_executeMutex);
    return Run(args);
}

ConsoleAnswer Console::Run(const Arguments& args) {
    ConsoleOutput out;
    Command command;
    size_t words = 0;
    std::string name;
    {
        std::lock_guard lock(m_tableMutex);
        const Command* found = FindLocked(args, words, name);
        if (!found) {
            if (!HasSubcommandsLocked(args[0]))
                return Finish(out, CommandResult::Error("unknown command: " + args[0]));
            // A command group ("time") without a known subcommand: show the group's usage.
            for (const auto& [other, entry] : m_commands)
                if (other.compare(0, args[0].size() + 1, args[0] + ' ') == 0)
                    out.Line("usage: " + other + (entry.usage.empty() ? "" : " " + entry.usage));
            return Finish(out, CommandResult::Error(args.size() > 1
                                                        ? "unknown subcommand: " + JoinWords(args, 2)
                                                        : "missing subcommand: " + args[0]));
        }
        // A copy, so that a handler may register commands or list them (help).
        command = *found;
    }
    Trace("console", "%s", JoinWords(args, args.size()).c_str());
    Arguments rest(args.begin() + static_cast<std::ptrdiff_t>(words), args.end());
    CommandResult result = CommandResult::Error("internal: no result");
    try {
        result = command.handler(rest, out);
    } catch (const std::exception& e) {
        result = CommandResult::Error(std::string("internal: ") + e.what());
    } catch (...) {
        result = CommandResult::Error("internal: unknown exception");
    }
    if (result.IsUsage())
        result = CommandResult::Error("usage: " + name +
                                      (command.usage.empty() ? "" : " " + command.usage));
    return Finish(out, result);
}

void Console::SetQuitHook(std::function<void()> hook) {
    std::lock_guard lock(m_quitMutex);
    m_quitHook = std::move(hook);
}

void Console::RequestQuit() {
    std::function<void()> hook;
    {
        std::lock_guard lock(m_quitMutex);
        m_quit = true;
        hook = m_quitHook;
    }
    m_quitChanged.notify_all();
    if (hook)
        hook();
}

bool Console::SleepUnlessQuit(std::chrono::milliseconds duration) {
    std::unique_lock lock(m_quitMutex);
    return !m_quitChanged.wait_for(lock, duration, [this] { return m_quit.load(); });
}

} // namespace platform
