// One contact as the store keeps it: its identifier and its present properties. Plain
// data, shared by the store, the object model, the console and the vCard import.
#pragma once

#include "ce/cedbtypes.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace platform {

// Text (UTF-16), a 32-bit number, a FILETIME as 100 ns ticks since 1601, or bytes; which
// one follows from the tag's type (ContactFields::KindOf).
using ContactValue = std::variant<std::u16string, uint32_t, uint64_t, std::vector<uint8_t>>;

struct ContactRecord {
    CEOID oid = 0; // 0 until the record is first saved
    std::map<CEPROPID, ContactValue> values;

    const std::u16string* Text(CEPROPID tag) const {
        auto found = values.find(tag);
        return found == values.end() ? nullptr : std::get_if<std::u16string>(&found->second);
    }
};

// Longest text a property takes (characters) and the largest picture (bytes).
constexpr size_t kMaxContactText = 32767;
constexpr size_t kMaxContactPicture = 4u << 20;

} // namespace platform
