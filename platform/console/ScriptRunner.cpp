#include "console/ScriptRunner.h"

#include "console/Tokenizer.h"

#include <fstream>

namespace platform {

namespace {

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    size_t last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

// The keyword of an expectation line, or empty when the line is a command.
std::string ExpectKeyword(const std::string& line, std::string& rest) {
    for (const char* keyword : {"expect-not", "expect"}) {
        std::string word = keyword;
        if (line.compare(0, word.size(), word) != 0)
            continue;
        if (line.size() > word.size() && line[word.size()] != ' ' && line[word.size()] != '\t')
            continue;
        rest = Trim(line.substr(word.size()));
        return word;
    }
    return {};
}

// True for the line `quit`: the script's own end.
bool IsQuit(const std::string& line) {
    std::vector<std::string> args;
    std::string error;
    return Tokenizer::Split(line, args, error) && args.size() == 1 && args[0] == "quit";
}

} // namespace

bool ScriptRunner::ShutDown() const { return (m_stop && m_stop()) || m_console.QuitRequested(); }

bool ScriptRunner::RunFile(const std::filesystem::path& file) {
    std::ifstream in(file);
    if (!in) {
        m_failure = "cannot open " + file.string();
        m_out << "script " << file.string() << ": FAILED: " << m_failure << '\n';
        return false;
    }
    return Run(in, file.filename().string());
}

bool ScriptRunner::Run(std::istream& script, const std::string& name) {
    std::string line;
    int number = 0;
    while (std::getline(script, line)) {
        ++number;
        std::string trimmed = Trim(line);
        // A shutdown that the script did not ask for (a signal, `quit` from another client)
        // cuts it short: whatever the line answered, the script did not pass.
        bool ownQuit = IsQuit(trimmed);
        bool passed = !ShutDown() && RunLine(trimmed);
        if (ShutDown() && !ownQuit) {
            passed = false;
            m_failure = "shut down before the script ended";
        }
        if (!passed) {
            m_failedLine = number;
            m_out << "script " << name << ": FAILED at line " << number << ": " << m_failure
                  << '\n';
            return false;
        }
        if (ownQuit)
            break;
    }
    m_out << "script " << name << ": passed (" << m_commands << " commands, " << m_expectations
          << " expectations)\n";
    return true;
}

bool ScriptRunner::RunLine(const std::string& line) {
    if (line.empty() || line[0] == '#')
        return true;
    std::string rest;
    std::string keyword = ExpectKeyword(line, rest);
    if (keyword.empty())
        return RunCommand(line);
    return RunExpectation(rest, keyword == "expect");
}

bool ScriptRunner::RunCommand(const std::string& line) {
    ++m_commands;
    // Shown before it runs: a long command is visible while it runs.
    m_out << "> " << line << std::endl;
    ConsoleAnswer answer = m_console.Execute(line);
    m_lastAnswer = answer.Text();
    m_out << m_lastAnswer;
    m_out.flush();
    m_haveAnswer = true;
    m_lastCommand = line;
    if (!answer.ok) {
        m_failure = "\"" + line + "\" answered " + answer.lines.back();
        return false;
    }
    return true;
}

bool ScriptRunner::RunExpectation(const std::string& rest, bool wanted) {
    ++m_expectations;
    const char* keyword = wanted ? "expect" : "expect-not";
    std::string text = rest;
    if (!rest.empty() && rest[0] == '"') {
        std::vector<std::string> args;
        std::string error;
        if (!Tokenizer::Split(rest, args, error) || args.size() != 1) {
            m_failure = std::string(keyword) + " needs one quoted text";
            return false;
        }
        text = args[0];
    }
    if (text.empty()) {
        m_failure = std::string(keyword) + " needs a text";
        return false;
    }
    if (!m_haveAnswer) {
        m_failure = std::string(keyword) + " without a command before it";
        return false;
    }
    bool found = m_lastAnswer.find(text) != std::string::npos;
    bool held = found == wanted;
    m_out << keyword << ' ' << text << (held ? ": held\n" : ": FAILED\n");
    if (!held)
        m_failure = std::string(wanted ? "expected \"" : "did not expect \"") + text +
                    "\" in the answer to \"" + m_lastCommand + "\"";
    return held;
}

} // namespace platform
