// Conversions between the UTF-16 text of memory and the 8-bit text of files (UTF-8 and the
// device's ANSI code page), through the platform's code page functions. Every conversion
// of the deliverables goes through here.
#pragma once

#include <string>
#include <string_view>

namespace common {

// Malformed sequences become U+FFFD.
std::u16string Utf8ToWide(std::string_view text);
std::string WideToUtf8(std::u16string_view text);
std::u16string AnsiToWide(std::string_view text);
std::string WideToAnsi(std::u16string_view text);

} // namespace common
