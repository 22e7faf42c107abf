#include "pim/VCardParser.h"

#include <algorithm>
#include <cctype>

namespace platform {

namespace {

std::string Upper(std::string_view text) {
    std::string upper(text);
    for (char& c : upper)
        c = char(std::toupper(static_cast<unsigned char>(c)));
    return upper;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// Splits the text into physical lines at CRLF, LF or a lone CR.
std::vector<std::string_view> PhysicalLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

// The part before the first unquoted ':' (name and parameters).
size_t ColonPosition(std::string_view line) {
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '"')
            quoted = !quoted;
        else if (line[i] == ':' && !quoted)
            return i;
    }
    return std::string_view::npos;
}

bool IsQuotedPrintable(std::string_view head) {
    std::string upper = Upper(head);
    return upper.find("QUOTED-PRINTABLE") != std::string::npos;
}

bool IsBase64(std::string_view head) {
    std::string upper = Upper(head);
    return upper.find("BASE64") != std::string::npos || upper.find("ENCODING=B") != std::string::npos;
}

// Joins physical lines into logical ones: a line starting with a blank continues the one
// before (folding); a quoted-printable value ending in '=' continues on the next line; a
// 2.1 base64 value continues on lines without ':' until an empty line.
std::vector<std::string> LogicalLines(const std::vector<std::string_view>& lines) {
    std::vector<std::string> logical;
    enum class Mode { Normal, SoftBreak, Base64 } mode = Mode::Normal;
    for (std::string_view line : lines) {
        bool folded = !line.empty() && (line[0] == ' ' || line[0] == '\t');
        if (!logical.empty() && logical.back().size() < VCardParser::kMaxLineBytes) {
            if (mode == Mode::SoftBreak) {
                logical.back().pop_back(); // the '=' of the soft break
                logical.back().append(line);
                mode = !line.empty() && line.back() == '=' ? Mode::SoftBreak : Mode::Normal;
                continue;
            }
            if (folded || (mode == Mode::Base64 && !line.empty() &&
                           ColonPosition(line) == std::string_view::npos)) {
                logical.back().append(folded ? line.substr(1) : line);
                continue;
            }
        }
        mode = Mode::Normal;
        if (line.empty())
            continue;
        logical.emplace_back(line);
        size_t colon = ColonPosition(line);
        if (colon == std::string_view::npos)
            continue;
        std::string_view head = line.substr(0, colon);
        if (IsQuotedPrintable(head) && line.back() == '=')
            mode = Mode::SoftBreak;
        else if (IsBase64(head))
            mode = Mode::Base64;
    }
    return logical;
}

// Splits "a;b=c;\"d;e\"" at unquoted semicolons.
std::vector<std::string_view> SplitParams(std::string_view head) {
    std::vector<std::string_view> parts;
    bool quoted = false;
    size_t start = 0;
    for (size_t i = 0; i <= head.size(); ++i) {
        if (i < head.size() && head[i] == '"')
            quoted = !quoted;
        if (i == head.size() || (head[i] == ';' && !quoted)) {
            parts.push_back(head.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

VCardParam ReadParam(std::string_view text) {
    VCardParam param;
    size_t equals = text.find('=');
    if (equals == std::string_view::npos) {
        // 2.1 bare parameters: encodings and charsets by their names, all else a type.
        std::string upper = Upper(text);
        if (upper == "QUOTED-PRINTABLE" || upper == "BASE64" || upper == "8BIT" || upper == "7BIT")
            param.name = "ENCODING";
        else
            param.name = "TYPE";
        param.value = std::string(text);
        return param;
    }
    param.name = Upper(text.substr(0, equals));
    std::string_view value = text.substr(equals + 1);
    std::string unquoted;
    for (char c : value)
        if (c != '"')
            unquoted += c;
    param.value = std::move(unquoted);
    return param;
}

// Reads one logical line into `property`; false when it is no property line.
bool ReadProperty(std::string_view line, VCardProperty& property) {
    size_t colon = ColonPosition(line);
    if (colon == std::string_view::npos || colon == 0)
        return false;
    std::vector<std::string_view> parts = SplitParams(line.substr(0, colon));
    std::string_view name = parts[0];
    if (size_t dot = name.rfind('.'); dot != std::string_view::npos)
        name = name.substr(dot + 1);
    if (name.empty())
        return false;
    property.name = Upper(name);
    for (size_t i = 1; i < parts.size(); ++i)
        if (!parts[i].empty())
            property.params.push_back(ReadParam(parts[i]));
    property.value = std::string(line.substr(colon + 1));
    return true;
}

} // namespace

bool VCardProperty::Has(std::string_view paramName, std::string_view wanted) const {
    for (const VCardParam& param : params) {
        if (param.name != paramName)
            continue;
        std::string_view values = param.value;
        while (true) {
            size_t comma = values.find(',');
            if (EqualsNoCase(values.substr(0, comma), wanted))
                return true;
            if (comma == std::string_view::npos)
                break;
            values.remove_prefix(comma + 1);
        }
    }
    return false;
}

std::string VCardProperty::Param(std::string_view paramName) const {
    for (const VCardParam& param : params)
        if (param.name == paramName)
            return param.value.substr(0, param.value.find(','));
    return {};
}

std::vector<VCard> VCardParser::Parse(std::string_view text) {
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF")
        text.remove_prefix(3);
    std::vector<VCard> cards;
    bool inCard = false;
    for (const std::string& line : LogicalLines(PhysicalLines(text))) {
        VCardProperty property;
        bool isProperty = ReadProperty(line, property);
        if (isProperty && property.name == "BEGIN" && EqualsNoCase(property.value, "VCARD")) {
            if (inCard)
                cards.back().error = "END:VCARD missing";
            cards.emplace_back();
            cards.back().number = cards.size();
            inCard = true;
            continue;
        }
        if (!inCard)
            continue; // text between cards
        VCard& card = cards.back();
        if (isProperty && property.name == "END" && EqualsNoCase(property.value, "VCARD")) {
            inCard = false;
            continue;
        }
        if (!card.error.empty())
            continue;
        if (!isProperty) {
            card.error = "line without a property name";
        } else if (line.size() >= kMaxLineBytes) {
            card.error = property.name + " too long";
        } else if (card.properties.size() >= kMaxProperties) {
            card.error = "too many properties";
        } else if (property.name == "VERSION") {
            card.version = property.value;
        } else {
            card.properties.push_back(std::move(property));
        }
    }
    if (inCard && cards.back().error.empty())
        cards.back().error = "END:VCARD missing";
    return cards;
}

} // namespace platform
