// The name hash of skin elements, attributes, nodes and package entries: h = h * 33 + c
// over the bytes with a-z folded to A-Z, 32-bit unsigned. It ignores ASCII case; a lookup
// decides whether the comparison after a hash match does too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace common {

// One step of the hash for the byte `c`.
constexpr uint32_t NameHashStep(uint32_t hash, char c) {
    auto byte = static_cast<unsigned char>(c);
    if (byte >= 'a' && byte <= 'z')
        byte = static_cast<unsigned char>(byte - 'a' + 'A');
    return hash * 33u + byte;
}

// Hashes `name` and reports its length in the same pass.
constexpr uint32_t NameHash(const char* name, size_t& length) {
    uint32_t hash = 0;
    length = 0;
    if (!name)
        return 0;
    for (; name[length]; ++length)
        hash = NameHashStep(hash, name[length]);
    return hash;
}

constexpr uint32_t NameHash(const char* name) {
    size_t length = 0;
    return NameHash(name, length);
}

// The hash of a package entry name: the same fold and step over UTF-16 units.
constexpr uint32_t NameHash(std::u16string_view name) {
    uint32_t hash = 0;
    for (char16_t unit : name) {
        if (unit >= u'a' && unit <= u'z')
            unit = char16_t(unit - u'a' + u'A');
        hash = hash * 33u + unit;
    }
    return hash;
}

} // namespace common
