#include "pim/VCardText.h"

#include <cerrno>
#include <iconv.h>

namespace platform {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

int Base64Value(char c) {
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    if (c >= 'a' && c <= 'z')
        return c - 'a' + 26;
    if (c >= '0' && c <= '9')
        return c - '0' + 52;
    if (c == '+' || c == '-')
        return 62;
    if (c == '/' || c == '_')
        return 63;
    return -1;
}

bool IsUtf8Name(std::string_view charset) {
    std::string upper;
    for (char c : charset)
        upper += char(c >= 'a' && c <= 'z' ? c - 32 : c);
    return upper.empty() || upper == "UTF-8" || upper == "UTF8" || upper == "US-ASCII";
}

std::vector<std::string> SplitUnescaped(std::string_view value, char separator) {
    std::vector<std::string> parts(1);
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == '\\' && i + 1 < value.size()) {
            parts.back() += c;
            parts.back() += value[++i];
        } else if (c == separator) {
            parts.emplace_back();
        } else {
            parts.back() += c;
        }
    }
    return parts;
}

} // namespace

bool VCardText::DecodeQuotedPrintable(std::string_view text, std::string& out) {
    out.clear();
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            out += text[i];
            continue;
        }
        if (i + 2 >= text.size())
            return false;
        int high = HexValue(text[i + 1]), low = HexValue(text[i + 2]);
        if (high < 0 || low < 0)
            return false;
        out += char(high * 16 + low);
        i += 2;
    }
    return true;
}

bool VCardText::DecodeBase64(std::string_view text, std::vector<uint8_t>& out) {
    out.clear();
    uint32_t bits = 0;
    int count = 0;
    size_t padding = 0;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\r' || c == '\n')
            continue;
        if (c == '=') {
            ++padding;
            continue;
        }
        int value = Base64Value(c);
        if (value < 0 || padding)
            return false; // a character after the padding, or none of the alphabet
        bits = (bits << 6) | uint32_t(value);
        if (++count == 4) {
            out.push_back(uint8_t(bits >> 16));
            out.push_back(uint8_t(bits >> 8));
            out.push_back(uint8_t(bits));
            bits = 0;
            count = 0;
        }
    }
    if (count == 1 || padding > 2)
        return false;
    if (count == 2)
        out.push_back(uint8_t(bits >> 4));
    else if (count == 3) {
        out.push_back(uint8_t(bits >> 10));
        out.push_back(uint8_t(bits >> 2));
    }
    return true;
}

bool VCardText::ToUtf8(std::string_view bytes, std::string_view charset, std::string& out) {
    if (IsUtf8Name(charset)) {
        out.assign(bytes);
        return true;
    }
    std::string name(charset);
    iconv_t converter = iconv_open("UTF-8", name.c_str());
    if (converter == iconv_t(-1))
        return false;
    out.assign(bytes.size() * 4 + 4, '\0');
    char* in = const_cast<char*>(bytes.data());
    size_t inLeft = bytes.size();
    char* target = out.data();
    size_t outLeft = out.size();
    size_t result = iconv(converter, &in, &inLeft, &target, &outLeft);
    iconv_close(converter);
    if (result == size_t(-1) || inLeft != 0)
        return false;
    out.resize(out.size() - outLeft);
    return true;
}

std::vector<std::string> VCardText::Components(std::string_view value) {
    return SplitUnescaped(value, ';');
}

std::vector<std::string> VCardText::List(std::string_view value) { return SplitUnescaped(value, ','); }

std::string VCardText::Unescape(std::string_view value) {
    std::string out;
    for (size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c != '\\' || i + 1 >= value.size()) {
            out += c;
            continue;
        }
        char next = value[++i];
        out += next == 'n' || next == 'N' ? '\n' : next;
    }
    size_t first = out.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    size_t last = out.find_last_not_of(" \t");
    return out.substr(first, last - first + 1);
}

} // namespace platform
