#include "console/ScriptRunner.h"

#include <gtest/gtest.h>

#include <sstream>

using platform::CommandResult;
using platform::Console;
using platform::ConsoleOutput;
using platform::ScriptRunner;

namespace {

class Script : public ::testing::Test {
protected:
    Script() {
        m_console.Register("say", "TEXT", [this](const auto& args, ConsoleOutput& out) {
            ++m_runs;
            for (const std::string& arg : args)
                out.Line(arg);
            return CommandResult::Ok();
        });
        m_console.Register("fail", "", [this](const auto&, ConsoleOutput&) {
            ++m_runs;
            return CommandResult::Error("broken");
        });
        m_console.Register("quit", "", [this](const auto&, ConsoleOutput&) {
            m_console.RequestQuit();
            return CommandResult::Ok();
        });
    }

    bool Run(const std::string& text) {
        std::istringstream in(text);
        m_runner = std::make_unique<ScriptRunner>(m_console, m_out);
        return m_runner->Run(in, "test.txt");
    }

    Console m_console;
    std::ostringstream m_out;
    std::unique_ptr<ScriptRunner> m_runner;
    int m_runs = 0;
};

TEST_F(Script, PassesWhenEveryCommandAndExpectationHolds) {
    EXPECT_TRUE(Run("# a comment\n"
                    "\n"
                    "say \"hello world\" second\r\n"
                    "expect hello world\n"
                    "expect   second  \n"
                    "expect-not third\n"
                    "expect OK\n"
                    "   # indented comment\n"
                    "say \"  padded  \"\n"
                    "expect \"  padded  \"\n"
                    "expect-not \"  padded   \"\n"))
        << m_out.str();
    EXPECT_EQ(m_runs, 2);
    EXPECT_EQ(m_runner->Commands(), 2);
    EXPECT_EQ(m_runner->Expectations(), 6);
    std::string log = m_out.str();
    EXPECT_NE(log.find("> say \"hello world\" second\nhello world\nsecond\nOK\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("script test.txt: passed (2 commands, 6 expectations)"), std::string::npos);
}

TEST_F(Script, StopsAtTheFirstFailureAndNamesItsLine) {
    struct Case {
        const char* script;
        int line;
        const char* reason;
    };
    const Case cases[] = {
        {"say a\nexpect b\nsay later\n", 2, "expected \"b\" in the answer to \"say a\""},
        {"say a\nexpect-not a\nsay later\n", 2, "did not expect \"a\""},
        {"say a\nfail\nsay later\n", 2, "\"fail\" answered ERROR broken"},
        {"expect OK\nsay later\n", 1, "expect without a command before it"},
        {"say a\nexpect\nsay later\n", 2, "expect needs a text"},
        {"say a\nexpect \"open\nsay later\n", 2, "expect needs one quoted text"},
        {"nosuch\nsay later\n", 1, "\"nosuch\" answered ERROR unknown command: nosuch"},
    };
    for (const Case& c : cases) {
        m_runs = 0;
        m_out.str("");
        EXPECT_FALSE(Run(c.script)) << c.script;
        EXPECT_EQ(m_runner->FailedLine(), c.line) << c.script;
        EXPECT_NE(m_runner->Failure().find(c.reason), std::string::npos)
            << c.script << " -> " << m_runner->Failure();
        EXPECT_NE(m_out.str().find("FAILED at line " + std::to_string(c.line)), std::string::npos);
        EXPECT_EQ(m_out.str().find("> say later"), std::string::npos) << "ran past the failure";
    }
}

TEST_F(Script, ExpectationsCheckOnlyThePreviousAnswer) {
    EXPECT_FALSE(Run("say first\nsay second\nexpect first\n"));
    EXPECT_TRUE(Run("say first\nsay second\nexpect second\nexpect-not first\n"));
}

TEST_F(Script, ExpectIsAKeywordOnlyAsAWholeWord) {
    m_console.Register("expectation", "", [](const auto&, ConsoleOutput& out) {
        out.Line("ran");
        return CommandResult::Ok();
    });
    EXPECT_TRUE(Run("expectation\nexpect ran\n")) << m_out.str();
}

TEST_F(Script, QuitEndsTheRunAndAnInterruptFailsIt) {
    EXPECT_TRUE(Run("say a\nquit\nfail\n")) << m_out.str();
    EXPECT_EQ(m_runs, 1);

    Console console;
    std::istringstream in("say a\n");
    ScriptRunner runner(console, m_out);
    runner.SetStopCheck([] { return true; });
    EXPECT_FALSE(runner.Run(in, "x"));
    EXPECT_EQ(runner.Failure(), "shut down before the script ended");
}

TEST_F(Script, AShutdownFromElsewhereFailsTheLineItCutShort) {
    // A long command that a quit request from another client ends early, as `time advance`
    // does: it answers OK or an error, and the script must not pass either way.
    for (bool answersOk : {true, false}) {
        Console console;
        console.Register("long", "", [&console, answersOk](const auto&, ConsoleOutput&) {
            console.RequestQuit();
            return answersOk ? CommandResult::Ok() : CommandResult::Error("shutting down");
        });
        console.Register("say", "", [](const auto&, ConsoleOutput&) { return CommandResult::Ok(); });
        std::ostringstream out;
        std::istringstream in("say\nlong\nexpect nothing\nsay\n");
        ScriptRunner runner(console, out);
        EXPECT_FALSE(runner.Run(in, "cut.txt"));
        EXPECT_EQ(runner.FailedLine(), 2);
        EXPECT_NE(out.str().find("script cut.txt: FAILED at line 2: shut down before the script ended"),
                  std::string::npos)
            << out.str();
    }
    // The last line cut short fails too: the script did not run to its end.
    Console console;
    console.Register("long", "", [&console](const auto&, ConsoleOutput&) {
        console.RequestQuit();
        return CommandResult::Ok();
    });
    std::istringstream in("long\n");
    ScriptRunner runner(console, m_out);
    EXPECT_FALSE(runner.Run(in, "last.txt"));
}

TEST_F(Script, AMissingFileFails) {
    ScriptRunner runner(m_console, m_out);
    EXPECT_FALSE(runner.RunFile("/nonexistent/dialora/script.txt"));
    EXPECT_NE(m_out.str().find("cannot open"), std::string::npos);
}

} // namespace
