#include "support/PackageBytes.h"

#include <algorithm>

namespace testsupport {

uint32_t PackageNameHash(const std::u16string& name) {
    uint32_t hash = 0;
    for (char16_t c : name)
        hash = hash * 33 + (c >= u'a' && c <= u'z' ? c - 32 : c);
    return hash;
}

void Put32(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i)
        out += char(value >> (8 * i));
}

void Put16(std::string& out, uint16_t value) {
    out += char(value);
    out += char(value >> 8);
}

std::string PackageBytes(const std::vector<PackageItem>& items) {
    std::string out = "RP#";
    out += char(1);
    out += char(0);
    Put16(out, uint16_t(items.size()));
    for (const PackageItem& item : items) {
        uint32_t nameBytes = uint32_t(item.name.size() + 1) * 2;
        Put32(out, uint32_t(out.size() + 14 + nameBytes));
        Put32(out, uint32_t(item.data.size()));
        Put32(out, PackageNameHash(item.name));
        Put16(out, uint16_t(nameBytes));
        for (char16_t c : item.name)
            Put16(out, c);
        Put16(out, 0);
        out += item.data;
    }
    return out;
}

std::vector<PackageItem> SortedByHash(std::vector<PackageItem> items) {
    std::stable_sort(items.begin(), items.end(), [](const PackageItem& a, const PackageItem& b) {
        return PackageNameHash(a.name) < PackageNameHash(b.name);
    });
    return items;
}

} // namespace testsupport
