#include "corlist/image/ExifReader.h"

#include <cstring>

namespace corlist {

namespace {

constexpr WORD kTypeAscii = 2;
constexpr WORD kTypeShort = 3;
constexpr WORD kTypeLong = 4;
constexpr WORD kTypeRational = 5;
constexpr size_t kEntrySize = 12;

enum Tag : WORD {
    kMake = 0x010F,
    kModel = 0x0110,
    kOrientation = 0x0112,
    kDateTime = 0x0132,
    kExifIfd = 0x8769,
    kExposureTime = 0x829A,
    kFNumber = 0x829D,
    kIsoSpeed = 0x8827,
    kDateTimeOriginal = 0x9003,
    kFlash = 0x9209,
    kFocalLength = 0x920A,
};

// A TIFF block with its byte order; every read is checked against the block.
class Tiff {
public:
    Tiff(const BYTE* data, size_t size, bool bigEndian) : m_data(data), m_size(size), m_bigEndian(bigEndian) {}

    bool Has(uint64_t offset, uint64_t count) const { return offset <= m_size && count <= m_size - offset; }
    WORD Word(size_t offset) const {
        const BYTE* p = m_data + offset;
        return m_bigEndian ? WORD((p[0] << 8) | p[1]) : WORD((p[1] << 8) | p[0]);
    }
    DWORD Long(size_t offset) const {
        const BYTE* p = m_data + offset;
        return m_bigEndian ? (DWORD(p[0]) << 24) | (DWORD(p[1]) << 16) | (DWORD(p[2]) << 8) | p[3]
                           : (DWORD(p[3]) << 24) | (DWORD(p[2]) << 16) | (DWORD(p[1]) << 8) | p[0];
    }
    const BYTE* At(size_t offset) const { return m_data + offset; }

private:
    const BYTE* m_data;
    size_t m_size;
    bool m_bigEndian;
};

struct Entry {
    WORD tag;
    WORD type;
    DWORD count;
    size_t valueOffset; // where the value's bytes are, checked to lie inside the block
};

size_t TypeSize(WORD type) {
    switch (type) {
    case 1: case 2: case 6: case 7: return 1;
    case 3: case 8: return 2;
    case 4: case 9: case 11: return 4;
    case 5: case 10: case 12: return 8;
    default: return 0;
    }
}

// False when the entry's value does not lie inside the block.
bool ReadEntry(const Tiff& tiff, size_t at, Entry& entry) {
    entry.tag = tiff.Word(at);
    entry.type = tiff.Word(at + 2);
    entry.count = tiff.Long(at + 4);
    uint64_t bytes = uint64_t(TypeSize(entry.type)) * entry.count;
    if (bytes == 0)
        return false;
    entry.valueOffset = bytes <= 4 ? at + 8 : tiff.Long(at + 8);
    return tiff.Has(entry.valueOffset, bytes);
}

void CopyText(const Tiff& tiff, const Entry& entry, char* text, size_t capacity) {
    if (entry.type != kTypeAscii)
        return;
    size_t length = entry.count < capacity ? entry.count : capacity - 1;
    std::memcpy(text, tiff.At(entry.valueOffset), length);
    text[length] = 0; // always terminated, whatever the file holds
}

WORD ShortOf(const Tiff& tiff, const Entry& entry) {
    return entry.type == kTypeShort ? tiff.Word(entry.valueOffset) : 0;
}

ExifRational RationalOf(const Tiff& tiff, const Entry& entry) {
    if (entry.type != kTypeRational)
        return {};
    return {tiff.Long(entry.valueOffset), tiff.Long(entry.valueOffset + 4)};
}

// Keeps the tags shown to the user; returns the EXIF sub-IFD offset when this IFD has one.
DWORD KeepTag(const Tiff& tiff, const Entry& entry, ExifInfo& info) {
    switch (entry.tag) {
    case kMake: CopyText(tiff, entry, info.make, sizeof(info.make)); break;
    case kModel: CopyText(tiff, entry, info.model, sizeof(info.model)); break;
    case kDateTime: CopyText(tiff, entry, info.dateTime, sizeof(info.dateTime)); break;
    case kDateTimeOriginal: CopyText(tiff, entry, info.dateTimeOriginal, sizeof(info.dateTimeOriginal)); break;
    case kOrientation: info.orientation = ShortOf(tiff, entry); break;
    case kIsoSpeed: info.isoSpeed = ShortOf(tiff, entry); break;
    case kFlash: info.flash = ShortOf(tiff, entry); break;
    case kExposureTime: info.exposureTime = RationalOf(tiff, entry); break;
    case kFNumber: info.fNumber = RationalOf(tiff, entry); break;
    case kFocalLength: info.focalLength = RationalOf(tiff, entry); break;
    case kExifIfd: return entry.type == kTypeLong ? tiff.Long(entry.valueOffset) : 0;
    default: break;
    }
    return 0;
}

// Reads one IFD; returns the offset of the next one in the chain (0: none or broken).
DWORD ReadIfd(const Tiff& tiff, DWORD offset, ExifInfo& info, DWORD& exifIfd) {
    if (!tiff.Has(offset, 2))
        return 0;
    WORD count = tiff.Word(offset);
    if (!tiff.Has(uint64_t(offset) + 2, uint64_t(count) * kEntrySize + 4))
        return 0;
    for (WORD i = 0; i < count; ++i) {
        Entry entry;
        if (ReadEntry(tiff, offset + 2 + size_t(i) * kEntrySize, entry))
            if (DWORD sub = KeepTag(tiff, entry, info))
                exifIfd = sub;
    }
    return tiff.Long(offset + 2 + size_t(count) * kEntrySize);
}

} // namespace

bool ExifReader::BlockOf(const BYTE* segment, size_t length, const BYTE** block, size_t* size) {
    static constexpr BYTE kSignature[5] = {'E', 'x', 'i', 'f', 0};
    // The segment length counts its own two bytes: "length minus 8" is length - 6 here, and a
    // segment shorter than the signature has no block at all.
    if (!segment || length < 6 || std::memcmp(segment, kSignature, 5) != 0)
        return false;
    size_t blockSize = length - 6;
    if (blockSize == 0 || blockSize >= kMaxBlock)
        return false;
    *block = segment + 6;
    *size = blockSize;
    return true;
}

bool ExifReader::Parse(const BYTE* block, size_t size, ExifInfo& info) {
    info = ExifInfo{};
    if (!block || size < 8)
        return false;
    bool bigEndian;
    if (block[0] == 'I' && block[1] == 'I')
        bigEndian = false;
    else if (block[0] == 'M' && block[1] == 'M')
        bigEndian = true;
    else
        return false;
    Tiff tiff(block, size, bigEndian);
    if (tiff.Word(2) != 42)
        return false;
    DWORD exifIfd = 0;
    DWORD offset = tiff.Long(4);
    DWORD visited[kMaxIfds] = {};
    // The IFD chain is followed a few steps only, and never back to an IFD already read.
    for (int i = 0; i < kMaxIfds && offset; ++i) {
        for (int j = 0; j < i; ++j)
            if (visited[j] == offset)
                offset = 0;
        if (!offset)
            break;
        visited[i] = offset;
        offset = ReadIfd(tiff, offset, info, exifIfd);
    }
    if (exifIfd) {
        DWORD ignored = 0;
        ReadIfd(tiff, exifIfd, info, ignored); // the sub-IFD's own pointers are not followed
    }
    info.present = true;
    return true;
}

} // namespace corlist
