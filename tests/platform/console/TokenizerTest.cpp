#include "console/LineBuffer.h"
#include "console/Tokenizer.h"

#include <gtest/gtest.h>

using platform::LineBuffer;
using platform::Tokenizer;

namespace {

using Args = std::vector<std::string>;

TEST(ConsoleTokenizer, SplitsBlanksQuotesAndKeepsBackslashes) {
    struct Case {
        const char* line;
        Args args;
    };
    const Case cases[] = {
        {"", {}},
        {"   \t ", {}},
        {"time get", {"time", "get"}},
        {"  time\t\tset   x  ", {"time", "set", "x"}},
        {R"(reg get HKLM\Software\Tavik "Last Call")", {"reg", "get", R"(HKLM\Software\Tavik)", "Last Call"}},
        {R"(push a.txt "\My Documents\a b.txt")", {"push", "a.txt", R"(\My Documents\a b.txt)"}},
        {R"(sms send 123 "say ""hi"" now")", {"sms", "send", "123", R"(say "hi" now)"}},
        {R"(x "" y)", {"x", "", "y"}},
        {R"(a"b c"d)", {"ab cd"}},
        {R"(trailing\)", {R"(trailing\)"}},
    };
    for (const Case& c : cases) {
        Args args;
        std::string error;
        ASSERT_TRUE(Tokenizer::Split(c.line, args, error)) << c.line;
        EXPECT_EQ(args, c.args) << c.line;
    }
}

TEST(ConsoleTokenizer, RefusesAnUnterminatedQuote) {
    for (const char* line : {R"(sms send "hello)", R"(x "a"")", "\""}) {
        Args args;
        std::string error;
        EXPECT_FALSE(Tokenizer::Split(line, args, error)) << line;
        EXPECT_EQ(error, "unterminated quote");
    }
}

TEST(ConsoleTokenizer, QuoteRoundTripsThroughSplit) {
    for (const char* text : {"plain", "", "two words", R"(\Windows\a "b".txt)", "tab\there"}) {
        Args args;
        std::string error;
        ASSERT_TRUE(Tokenizer::Split("cmd " + Tokenizer::Quote(text), args, error));
        ASSERT_EQ(args.size(), 2u) << text;
        EXPECT_EQ(args[1], text);
    }
}

TEST(ConsoleNumbers, AcceptsDecimalAndHexWithinRangeOnly) {
    struct Case {
        const char* text;
        int64_t min, max;
        bool ok;
        int64_t value;
    };
    const Case cases[] = {
        {"0", 0, 10, true, 0},
        {"42", 0, 100, true, 42},
        {"-7", -10, 10, true, -7},
        {"0x1F", 0, 100, true, 31},
        {"0XfF", 0, 1000, true, 255},
        {"0xFFFFFFFF", 0, 0xFFFFFFFFLL, true, 0xFFFFFFFFLL},
        {"9223372036854775807", 0, INT64_MAX, true, INT64_MAX},
        {"-9223372036854775808", INT64_MIN, 0, true, INT64_MIN},
        {"9223372036854775808", 0, INT64_MAX, false, 0},
        {"0x8000000000000000", 0, INT64_MAX, false, 0},
        {"101", 0, 100, false, 0},
        {"-1", 0, 100, false, 0},
        {"", 0, 100, false, 0},
        {"-", -10, 100, false, 0},
        {"0x", 0, 100, false, 0},
        {"10s", 0, 100, false, 0},
        {" 10", 0, 100, false, 0},
        {"+5", 0, 100, false, 0},
        {"--5", -10, 100, false, 0},
        {"0x-5", -10, 100, false, 0},
        {"1.5", 0, 100, false, 0},
        {"0x1G", 0, 100, false, 0},
    };
    for (const Case& c : cases) {
        int64_t value = 12345;
        bool ok = Tokenizer::ParseNumber(c.text, c.min, c.max, value);
        EXPECT_EQ(ok, c.ok) << '"' << c.text << '"';
        EXPECT_EQ(value, c.ok ? c.value : 12345) << '"' << c.text << '"';
    }
}

std::vector<LineBuffer::Line> Drain(LineBuffer& buffer) {
    std::vector<LineBuffer::Line> lines;
    LineBuffer::Line line;
    while (buffer.Next(line))
        lines.push_back(line);
    return lines;
}

TEST(ConsoleLineBuffer, JoinsChunksAndDropsCarriageReturns) {
    LineBuffer buffer;
    buffer.Append("time g", 6);
    EXPECT_TRUE(Drain(buffer).empty());
    std::string rest = "et\r\n\nidle 5";
    buffer.Append(rest.data(), rest.size());
    auto lines = Drain(buffer);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "time get");
    EXPECT_EQ(lines[1].text, "");
    buffer.Finish();
    lines = Drain(buffer);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text, "idle 5");
    buffer.Finish();
    EXPECT_TRUE(Drain(buffer).empty());
}

TEST(ConsoleLineBuffer, AnOverlongLineComesOutOnceMarkedAndTheNextLineIsIntact) {
    LineBuffer buffer(8);
    std::string input = "0123456789abcdef" + std::string(1000, 'x') + "\nhelp\n";
    buffer.Append(input.data(), input.size());
    auto lines = Drain(buffer);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(lines[0].tooLong);
    EXPECT_TRUE(lines[0].text.empty());
    EXPECT_FALSE(lines[1].tooLong);
    EXPECT_EQ(lines[1].text, "help");
}

} // namespace
