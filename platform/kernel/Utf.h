// Text helpers of the platform: UTF-8 <-> UTF-16 and case folding of device names.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string ToUtf8(std::u16string_view text);
// Malformed sequences become U+FFFD.
std::u16string FromUtf8(std::string_view text);
// Folds A-Z and the Latin-1 capitals to lower case, as the device's name comparisons do.
char16_t FoldCase(char16_t c);
std::u16string FoldCase(std::u16string_view text);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);
// Length of a zero-terminated UTF-16 string.
size_t StrLen(const char16_t* text);

} // namespace platform
