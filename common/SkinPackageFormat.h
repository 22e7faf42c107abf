// The layout of a skin package (".rpk"), in one place for the reader and the package tool.
// All integers are little-endian:
//   header: "RP#", version 1, a reserved byte, the entry count (16 bits);
//   entry:  data offset (absolute), data size, name hash, name length in bytes with the
//           terminator (16 bits), the name in UTF-16LE ending in a 0 unit.
// The next entry header starts at data offset + data size. Entries are in ascending
// unsigned order of their name hash.
#pragma once

#include "common/Stream.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace common {

constexpr char kSkinPackageMagic[3] = {'R', 'P', '#'};
constexpr uint8_t kSkinPackageVersion = 1;
constexpr size_t kSkinPackageHeaderSize = 7;
constexpr size_t kSkinEntryHeaderSize = 14;
// The longest name: a device path of 260 units with its terminator.
constexpr uint32_t kSkinEntryNameMaxBytes = 2 * 260;

struct SkinPackageHeader {
    uint8_t version = kSkinPackageVersion;
    uint8_t reserved = 0;
    uint16_t count = 0;
};

struct SkinEntryHeader {
    uint32_t dataOffset = 0;
    uint32_t dataSize = 0;
    uint32_t nameHash = 0;
    uint16_t nameBytes = 0;
};

// One entry as found in the file: its header, where the header starts, and its name
// without the terminator.
struct SkinEntryInfo {
    int index = 0;
    uint64_t position = 0;
    SkinEntryHeader header;
    std::u16string name;
};

enum class SkinPackageFault {
    None,
    Magic,
    Version,
    Count,
    HeaderOutside,
    NameLength,
    NameOutside,
    NameTerminator,
    NameHash,
    DataOutside,
    HashOrder,
    FileSize,
};

// A short English description ("data outside the file").
const char* SkinPackageFaultText(SkinPackageFault fault);

void EncodePackageHeader(const SkinPackageHeader& header, uint8_t* out);
void EncodeEntryHeader(const SkinEntryHeader& header, uint8_t* out);
SkinEntryHeader DecodeEntryHeader(const uint8_t* bytes);

// Magic, version, and a count that the file can hold at all (every entry needs its header
// and at least a terminator).
SkinPackageFault DecodePackageHeader(const uint8_t* bytes, uint64_t fileSize,
                                     SkinPackageHeader& header);

// Whether the header at `position`, its name and its data lie inside a file of fileSize
// bytes, and the name length is even, at least one unit and at most the longest name.
SkinPackageFault CheckEntryHeader(const SkinEntryHeader& header, uint64_t position,
                                  uint64_t fileSize);

// The name bytes of a checked header: the only 0 unit is the last one, and the hash in
// the header is the name's. `name` receives the name without its terminator.
SkinPackageFault DecodeEntryName(const SkinEntryHeader& header, const uint8_t* bytes,
                                 std::u16string& name);

using SkinEntryVisitor = std::function<bool(const SkinEntryInfo& entry)>;
// entryIndex is -1 for a fault of the package header.
using SkinFaultVisitor = std::function<bool(int entryIndex, SkinPackageFault fault)>;

// Reads the package in `file` (positioned anywhere) entry by entry in file order. onEntry
// sees every entry whose header, name and data are sound, onFault every fault; either
// stops the walk by returning false. A fault that leaves the next header unknown (a header
// or data outside the file) ends the walk. Returns true when the whole package was read
// without a fault; `header` receives the package header once its fields were read.
bool WalkSkinPackage(Stream& file, const SkinEntryVisitor& onEntry,
                     const SkinFaultVisitor& onFault, SkinPackageHeader* header = nullptr);

} // namespace common
