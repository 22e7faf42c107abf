#include "registry/RegistryFile.h"

#include "ce/registry.h"
#include "kernel/Utf.h"

#include <cstdio>
#include <cstring>
#include <optional>

namespace platform {

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr size_t kHexBytesPerLine = 25;

// ---- writing ----

bool IsLoneSurrogate(std::u16string_view text, size_t i) {
    char16_t c = text[i];
    if (c >= 0xD800 && c < 0xDC00)
        return i + 1 >= text.size() || text[i + 1] < 0xDC00 || text[i + 1] >= 0xE000;
    if (c >= 0xDC00 && c < 0xE000)
        return i == 0 || text[i - 1] < 0xD800 || text[i - 1] >= 0xDC00;
    return false;
}

void AppendQuoted(std::string& out, std::u16string_view text) {
    out += '"';
    size_t plainStart = 0;
    auto flush = [&](size_t end) { out += ToUtf8(text.substr(plainStart, end - plainStart)); };
    for (size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        bool escape = c == u'\\' || c == u'"' || c < 0x20 || c == 0x7F || IsLoneSurrogate(text, i);
        if (!escape)
            continue;
        flush(i);
        plainStart = i + 1;
        if (c == u'\\' || c == u'"') {
            out += '\\';
            out += static_cast<char>(c);
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04x", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    flush(text.size());
    out += '"';
}

// A REG_SZ that is exactly one text with its terminator can be written as "text".
bool IsPlainText(const RegistryValue& value) {
    const auto& data = value.data;
    if (value.type != REG_SZ || data.size() < 2 || data.size() % 2 != 0)
        return false;
    for (size_t i = 0; i + 2 < data.size(); i += 2)
        if (data[i] == 0 && data[i + 1] == 0)
            return false;
    return data[data.size() - 2] == 0 && data[data.size() - 1] == 0;
}

void AppendHex(std::string& out, const std::vector<uint8_t>& data) {
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < data.size(); ++i) {
        if (i > 0) {
            out += ',';
            if (i % kHexBytesPerLine == 0)
                out += "\\\n  ";
        }
        out += kDigits[data[i] >> 4];
        out += kDigits[data[i] & 15];
    }
}

void AppendValue(std::string& out, const std::u16string& name, const RegistryValue& value) {
    if (name.empty())
        out += '@';
    else
        AppendQuoted(out, name);
    out += '=';
    if (IsPlainText(value)) {
        AppendQuoted(out, value.AsText());
    } else if (value.type == REG_DWORD && value.data.size() == 4) {
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "dword:%08x", static_cast<unsigned>(value.AsDword()));
        out += buffer;
    } else {
        char buffer[24];
        if (value.type == REG_BINARY)
            std::snprintf(buffer, sizeof buffer, "hex:");
        else
            std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(value.type));
        out += buffer;
        AppendHex(out, value.data);
    }
    out += '\n';
}

void AppendKey(std::string& out, const RegistryKey& key) {
    out += '\n';
    out += '[';
    out += ToUtf8(key.Root()->Name());
    if (key.Parent()) {
        out += '\\';
        out += ToUtf8(key.Path());
    }
    out += "]\n";
    for (const auto& [name, value] : key.Values())
        AppendValue(out, name, value);
}

// ---- reading ----

class Parser {
public:
    Parser(std::string_view text, RegistryRoots& roots, RegistryFile::Error& error)
        : m_text(text), m_roots(roots), m_error(error) {}

    bool Run();

private:
    bool NextLine(std::string_view& line);
    bool Fail(std::string reason) {
        m_error.line = m_lineNumber;
        m_error.reason = std::move(reason);
        return false;
    }
    bool ParseSection(std::string_view line);
    bool ParseValueLine(std::string_view line);
    bool ParseQuoted(std::string_view& rest, std::u16string& text);
    bool ParseData(std::string_view rest, RegistryValue& value);
    bool ParseHexList(std::string_view rest, std::vector<uint8_t>& bytes);

    std::string_view m_text;
    size_t m_offset = 0;
    size_t m_lineNumber = 0;
    RegistryRoots& m_roots;
    RegistryFile::Error& m_error;
    RegistryKey* m_current = nullptr;
};

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::optional<uint32_t> ParseHexNumber(std::string_view digits) {
    if (digits.empty() || digits.size() > 8)
        return std::nullopt;
    uint32_t value = 0;
    for (char c : digits) {
        int d = HexDigit(c);
        if (d < 0)
            return std::nullopt;
        value = value << 4 | static_cast<uint32_t>(d);
    }
    return value;
}

bool IsBlank(std::string_view line) { return line.find_first_not_of(" \t") == std::string_view::npos; }

// Reads the next line without its end of line; false at the end of the text.
bool Parser::NextLine(std::string_view& line) {
    if (m_offset >= m_text.size())
        return false;
    size_t end = m_text.find('\n', m_offset);
    if (end == std::string_view::npos)
        end = m_text.size();
    line = m_text.substr(m_offset, end - m_offset);
    m_offset = end + 1;
    ++m_lineNumber;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    return true;
}

bool Parser::Run() {
    if (m_text.size() > RegistryFile::kMaxFileSize)
        return Fail("file too large");
    if (m_text.substr(0, 3) == "\xEF\xBB\xBF")
        m_offset = 3;
    std::string_view line;
    if (!NextLine(line) || line != kHeader)
        return Fail("missing REGEDIT4 header");
    while (NextLine(line)) {
        // Text must be valid UTF-8: a damaged byte would otherwise turn silently into U+FFFD.
        if (ToUtf8(FromUtf8(line)) != line)
            return Fail("invalid UTF-8");
        if (IsBlank(line) || line.front() == ';')
            continue;
        bool ok = line.front() == '[' ? ParseSection(line) : ParseValueLine(line);
        if (!ok)
            return false;
    }
    return true;
}

bool Parser::ParseSection(std::string_view line) {
    if (line.size() < 2 || line.back() != ']')
        return Fail("unterminated key line");
    std::u16string path = FromUtf8(line.substr(1, line.size() - 2));
    size_t split = path.find(u'\\');
    std::u16string_view rootName = std::u16string_view(path).substr(0, split);
    RegistryKey* key = EqualsNoCase(rootName, u"HKEY_LOCAL_MACHINE") ? m_roots.machine.get()
                       : EqualsNoCase(rootName, u"HKEY_CURRENT_USER") ? m_roots.user.get()
                                                                        : nullptr;
    if (!key)
        return Fail("unknown root key");
    while (split != std::u16string::npos) {
        size_t start = split + 1;
        split = path.find(u'\\', start);
        std::u16string_view name = std::u16string_view(path).substr(start, split == std::u16string::npos ? split : split - start);
        if (!RegistryKey::IsValidKeyName(name))
            return Fail("invalid key name");
        if (key->Depth() >= RegistryKey::kMaxDepth)
            return Fail("key nesting too deep");
        bool created;
        key = key->AddChild(name, created);
    }
    m_current = key;
    return true;
}

bool Parser::ParseQuoted(std::string_view& rest, std::u16string& text) {
    if (rest.empty() || rest.front() != '"')
        return Fail("expected a quoted string");
    size_t i = 1;
    std::string plain;
    auto flush = [&] {
        text += FromUtf8(plain);
        plain.clear();
    };
    while (i < rest.size() && rest[i] != '"') {
        if (rest[i] != '\\') {
            plain += rest[i++];
            continue;
        }
        if (i + 1 >= rest.size())
            return Fail("bad escape");
        char next = rest[i + 1];
        if (next == '\\' || next == '"') {
            plain += next;
            i += 2;
            continue;
        }
        std::optional<uint32_t> code;
        if (next == 'u' && i + 6 <= rest.size())
            code = ParseHexNumber(rest.substr(i + 2, 4));
        if (!code)
            return Fail("bad escape");
        flush();
        text += static_cast<char16_t>(*code);
        i += 6;
    }
    if (i >= rest.size())
        return Fail("unterminated string");
    flush();
    rest.remove_prefix(i + 1);
    return true;
}

bool Parser::ParseValueLine(std::string_view line) {
    if (!m_current)
        return Fail("value outside a key");
    std::u16string name;
    std::string_view rest = line;
    if (rest.front() == '@') {
        rest.remove_prefix(1);
    } else if (!ParseQuoted(rest, name)) {
        return false;
    } else if (name.empty() || !RegistryKey::IsValidValueName(name)) {
        // The default value is written as @; "" would be a second spelling of it.
        return Fail("invalid value name");
    }
    if (rest.empty() || rest.front() != '=')
        return Fail("expected '='");
    rest.remove_prefix(1);
    RegistryValue value;
    if (!ParseData(rest, value))
        return false;
    m_current->SetValue(name, std::move(value));
    return true;
}

bool Parser::ParseData(std::string_view rest, RegistryValue& value) {
    if (!rest.empty() && rest.front() == '"') {
        std::u16string text;
        if (!ParseQuoted(rest, text))
            return false;
        if (!rest.empty())
            return Fail("text after the value");
        value = RegistryValue::Text(text);
        return true;
    }
    if (rest.substr(0, 6) == "dword:") {
        auto number = rest.size() == 14 ? ParseHexNumber(rest.substr(6)) : std::nullopt;
        if (!number)
            return Fail("bad dword");
        value = RegistryValue::Dword(*number);
        return true;
    }
    if (rest.substr(0, 4) == "hex:") {
        value.type = REG_BINARY;
        return ParseHexList(rest.substr(4), value.data);
    }
    if (rest.substr(0, 4) == "hex(") {
        size_t close = rest.find("):");
        auto type = close == std::string_view::npos ? std::nullopt : ParseHexNumber(rest.substr(4, close - 4));
        if (!type)
            return Fail("bad value type");
        value.type = *type;
        return ParseHexList(rest.substr(close + 2), value.data);
    }
    return Fail("unknown value format");
}

// Comma-separated byte pairs; a line ending in ",\" continues on the next line.
bool Parser::ParseHexList(std::string_view rest, std::vector<uint8_t>& bytes) {
    while (true) {
        size_t i = 0;
        while (i < rest.size()) {
            if (rest[i] == '\\' && i + 1 == rest.size() && !bytes.empty() && rest[i - 1] == ',')
                break;
            int high = i + 1 < rest.size() ? HexDigit(rest[i]) : -1;
            int low = high >= 0 ? HexDigit(rest[i + 1]) : -1;
            if (low < 0)
                return Fail("bad hex byte");
            if (bytes.size() >= RegistryKey::kMaxValueSize)
                return Fail("value too large");
            bytes.push_back(static_cast<uint8_t>(high << 4 | low));
            i += 2;
            if (i < rest.size()) {
                if (rest[i] != ',')
                    return Fail("bad hex list");
                ++i;
                if (i == rest.size())
                    return Fail("truncated value");
            }
        }
        if (i == rest.size())
            return true;
        // Continuation: the next line holds more bytes after its indentation.
        std::string_view next;
        if (!NextLine(next))
            return Fail("truncated value");
        size_t start = next.find_first_not_of(" \t");
        if (start == std::string_view::npos)
            return Fail("truncated value");
        rest = next.substr(start);
    }
}

} // namespace

std::string RegistryFile::Serialize(const RegistryRoots& roots, bool skipVolatile) {
    std::string out(kHeader);
    out += '\n';
    for (const RegistryKey* root : {roots.machine.get(), roots.user.get()}) {
        // Pre-order walk with an explicit stack; subkeys come out in their folded-name order.
        std::vector<const RegistryKey*> pending{root};
        while (!pending.empty()) {
            const RegistryKey* key = pending.back();
            pending.pop_back();
            if (skipVolatile && key->IsVolatile())
                continue;
            if (key->Parent() || !key->Values().empty())
                AppendKey(out, *key);
            const auto& children = key->Children();
            for (auto it = children.rbegin(); it != children.rend(); ++it)
                pending.push_back(it->second.get());
        }
    }
    return out;
}

bool RegistryFile::Parse(std::string_view text, RegistryRoots& roots, Error& error) {
    return Parser(text, roots, error).Run();
}

} // namespace platform
