// Phone number keys: every comparison of two phone numbers goes through one compact key
// per number. A key keeps the dialable characters (digits, '*', '#') last digit first,
// together with the lengths of the country code and the area code found in the written
// number, so that one number written in international form, with a trunk prefix or with
// its area code in parentheses still matches itself.
//
// Layout of a key (bytes):
//   0   number of digits stored (at most 255)
//   1   phone type index (0-9, see ContactRecord.h; 0 for a number that is no contact's)
//   2   length of the country code (0 if none)
//   3   length of the area code (0 if none)
//   4.. the dialable characters in reverse order, padded with zeros to a multiple of 4.
//
// A contact's key block is: byte 0 number of keys, byte 1 index of the default number
// within the block, then the keys one after the other.
#pragma once

#include "ce/types.h"

#include <array>
#include <cstddef>
#include <string_view>
#include <vector>

namespace common {

constexpr size_t kPhoneKeyHeaderSize = 4;
// A number with more dialable characters keeps its last ones (the national end).
constexpr size_t kMaxPhoneKeyDigits = 255;
constexpr size_t kMaxPhoneKeySize = kPhoneKeyHeaderSize + 256;
constexpr size_t kPhoneKeyBlockHeaderSize = 2;

// Where the parts of a written number are, as offsets into the text.
struct NumberParts {
    size_t countryStart = 0;
    size_t countryLength = 0; // characters from countryStart, digits only; 0 if none
    size_t areaStart = 0;
    size_t areaLength = 0; // 0 if none
    // Start of the national part: after the area code, else after the country code,
    // else at the first dialable character, past one trunk '0'.
    size_t nationalStart = 0;
};

// Finds the country code, the area code and the national part of a written number.
NumberParts ParseNumber(std::u16string_view number);

// One built key; holds its bytes, so it can be kept and copied freely.
class PhoneKey {
public:
    // A key with 0 digits (it matches nothing).
    PhoneKey() = default;
    PhoneKey(std::u16string_view number, BYTE typeIndex);

    const BYTE* Bytes() const { return m_bytes.data(); }
    // 4 header bytes plus the digits rounded up to a multiple of 4.
    size_t Size() const;
    BYTE DigitCount() const { return m_bytes[0]; }
    BYTE TypeIndex() const { return m_bytes[1]; }
    BYTE CountryCodeLength() const { return m_bytes[2]; }
    BYTE AreaCodeLength() const { return m_bytes[3]; }
    // The stored digits, last digit of the number first.
    std::string_view Digits() const;

private:
    std::array<BYTE, kMaxPhoneKeySize> m_bytes{};
};

// Size of the key at `key` as its header gives it.
constexpr size_t PhoneKeySize(const BYTE* key) {
    return kPhoneKeyHeaderSize + ((size_t(key[0]) + 3) & ~size_t(3));
}

// Whether two keys name the same number. Symmetric; a key with 0 digits matches nothing.
// Both keys must be whole (PhoneKeySize bytes readable); a header whose code lengths
// exceed its digit count never matches.
bool KeysMatch(const BYTE* a, const BYTE* b);

// A contact's key block: builds it key by key.
class PhoneKeyBlock {
public:
    // Appends `key`; false (and nothing appended) when the block already holds 255 keys.
    bool Append(const PhoneKey& key);
    void SetDefaultIndex(BYTE index);
    size_t KeyCount() const { return m_bytes.empty() ? 0 : m_bytes[0]; }
    // The finished block, empty when no key was appended.
    const std::vector<BYTE>& Bytes() const { return m_bytes; }
    std::vector<BYTE> Take() { return std::move(m_bytes); }

private:
    std::vector<BYTE> m_bytes;
};

// The key at `index` of a block, or null when the block holds no such key or is cut short.
const BYTE* KeyAt(const BYTE* block, size_t blockSize, size_t index);

// The first key of the block that matches `key`, or null. Keys that would run past
// `blockSize` end the search.
const BYTE* FindKey(const BYTE* block, size_t blockSize, const BYTE* key);

// Whether two blocks hold the same number of keys and every key matches the key at the
// same place of the other block (their default indexes may differ).
bool BlocksMatch(const std::vector<BYTE>& a, const std::vector<BYTE>& b);

} // namespace common
