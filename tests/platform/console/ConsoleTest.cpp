#include "console/Console.h"
#include "console/DeviceCommands.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>

using platform::CommandResult;
using platform::Console;
using platform::ConsoleAnswer;
using platform::ConsoleOutput;

namespace {

class ConsoleTable : public ::testing::Test {
protected:
    ConsoleTable() {
        m_console.Register("echo", "WORDS...", [](const auto& args, ConsoleOutput& out) {
            for (const std::string& arg : args)
                out.Line("[" + arg + "]");
            return CommandResult::Ok();
        });
        m_console.Register("gsm call", "NUMBER", [](const auto& args, ConsoleOutput& out) {
            if (args.size() != 1)
                return CommandResult::Usage();
            out.Line("calling " + args[0]);
            return CommandResult::Ok();
        });
        m_console.Register("gsm", "", [](const auto&, ConsoleOutput&) {
            return CommandResult::Error("bare gsm");
        });
        m_console.Register("sms send", "NUMBER TEXT", [](const auto&, ConsoleOutput&) {
            return CommandResult::Ok();
        });
        m_console.Register("throw", "", [](const auto&, ConsoleOutput&) -> CommandResult {
            throw std::runtime_error("boom");
        });
        m_console.Register("fail", "", [](const auto&, ConsoleOutput& out) {
            out.Line("partial data");
            return CommandResult::Error("two\nlines");
        });
    }
    std::vector<std::string> Answer(const std::string& line) { return m_console.Execute(line).lines; }

    Console m_console;
};

using Lines = std::vector<std::string>;

TEST_F(ConsoleTable, AnswersEndWithOkOrError) {
    EXPECT_EQ(Answer("echo a \"b c\""), (Lines{"[a]", "[b c]", "OK"}));
    EXPECT_EQ(Answer("nothing here"), (Lines{"ERROR unknown command: nothing"}));
    EXPECT_EQ(Answer("echo \"open"), (Lines{"ERROR unterminated quote"}));
    // A reason with a line break must not split the status line.
    EXPECT_EQ(Answer("fail"), (Lines{"partial data", "ERROR two lines"}));
    EXPECT_EQ(Answer("throw"), (Lines{"ERROR internal: boom"}));
    EXPECT_FALSE(m_console.Execute("fail").ok);
}

TEST_F(ConsoleTable, BlankAndCommentLinesGetNoAnswer) {
    for (const char* line : {"", "   ", "\t", "# echo x", "   # note"})
        EXPECT_TRUE(m_console.Execute(line).IsEmpty()) << line;
}

TEST_F(ConsoleTable, MultiWordNamesMatchTheLongestRegisteredPrefix) {
    EXPECT_EQ(Answer("gsm call 555"), (Lines{"calling 555", "OK"}));
    EXPECT_EQ(Answer("gsm call"), (Lines{"ERROR usage: gsm call NUMBER"}));
    // "gsm" itself is a command, so an unknown word after it goes to it.
    EXPECT_EQ(Answer("gsm hangup"), (Lines{"ERROR bare gsm"}));
    auto answer = Answer("sms receive 1 x");
    ASSERT_EQ(answer.size(), 2u);
    EXPECT_EQ(answer[0], "usage: sms send NUMBER TEXT");
    EXPECT_EQ(answer[1], "ERROR unknown subcommand: sms receive");
    EXPECT_EQ(Answer("sms").back(), "ERROR missing subcommand: sms");
}

TEST_F(ConsoleTable, HelpListsEveryCommandWithItsUsage) {
    platform::RegisterBasicCommands(m_console);
    auto help = Answer("help");
    for (const char* entry : {"echo WORDS...", "gsm call NUMBER", "sms send NUMBER TEXT",
                              "idle [MS]", "wait MS", "quit", "OK"})
        EXPECT_NE(std::find(help.begin(), help.end(), entry), help.end()) << entry;
    EXPECT_EQ(Answer("help gsm"), (Lines{"gsm", "gsm call NUMBER", "OK"}));
    EXPECT_EQ(Answer("help nothing"), (Lines{"ERROR unknown command: nothing"}));
}

TEST_F(ConsoleTable, RunsOneCommandAtATimeAcrossThreads) {
    std::atomic<int> running{0};
    std::atomic<int> overlaps{0};
    m_console.Register("slow", "", [&](const auto&, ConsoleOutput&) {
        if (running.fetch_add(1) != 0)
            ++overlaps;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
        running.fetch_sub(1);
        return CommandResult::Ok();
    });
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([this] {
            for (int i = 0; i < 10; ++i)
                EXPECT_TRUE(m_console.Execute("slow").ok);
        });
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(overlaps.load(), 0);
}

TEST_F(ConsoleTable, QuitRunsTheHookAndCutsWaitsShort) {
    platform::RegisterBasicCommands(m_console);
    int hooks = 0;
    m_console.SetQuitHook([&] { ++hooks; });
    std::thread waiter([this] {
        EXPECT_EQ(m_console.Execute("wait 60000").lines.back(), "ERROR shutting down");
    });
    // The waiter holds the console; quit from here goes straight to the console's state.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    m_console.RequestQuit();
    waiter.join();
    EXPECT_EQ(hooks, 1);
    EXPECT_TRUE(m_console.QuitRequested());
    EXPECT_EQ(Answer("quit"), (Lines{"OK"}));
    EXPECT_EQ(hooks, 2);
}

TEST_F(ConsoleTable, BasicCommandsCheckTheirArguments) {
    platform::RegisterBasicCommands(m_console);
    EXPECT_EQ(Answer("wait"), (Lines{"ERROR usage: wait MS"}));
    EXPECT_EQ(Answer("wait -1"), (Lines{"ERROR usage: wait MS"}));
    EXPECT_EQ(Answer("wait 5ms"), (Lines{"ERROR usage: wait MS"}));
    EXPECT_EQ(Answer("idle 1 2"), (Lines{"ERROR usage: idle [MS]"}));
    EXPECT_EQ(Answer("quit now"), (Lines{"ERROR usage: quit"}));
    EXPECT_EQ(Answer("wait 0x0"), (Lines{"OK"}));
}

} // namespace
