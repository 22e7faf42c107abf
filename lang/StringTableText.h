// The text form of a string table: one string per line, its number, a tab and its text.
// Lines starting with '#' and blank lines are ignored; "\n", "\t" and "\\" are escapes.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace lang {

struct ParseResult {
    std::map<uint32_t, std::u16string> strings;
    std::string error; // empty on success; names the line otherwise
};

ParseResult ParseStringTable(std::string_view utf8Text);

// C++ source that defines `const CE_STRING_TABLE& <ns>::BuiltinStrings()`.
std::string GenerateCpp(const std::map<uint32_t, std::u16string>& strings, const std::string& ns);

} // namespace lang
