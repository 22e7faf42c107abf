// The name hash of skin elements, attributes, nodes and package entries: h = h * 33 + c
// over the bytes with a-z folded to A-Z, 32-bit unsigned. It ignores ASCII case; a lookup
// decides whether the comparison after a hash match does too.
#pragma once

#include <cstdint>

namespace common {

constexpr uint32_t NameHash(const char* name) {
    uint32_t hash = 0;
    if (!name)
        return 0;
    for (; *name; ++name) {
        auto c = static_cast<unsigned char>(*name);
        if (c >= 'a' && c <= 'z')
            c = static_cast<unsigned char>(c - 'a' + 'A');
        hash = hash * 33u + c;
    }
    return hash;
}

} // namespace common
