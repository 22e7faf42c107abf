// The language file format: a resource-only module holding one string table.
//
//   bytes 0-7   magic "DLRMUI1\0"
//   bytes 8-11  number of strings N (little endian)
//   N records   id (4 bytes), length in characters (4 bytes), sorted by id
//   the texts   UTF-16LE, one after the other, no terminators
//
// Everything read from a file is checked against the file's real size.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace platform {

class MuiFile {
public:
    using Strings = std::map<uint32_t, std::u16string>;

    static constexpr uint32_t kMaxStrings = 65536;

    static std::string Serialize(const Strings& strings);
    // Returns nothing when the bytes are not a well-formed language file.
    static std::optional<Strings> Parse(std::string_view bytes);
};

} // namespace platform
