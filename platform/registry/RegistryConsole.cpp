#include "registry/RegistryConsole.h"

#include "kernel/Utf.h"
#include "registry/Registry.h"

#include <charconv>
#include <cstdio>
#include <cstring>

namespace platform {

namespace {

// Splits "HKLM\Path" into the predefined key and the path.
bool SplitKey(std::string_view keyText, HKEY& root, std::u16string& path, std::string& error) {
    size_t split = keyText.find('\\');
    std::string_view rootName = keyText.substr(0, split);
    std::u16string folded = FoldCase(FromUtf8(rootName));
    if (folded == u"hklm" || folded == u"hkey_local_machine")
        root = HKEY_LOCAL_MACHINE;
    else if (folded == u"hkcu" || folded == u"hkey_current_user")
        root = HKEY_CURRENT_USER;
    else {
        error = "unknown root key";
        return false;
    }
    path = split == std::string_view::npos ? std::u16string() : FromUtf8(keyText.substr(split + 1));
    return true;
}

std::string Describe(LONG code) {
    switch (code) {
    case ERROR_FILE_NOT_FOUND: return "not found";
    case ERROR_INVALID_PARAMETER: return "invalid name or data";
    case ERROR_ACCESS_DENIED: return "access denied";
    case ERROR_KEY_DELETED: return "key deleted";
    default: return "registry error " + std::to_string(code);
    }
}

std::string Hex(const std::vector<uint8_t>& data) {
    static const char kDigits[] = "0123456789abcdef";
    std::string out;
    for (uint8_t byte : data) {
        out += kDigits[byte >> 4];
        out += kDigits[byte & 15];
    }
    return out;
}

std::string Printable(std::u16string_view text) {
    std::string out = ToUtf8(text);
    for (char& c : out)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            c = '?';
    return out;
}

std::string MultiText(const RegistryValue& value) {
    std::u16string all(value.data.size() / 2, u'\0');
    if (!all.empty())
        std::memcpy(all.data(), value.data.data(), all.size() * 2);
    std::string out;
    size_t start = 0;
    bool first = true;
    while (start < all.size()) {
        size_t end = all.find(u'\0', start);
        if (end == std::u16string::npos)
            end = all.size();
        if (end == start)
            break; // the empty string ends the list
        if (!first)
            out += '|';
        out += Printable(std::u16string_view(all).substr(start, end - start));
        first = false;
        start = end + 1;
    }
    return out;
}

std::string Format(const RegistryValue& value) {
    switch (value.type) {
    case REG_DWORD:
        if (value.data.size() == 4) {
            char buffer[24];
            std::snprintf(buffer, sizeof buffer, "dword 0x%08X", static_cast<unsigned>(value.AsDword()));
            return buffer;
        }
        break;
    case REG_SZ: return "sz " + Printable(value.AsText());
    case REG_EXPAND_SZ: return "expand_sz " + Printable(value.AsText());
    case REG_BINARY: return "binary " + Hex(value.data);
    case REG_MULTI_SZ: return "multi_sz " + MultiText(value);
    case REG_NONE: return value.data.empty() ? "none" : "none " + Hex(value.data);
    default: break;
    }
    char prefix[24];
    std::snprintf(prefix, sizeof prefix, "hex(%x) ", static_cast<unsigned>(value.type));
    return prefix + Hex(value.data);
}

bool ParseDword(std::string_view text, DWORD& out) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    uint64_t value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty() || value > 0xFFFFFFFFu)
        return false;
    out = static_cast<DWORD>(value);
    return true;
}

bool ParseBinary(std::string_view text, std::vector<uint8_t>& out) {
    if (text.size() % 2 != 0)
        return false;
    for (size_t i = 0; i < text.size(); i += 2) {
        uint8_t byte = 0;
        auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
        if (ec != std::errc() || end != text.data() + i + 2)
            return false;
        out.push_back(byte);
    }
    return true;
}

bool BuildValue(std::string_view type, std::string_view data, RegistryValue& value) {
    if (type == "dword") {
        DWORD number;
        if (!ParseDword(data, number))
            return false;
        value = RegistryValue::Dword(number);
    } else if (type == "sz") {
        value = RegistryValue::Text(FromUtf8(data));
    } else if (type == "binary") {
        value.type = REG_BINARY;
        return ParseBinary(data, value.data);
    } else if (type == "multi_sz") {
        std::u16string all = FromUtf8(data);
        for (auto& c : all)
            if (c == u'|')
                c = u'\0';
        if (!all.empty())
            all += u'\0';
        value = RegistryValue::Text(all, REG_MULTI_SZ);
    } else {
        return false;
    }
    return true;
}

} // namespace

bool RegistryConsole::Get(std::string_view keyText, std::string_view valueName, std::string& answer,
                          std::string& error) {
    HKEY root;
    std::u16string path;
    if (!SplitKey(keyText, root, path, error))
        return false;
    Registry& registry = Registry::Instance();
    HKEY key = nullptr;
    LONG code = registry.OpenKey(root, path, key);
    if (code == ERROR_SUCCESS) {
        code = registry.ReadValue(key, FromUtf8(valueName), [&](const RegistryValue& value) { answer = Format(value); });
        registry.CloseKey(key);
    }
    if (code != ERROR_SUCCESS)
        error = Describe(code);
    return code == ERROR_SUCCESS;
}

bool RegistryConsole::Set(std::string_view keyText, std::string_view valueName, std::string_view type,
                          std::string_view data, std::string& error) {
    HKEY root;
    std::u16string path;
    if (!SplitKey(keyText, root, path, error))
        return false;
    RegistryValue value;
    if (!BuildValue(type, data, value)) {
        error = "bad type or data";
        return false;
    }
    Registry& registry = Registry::Instance();
    HKEY key = nullptr;
    DWORD disposition;
    LONG code = registry.CreateKey(root, path, key, disposition);
    if (code == ERROR_SUCCESS) {
        code = registry.SetValue(key, FromUtf8(valueName), std::move(value));
        registry.CloseKey(key);
    }
    if (code != ERROR_SUCCESS)
        error = Describe(code);
    return code == ERROR_SUCCESS;
}

bool RegistryConsole::DeleteValue(std::string_view keyText, std::string_view valueName, std::string& error) {
    HKEY root;
    std::u16string path;
    if (!SplitKey(keyText, root, path, error))
        return false;
    Registry& registry = Registry::Instance();
    HKEY key = nullptr;
    LONG code = registry.OpenKey(root, path, key);
    if (code == ERROR_SUCCESS) {
        code = registry.DeleteValue(key, FromUtf8(valueName));
        registry.CloseKey(key);
    }
    if (code != ERROR_SUCCESS)
        error = Describe(code);
    return code == ERROR_SUCCESS;
}

bool RegistryConsole::DeleteKey(std::string_view keyText, std::string& error) {
    HKEY root;
    std::u16string path;
    if (!SplitKey(keyText, root, path, error))
        return false;
    LONG code = Registry::Instance().DeleteKey(root, path);
    if (code != ERROR_SUCCESS)
        error = Describe(code);
    return code == ERROR_SUCCESS;
}

} // namespace platform
