#include "console/Tokenizer.h"

#include <charconv>

namespace platform {

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Reads the quoted part that starts after an opening quote at `pos`; leaves `pos` after the
// closing quote. False when the line ends first.
bool ReadQuoted(std::string_view line, size_t& pos, std::string& arg) {
    while (pos < line.size()) {
        char c = line[pos++];
        if (c != '"') {
            arg += c;
            continue;
        }
        if (pos < line.size() && line[pos] == '"') {
            arg += '"';
            ++pos;
            continue;
        }
        return true;
    }
    return false;
}

} // namespace

bool Tokenizer::Split(std::string_view line, std::vector<std::string>& args, std::string& error) {
    args.clear();
    size_t pos = 0;
    while (true) {
        while (pos < line.size() && IsBlank(line[pos]))
            ++pos;
        if (pos >= line.size())
            return true;
        std::string arg;
        // Quoted and unquoted parts may follow each other inside one argument (a"b c"d).
        while (pos < line.size() && !IsBlank(line[pos])) {
            char c = line[pos++];
            if (c != '"') {
                arg += c;
            } else if (!ReadQuoted(line, pos, arg)) {
                error = "unterminated quote";
                return false;
            }
        }
        args.push_back(std::move(arg));
    }
}

bool Tokenizer::ParseNumber(std::string_view text, int64_t min, int64_t max, int64_t& value) {
    bool negative = !text.empty() && text.front() == '-';
    if (negative)
        text.remove_prefix(1);
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars would accept a second sign; only digits may follow.
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return false;
    uint64_t magnitude = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (ec != std::errc() || end != text.data() + text.size())
        return false;
    constexpr uint64_t kMaxMagnitude = uint64_t(INT64_MAX) + 1;
    if (magnitude > (negative ? kMaxMagnitude : uint64_t(INT64_MAX)))
        return false;
    int64_t result = negative ? int64_t(0 - magnitude) : int64_t(magnitude);
    if (result < min || result > max)
        return false;
    value = result;
    return true;
}

std::string Tokenizer::Quote(std::string_view text) {
    bool needsQuotes = text.empty();
    for (char c : text)
        if (IsBlank(c) || c == '"')
            needsQuotes = true;
    if (!needsQuotes)
        return std::string(text);
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"')
            quoted += '"';
    }
    return quoted + '"';
}

bool Tokenizer::ParseLocalTime(std::string_view text, SYSTEMTIME& time) {
    static const char kPattern[] = "dddd-dd-ddTdd:dd:dd";
    if (text.size() != sizeof kPattern - 1)
        return false;
    for (size_t i = 0; i < text.size(); ++i) {
        bool digit = text[i] >= '0' && text[i] <= '9';
        if (kPattern[i] == 'd' ? !digit : text[i] != kPattern[i])
            return false;
    }
    auto field = [&](size_t at, size_t length) {
        WORD value = 0;
        for (size_t i = at; i < at + length; ++i)
            value = WORD(value * 10 + (text[i] - '0'));
        return value;
    };
    time = SYSTEMTIME{};
    time.wYear = field(0, 4);
    time.wMonth = field(5, 2);
    time.wDay = field(8, 2);
    time.wHour = field(11, 2);
    time.wMinute = field(14, 2);
    time.wSecond = field(17, 2);
    return true;
}

} // namespace platform
