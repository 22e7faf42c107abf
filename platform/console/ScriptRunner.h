// Runs a scenario file through the console: one command per line, `#` comments and blank
// lines ignored, `expect TEXT` / `expect-not TEXT` check that TEXT occurs / does not occur
// in the previous command's answer (a substring of its lines, the status line included).
// TEXT is the rest of the line with outer blanks removed; written in double quotes it may
// keep blanks at its ends. The run prints each command with its answer and each check,
// stops at the first failure (later lines usually depend on the failed one) and ends with
// a summary line.
#pragma once

#include "console/Console.h"

#include <filesystem>
#include <functional>
#include <istream>
#include <ostream>
#include <string>

namespace platform {

class ScriptRunner {
public:
    ScriptRunner(Console& console, std::ostream& out) : m_console(console), m_out(out) {}

    // Checked around every line: a true result ends the run as a failure (SIGINT).
    void SetStopCheck(std::function<bool()> stop) { m_stop = std::move(stop); }

    // True when every command answered OK and every expectation held. The script's own
    // `quit` ends the run early; what ran until then decides the result. A shutdown from
    // elsewhere (the stop check, a quit request to the console) fails the run at the line
    // it cut short: a script that did not reach its end has not passed.
    bool Run(std::istream& script, const std::string& name);
    bool RunFile(const std::filesystem::path& file);

    int Commands() const { return m_commands; }
    int Expectations() const { return m_expectations; }
    // Line number and reason of the failure, 0 and empty after a passing run.
    int FailedLine() const { return m_failedLine; }
    const std::string& Failure() const { return m_failure; }

private:
    // Each returns false on failure, with m_failure set.
    bool RunLine(const std::string& line);
    bool RunCommand(const std::string& line);
    bool RunExpectation(const std::string& rest, bool wanted);
    // A stop was asked for or the console is quitting.
    bool ShutDown() const;

    Console& m_console;
    std::ostream& m_out;
    std::function<bool()> m_stop;
    bool m_haveAnswer = false;
    std::string m_lastCommand;
    std::string m_lastAnswer;
    int m_commands = 0;
    int m_expectations = 0;
    int m_failedLine = 0;
    std::string m_failure;
};

} // namespace platform
