// Splits a console line into arguments and reads numbers from them. Arguments are
// separated by blanks (spaces, tabs); an argument that holds blanks is written in double
// quotes, and a doubled quote inside quotes stands for one quote character. A backslash
// is an ordinary character, because device paths and registry keys are full of them.
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class Tokenizer {
public:
    // Returns false with a reason (an unterminated quote); `args` is then incomplete.
    static bool Split(std::string_view line, std::vector<std::string>& args, std::string& error);

    // Reads a whole argument as a number: decimal ("42", "-7") or hexadecimal with a 0x
    // prefix ("0x1F"), inside [min, max]. Anything else (blanks, a trailing unit, an
    // overflow, an empty text) is refused, so "10s" never quietly becomes 10.
    static bool ParseNumber(std::string_view text, int64_t min, int64_t max, int64_t& value);

    // Reads exactly YYYY-MM-DDTHH:MM:SS (the device's local time in every command); the
    // calendar check is left to the caller's conversion (SetLocalTime,
    // SystemTimeToFileTime).
    static bool ParseLocalTime(std::string_view text, SYSTEMTIME& time);

    // Writes an argument so that Split reads it back unchanged (quotes when needed).
    static std::string Quote(std::string_view text);
};

} // namespace platform
