// Decoding of vCard values: quoted-printable, base64 (also "data:" URIs), character sets
// other than UTF-8 (through iconv), backslash escapes, and components split at ';'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class VCardText {
public:
    // "=XX" escapes; soft breaks are already gone. False on a broken escape.
    static bool DecodeQuotedPrintable(std::string_view text, std::string& out);
    // Base64 with blanks and line breaks ignored. False on other characters or bad padding.
    static bool DecodeBase64(std::string_view text, std::vector<uint8_t>& out);
    // `bytes` in `charset` (any case; empty means UTF-8) as UTF-8. False when the charset is
    // unknown or the bytes are not valid in it.
    static bool ToUtf8(std::string_view bytes, std::string_view charset, std::string& out);
    // Splits at ';' not preceded by a backslash (N, ADR, ORG), escapes left in place.
    static std::vector<std::string> Components(std::string_view value);
    // Splits at unescaped ',' (CATEGORIES, NICKNAME), escapes left in place.
    static std::vector<std::string> List(std::string_view value);
    // Resolves \\, \;, \, and \n / \N; trims blanks around the text.
    static std::string Unescape(std::string_view value);
};

} // namespace platform
