// The device console: a table of named commands and the one place that runs them.
// Every source (standard input, the Unix socket, scenario files) hands its lines to
// Execute, which runs one command at a time across all sources and answers with the
// command's data lines followed by `OK` or `ERROR <reason>`. Command names and answer
// formats are a stable interface: scripts outside the project depend on them.
#pragma once

#include "console/CommandResult.h"
#include "console/ConsoleOutput.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The answer to one line: data lines, then the status line. Blank and comment lines get an
// empty answer (no lines at all), so a source prints nothing for them.
struct ConsoleAnswer {
    std::vector<std::string> lines;
    bool ok = true;

    bool IsEmpty() const { return lines.empty(); }
    // Every line followed by a line feed.
    std::string Text() const;
};

class Console {
public:
    // The arguments after the command's name words.
    using Arguments = std::vector<std::string>;
    using Handler = std::function<CommandResult(const Arguments& args, ConsoleOutput& out)>;

    // `name` may have several words ("time set"): a line runs the command whose name words
    // are the longest match of its first arguments. `usage` is what follows the name in
    // `help` ("YYYY-MM-DDTHH:MM:SS"). A second registration of a name replaces the first.
    void Register(const std::string& name, std::string usage, Handler handler);

    // Runs one line. Never throws: a handler's exception becomes `ERROR internal: ...`.
    ConsoleAnswer Execute(std::string_view line);

    struct CommandInfo {
        std::string name;
        std::string usage;
    };
    // Every command, sorted by name.
    std::vector<CommandInfo> Commands() const;

    // `quit`: marks the console as ending and tells its owner (the host) through the hook.
    void SetQuitHook(std::function<void()> hook);
    void RequestQuit();
    bool QuitRequested() const { return m_quit.load(); }
    // Becomes true with the quit request: long-running commands poll it to end early.
    const std::atomic<bool>* QuitFlag() const { return &m_quit; }
    // Sleeps on host time; returns false when a quit request cut the sleep short.
    bool SleepUnlessQuit(std::chrono::milliseconds duration);

private:
    struct Command {
        std::string usage;
        Handler handler;
    };
    // Finds the command for `args`; `words` is how many arguments its name used.
    const Command* FindLocked(const Arguments& args, size_t& words, std::string& name) const;
    bool HasSubcommandsLocked(const std::string& prefix) const;
    ConsoleAnswer Run(const Arguments& args);

    mutable std::mutex m_tableMutex;
    std::map<std::string, Command> m_commands;
    // One command at a time across every source.
    std::mutex m_executeMutex;

    std::atomic<bool> m_quit{false};
    std::mutex m_quitMutex;
    std::condition_variable m_quitChanged;
    std::function<void()> m_quitHook;
};

} // namespace platform
