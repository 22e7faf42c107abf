// How console answers write device values: texts in quotes that one answer line can
// hold, window handles, process names. Shared by the command groups so that every
// answer writes them the same way.
#pragma once

#include "ce/types.h"

#include <string>
#include <string_view>

namespace platform {

class ConsoleFormat {
public:
    // `text` in double quotes, a quote inside doubled (the console reads it back), and
    // control characters shown as '?' so that a title with a line break stays one line.
    static std::string Quoted(std::u16string_view text);
    // A word of an answer line: quoted only when it holds blanks or quotes; control
    // characters shown as '?'.
    static std::string Word(std::u16string_view text);
    // "0x" and at least eight hexadecimal digits.
    static std::string Handle(const void* handle);
    // Win32 error code as a short reason ("file not found", "access denied", ...).
    static std::string ErrorText(DWORD error);
};

} // namespace platform
