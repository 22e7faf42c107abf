#include "common/SkinPackageFormat.h"

#include "common/NameHash.h"

#include <cstring>

namespace common {

namespace {

uint32_t Read32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
           uint32_t(bytes[3]) << 24;
}

uint16_t Read16(const uint8_t* bytes) { return uint16_t(bytes[0] | bytes[1] << 8); }

void Write32(uint32_t value, uint8_t* out) {
    for (int i = 0; i < 4; ++i)
        out[i] = uint8_t(value >> (8 * i));
}

void Write16(uint16_t value, uint8_t* out) {
    out[0] = uint8_t(value);
    out[1] = uint8_t(value >> 8);
}

// Reads exactly `count` bytes at `position`; a short read or a failed seek is false.
bool ReadAt(Stream& file, uint64_t position, uint8_t* buffer, size_t count) {
    if (position > uint64_t(INT32_MAX) || file.Seek(LONG(position), kSeekBegin) != LONG(position))
        return false;
    return file.Read(buffer, LONG(count)) == LONG(count);
}

// Reads the header at entry.position and its name bytes into `bytes`, checking both
// against the file; a fault here leaves the next header unknown.
SkinPackageFault ReadEntryHeader(Stream& file, uint64_t fileSize, uint8_t* bytes,
                                 SkinEntryInfo& entry) {
    if (entry.position + kSkinEntryHeaderSize > fileSize ||
        !ReadAt(file, entry.position, bytes, kSkinEntryHeaderSize))
        return SkinPackageFault::HeaderOutside;
    entry.header = DecodeEntryHeader(bytes);
    SkinPackageFault fault = CheckEntryHeader(entry.header, entry.position, fileSize);
    if (fault == SkinPackageFault::None &&
        !ReadAt(file, entry.position + kSkinEntryHeaderSize, bytes, entry.header.nameBytes))
        fault = SkinPackageFault::NameOutside;
    return fault;
}

} // namespace

const char* SkinPackageFaultText(SkinPackageFault fault) {
    switch (fault) {
    case SkinPackageFault::None: return "no fault";
    case SkinPackageFault::Magic: return "bad magic";
    case SkinPackageFault::Version: return "unknown version";
    case SkinPackageFault::Count: return "entry count larger than the file can hold";
    case SkinPackageFault::HeaderOutside: return "entry header outside the file";
    case SkinPackageFault::NameLength: return "bad name length";
    case SkinPackageFault::NameOutside: return "name outside the file";
    case SkinPackageFault::NameTerminator: return "name without a single terminator";
    case SkinPackageFault::NameHash: return "name hash does not match the name";
    case SkinPackageFault::DataOutside: return "data outside the file";
    case SkinPackageFault::HashOrder: return "entry out of hash order";
    case SkinPackageFault::FileSize: return "file size unreadable or too large";
    }
    return "unknown fault";
}

void EncodePackageHeader(const SkinPackageHeader& header, uint8_t* out) {
    std::memcpy(out, kSkinPackageMagic, sizeof kSkinPackageMagic);
    out[3] = header.version;
    out[4] = header.reserved;
    Write16(header.count, out + 5);
}

void EncodeEntryHeader(const SkinEntryHeader& header, uint8_t* out) {
    Write32(header.dataOffset, out);
    Write32(header.dataSize, out + 4);
    Write32(header.nameHash, out + 8);
    Write16(header.nameBytes, out + 12);
}

SkinEntryHeader DecodeEntryHeader(const uint8_t* bytes) {
    SkinEntryHeader header;
    header.dataOffset = Read32(bytes);
    header.dataSize = Read32(bytes + 4);
    header.nameHash = Read32(bytes + 8);
    header.nameBytes = Read16(bytes + 12);
    return header;
}

SkinPackageFault DecodePackageHeader(const uint8_t* bytes, uint64_t fileSize,
                                     SkinPackageHeader& header) {
    if (std::memcmp(bytes, kSkinPackageMagic, sizeof kSkinPackageMagic) != 0)
        return SkinPackageFault::Magic;
    header.version = bytes[3];
    header.reserved = bytes[4];
    header.count = Read16(bytes + 5);
    if (header.version != kSkinPackageVersion)
        return SkinPackageFault::Version;
    uint64_t smallestEntry = kSkinEntryHeaderSize + 2;
    if (fileSize < kSkinPackageHeaderSize ||
        uint64_t(header.count) * smallestEntry > fileSize - kSkinPackageHeaderSize)
        return SkinPackageFault::Count;
    return SkinPackageFault::None;
}

SkinPackageFault CheckEntryHeader(const SkinEntryHeader& header, uint64_t position,
                                  uint64_t fileSize) {
    uint64_t nameStart = position + kSkinEntryHeaderSize;
    if (nameStart > fileSize)
        return SkinPackageFault::HeaderOutside;
    if (header.nameBytes < 2 || header.nameBytes % 2 != 0 ||
        header.nameBytes > kSkinEntryNameMaxBytes)
        return SkinPackageFault::NameLength;
    if (nameStart + header.nameBytes > fileSize)
        return SkinPackageFault::NameOutside;
    if (uint64_t(header.dataOffset) + header.dataSize > fileSize)
        return SkinPackageFault::DataOutside;
    return SkinPackageFault::None;
}

SkinPackageFault DecodeEntryName(const SkinEntryHeader& header, const uint8_t* bytes,
                                 std::u16string& name) {
    size_t units = header.nameBytes / 2;
    name.clear();
    for (size_t i = 0; i + 1 < units; ++i) {
        char16_t unit = char16_t(bytes[2 * i] | bytes[2 * i + 1] << 8);
        if (unit == 0)
            return SkinPackageFault::NameTerminator;
        name += unit;
    }
    if (units == 0 || bytes[2 * units - 2] != 0 || bytes[2 * units - 1] != 0)
        return SkinPackageFault::NameTerminator;
    if (NameHash(name) != header.nameHash)
        return SkinPackageFault::NameHash;
    return SkinPackageFault::None;
}

bool WalkSkinPackage(Stream& file, const SkinEntryVisitor& onEntry,
                     const SkinFaultVisitor& onFault, SkinPackageHeader* headerOut) {
    LONG size = file.Size();
    if (size < 0) {
        onFault(-1, SkinPackageFault::FileSize);
        return false;
    }
    uint64_t fileSize = uint64_t(size);
    uint8_t bytes[kSkinEntryNameMaxBytes];
    SkinPackageHeader header;
    if (!ReadAt(file, 0, bytes, kSkinPackageHeaderSize)) {
        onFault(-1, SkinPackageFault::Magic);
        return false;
    }
    SkinPackageFault fault = DecodePackageHeader(bytes, fileSize, header);
    if (headerOut && fault != SkinPackageFault::Magic)
        *headerOut = header;
    if (fault != SkinPackageFault::None) {
        onFault(-1, fault);
        return false;
    }
    bool sound = true;
    uint64_t position = kSkinPackageHeaderSize;
    uint32_t previousHash = 0;
    for (int index = 0; index < int(header.count); ++index) {
        SkinEntryInfo entry;
        entry.index = index;
        entry.position = position;
        fault = ReadEntryHeader(file, fileSize, bytes, entry);
        if (fault != SkinPackageFault::None) {
            onFault(index, fault); // the next header cannot be found
            return false;
        }
        position = uint64_t(entry.header.dataOffset) + entry.header.dataSize;
        bool entrySound = true;
        fault = DecodeEntryName(entry.header, bytes, entry.name);
        if (fault != SkinPackageFault::None) {
            entrySound = false;
            if (!onFault(index, fault))
                return false;
        }
        if (index > 0 && entry.header.nameHash < previousHash) {
            entrySound = false;
            if (!onFault(index, SkinPackageFault::HashOrder))
                return false;
        }
        previousHash = entry.header.nameHash;
        sound = sound && entrySound;
        if (entrySound && !onEntry(entry))
            return false;
    }
    return sound;
}

} // namespace common
