// Skin packages laid out byte by byte the way the format says, for tests that must not
// trust the package tool they check.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace testsupport {

struct PackageItem {
    std::u16string name;
    std::string data;
};

// The entry name hash: h * 33 + unit with a-z folded to A-Z, 32-bit.
uint32_t PackageNameHash(const std::u16string& name);
void Put32(std::string& out, uint32_t value);
void Put16(std::string& out, uint16_t value);
// "RP#", version 1, reserved 0, count, then header, UTF-16LE name with terminator and data
// of each entry back to back, in the given order.
std::string PackageBytes(const std::vector<PackageItem>& items);
// The items in ascending hash order (stable for equal hashes), as a package keeps them.
std::vector<PackageItem> SortedByHash(std::vector<PackageItem> items);

} // namespace testsupport
