#include "lang/StringTableText.h"

#include "kernel/Utf.h"

#include <cstdio>

namespace lang {

namespace {

bool Unescape(std::string_view text, std::string& out) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case '\\': out += '\\'; break;
        default: return false;
        }
    }
    return true;
}

std::string CppLiteral(const std::u16string& text) {
    std::string out = "u\"";
    char buffer[16];
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F && c != '"' && c != '\\' && c != '?') {
            out += static_cast<char>(c);
        } else {
            std::snprintf(buffer, sizeof buffer, "\\x%04X\" u\"", unsigned(c));
            out += buffer;
        }
    }
    return out + "\"";
}

} // namespace

ParseResult ParseStringTable(std::string_view utf8Text) {
    ParseResult result;
    size_t lineNumber = 0;
    while (!utf8Text.empty()) {
        size_t end = utf8Text.find('\n');
        std::string_view line = utf8Text.substr(0, end);
        utf8Text = end == std::string_view::npos ? std::string_view() : utf8Text.substr(end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line[0] == '#')
            continue;
        size_t tab = line.find('\t');
        uint64_t id = 0;
        bool digits = tab != std::string_view::npos && tab > 0 && tab <= 9;
        for (size_t i = 0; digits && i < tab; ++i) {
            digits = line[i] >= '0' && line[i] <= '9';
            id = id * 10 + (line[i] - '0');
        }
        std::string text;
        if (!digits || id > 0xFFFF || !Unescape(line.substr(tab + 1), text)) {
            result.error = "line " + std::to_string(lineNumber) + ": expected NUMBER<TAB>TEXT";
            return result;
        }
        if (!result.strings.emplace(uint32_t(id), platform::FromUtf8(text)).second) {
            result.error = "line " + std::to_string(lineNumber) + ": string " +
                           std::to_string(id) + " given twice";
            return result;
        }
    }
    return result;
}

std::string GenerateCpp(const std::map<uint32_t, std::u16string>& strings, const std::string& ns) {
    std::string out = "// Generated from the string table in lang/. Do not edit.\n"
                      "#include \"ce/resource.h\"\n\nnamespace " + ns + " {\n\nnamespace {\n"
                      "const CE_STRING_RESOURCE kEntries[] = {\n";
    for (const auto& [id, text] : strings)
        out += "    {" + std::to_string(id) + ", " + std::to_string(text.size()) + ", " +
               CppLiteral(text) + "},\n";
    if (strings.empty())
        out += "    {0, 0, u\"\"},\n";
    out += "};\n} // namespace\n\nconst CE_STRING_TABLE& BuiltinStrings() {\n"
           "    static const CE_STRING_TABLE table = {" + std::to_string(strings.size()) +
           ", kEntries};\n    return table;\n}\n\n} // namespace " + ns + "\n";
    return out;
}

} // namespace lang
