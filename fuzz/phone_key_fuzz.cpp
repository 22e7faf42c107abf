// Arbitrary UTF-16 text as two phone numbers: parsing and building keys must stay inside
// the text and the key, matching must be symmetric, and a key block made of arbitrary
// bytes must never be read past its end.
#include "common/PhoneKey.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void CheckParts(std::u16string_view number) {
    common::NumberParts parts = common::ParseNumber(number);
    if (parts.countryStart + parts.countryLength > number.size() ||
        parts.areaStart + parts.areaLength > number.size() || parts.nationalStart > number.size())
        std::abort();
}

void CheckKey(const common::PhoneKey& key) {
    if (key.Size() > common::kMaxPhoneKeySize ||
        key.CountryCodeLength() + key.AreaCodeLength() > key.DigitCount())
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::u16string text(size / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i)
        text[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
    size_t split = text.find(u'\n');
    std::u16string_view first = std::u16string_view(text).substr(0, split);
    std::u16string_view second =
        split == std::u16string::npos ? first : std::u16string_view(text).substr(split + 1);
    CheckParts(first);
    CheckParts(second);
    common::PhoneKey a(first, 0);
    common::PhoneKey b(second, 1);
    CheckKey(a);
    CheckKey(b);
    if (common::KeysMatch(a.Bytes(), b.Bytes()) != common::KeysMatch(b.Bytes(), a.Bytes()))
        std::abort();
    // The raw bytes as a key block: copied, so reading past `size` is caught.
    std::vector<BYTE> block(data, data + size);
    common::FindKey(block.data(), block.size(), a.Bytes());
    common::KeyAt(block.data(), block.size(), size % 7);
    return 0;
}
