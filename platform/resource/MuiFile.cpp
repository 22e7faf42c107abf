#include "resource/MuiFile.h"

namespace platform {

namespace {

constexpr char kMagic[8] = {'D', 'L', 'R', 'M', 'U', 'I', '1', '\0'};

void PutU32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

uint32_t GetU32(std::string_view bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value |= uint32_t(static_cast<unsigned char>(bytes[offset + i])) << (8 * i);
    return value;
}

} // namespace

std::string MuiFile::Serialize(const Strings& strings) {
    std::string out(kMagic, sizeof kMagic);
    PutU32(out, static_cast<uint32_t>(strings.size()));
    for (const auto& [id, text] : strings) {
        PutU32(out, id);
        PutU32(out, static_cast<uint32_t>(text.size()));
    }
    for (const auto& entry : strings)
        for (char16_t c : entry.second) {
            out += static_cast<char>(c & 0xFF);
            out += static_cast<char>(c >> 8);
        }
    return out;
}

std::optional<MuiFile::Strings> MuiFile::Parse(std::string_view bytes) {
    if (bytes.size() < 12 || bytes.substr(0, 8) != std::string_view(kMagic, 8))
        return std::nullopt;
    uint64_t count = GetU32(bytes, 8);
    if (count > kMaxStrings || 12 + count * 8 > bytes.size())
        return std::nullopt;
    uint64_t textOffset = 12 + count * 8;
    Strings strings;
    for (uint64_t i = 0; i < count; ++i) {
        uint32_t id = GetU32(bytes, 12 + i * 8);
        uint64_t length = GetU32(bytes, 12 + i * 8 + 4);
        if (textOffset + length * 2 > bytes.size() || strings.count(id))
            return std::nullopt;
        std::u16string text(length, u'\0');
        for (uint64_t k = 0; k < length; ++k) {
            size_t at = textOffset + k * 2;
            text[k] = char16_t(static_cast<unsigned char>(bytes[at]) |
                               (static_cast<unsigned char>(bytes[at + 1]) << 8));
        }
        strings.emplace(id, std::move(text));
        textOffset += length * 2;
    }
    if (textOffset != bytes.size())
        return std::nullopt;
    return strings;
}

} // namespace platform
