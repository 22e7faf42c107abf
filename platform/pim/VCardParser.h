// Reads vCard files (2.1, 3.0 and 4.0) into cards of raw properties: lines unfolded
// (3.0/4.0 folding, 2.1 quoted-printable soft breaks and base64 blocks), names and
// parameters split. Values stay undecoded; VCardMapper decodes what it maps. Pure: no
// store, no device, so the fuzz target links it alone.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct VCardParam {
    std::string name;  // upper case; a 2.1 bare value ("CELL") is named TYPE
    std::string value; // as written, quotes removed
};

struct VCardProperty {
    std::string name; // upper case, without its group ("item1.TEL" -> "TEL")
    std::vector<VCardParam> params;
    std::string value;

    // True when a parameter `name` has `value` among its comma-separated values (any case).
    bool Has(std::string_view name, std::string_view value) const;
    // The first value of parameter `name`, empty when absent.
    std::string Param(std::string_view name) const;
};

struct VCard {
    size_t number = 0; // 1-based position in the file
    std::string version;
    std::vector<VCardProperty> properties;
    std::string error; // not empty: the card is broken and must be skipped
};

class VCardParser {
public:
    // Every card of `text` (UTF-8, with or without BOM; CRLF, LF or CR line ends).
    static std::vector<VCard> Parse(std::string_view text);

    // Longest logical line and most properties per card; longer cards are broken.
    static constexpr size_t kMaxLineBytes = 8u << 20;
    static constexpr size_t kMaxProperties = 1000;
};

} // namespace platform
