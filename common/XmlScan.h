// The byte scanning of the XML reader's parse loop: byte classes, names with their hash,
// and 16-byte searches over the text being parsed. Shared by the reader's own parse and by
// the parses that XmlReaderFor instantiates for a reader type.
#pragma once

#include <array>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace common::xmlscan {

// Byte classes of the scanning loops. Bytes are signed: every byte from 0x80 up counts as
// white space, so such a byte cuts a name. 0 is the terminator, never white space.
enum : uint8_t { kSpace = 1, kEnd = 2, kEquals = 4 };

constexpr std::array<uint8_t, 256> MakeByteClasses() {
    std::array<uint8_t, 256> classes{};
    classes[0] = kEnd;
    for (int c = 1; c <= 0x20; ++c)
        classes[c] = kSpace;
    for (int c = 0x80; c <= 0xFF; ++c)
        classes[c] = kSpace;
    classes['='] = kEquals;
    return classes;
}

inline constexpr std::array<uint8_t, 256> kByteClasses = MakeByteClasses();

constexpr uint8_t ClassOfByte(int c) { return kByteClasses[size_t(c)]; }

inline uint8_t ClassOf(char c) { return kByteClasses[static_cast<unsigned char>(c)]; }

inline bool IsSpace(char c) { return ClassOf(c) == kSpace; }

inline char* SkipSpace(char* p) {
    while (IsSpace(*p))
        ++p;
    return p;
}

// For the name scans: each byte as the name hash takes it (a-z folded) times `factor`, or
// kNameStop for a byte that ends the name: 0, white space, and '=' too in attribute names.
inline constexpr uint16_t kNameStop = 0x8000;

constexpr std::array<uint16_t, 256> MakeNameBytes(bool stopAtEquals, unsigned factor) {
    std::array<uint16_t, 256> bytes{};
    for (int c = 0; c < 256; ++c) {
        bool stops = ClassOfByte(c) != 0 && (stopAtEquals || ClassOfByte(c) != kEquals);
        unsigned folded = c >= 'a' && c <= 'z' ? unsigned(c - 'a' + 'A') : unsigned(c);
        bytes[c] = stops ? kNameStop : uint16_t(folded * factor);
    }
    return bytes;
}

// A name scan's tables: its bytes as they are and times 33, the first of a pair of bytes.
struct NameTables {
    std::array<uint16_t, 256> bytes;
    std::array<uint16_t, 256> times33;
};

inline constexpr NameTables kElementNameBytes = {MakeNameBytes(false, 1), MakeNameBytes(false, 33)};
inline constexpr NameTables kAttributeNameBytes = {MakeNameBytes(true, 1), MakeNameBytes(true, 33)};

// Scans a name up to its first stop byte and hashes it on the way, two bytes a step with one
// test for both: h*33*33 + a*33 + b is two single steps, and a*33 comes from a table. The
// byte after a stop byte is read too; the text is padded for that (kScanPadding).
inline char* ScanName(char* p, const NameTables& tables, uint32_t& hash) {
    uint32_t h = 0;
    for (;; p += 2) {
        uint32_t first = tables.times33[static_cast<unsigned char>(p[0])];
        uint32_t second = tables.bytes[static_cast<unsigned char>(p[1])];
        if ((first | second) & kNameStop)
            break;
        h = h * (33u * 33u) + first + second;
    }
    uint32_t last = tables.bytes[static_cast<unsigned char>(p[0])];
    if (!(last & kNameStop)) {
        h = h * 33u + last;
        ++p;
    }
    hash = h;
    return p;
}

// The inverse of 33 modulo 2^32 (33 is odd, so it has one) by Newton's iteration: each step
// doubles the correct bits. It takes the last step off a name hash.
inline constexpr uint32_t kInverseOf33 = [] {
    uint32_t x = 33;
    for (int i = 0; i < 5; ++i)
        x *= 2u - 33u * x;
    return x;
}();
static_assert(kInverseOf33 * 33u == 1u);

#if defined(__SSE2__)
// strchr over the text being parsed, 16 bytes per step: the first `c` (never 0) from `p`,
// or null when a 0 comes first. A step may look at up to 15 bytes past the 0 that ends
// the search; the text block has kScanPadding bytes after its last terminator for that.
inline char* FindByte(char* p, char c) {
    const __m128i wanted = _mm_set1_epi8(c);
    const __m128i zero = _mm_setzero_si128();
    for (;; p += 16) {
        __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_or_si128(_mm_cmpeq_epi8(bytes, wanted), _mm_cmpeq_epi8(bytes, zero));
        if (int mask = _mm_movemask_epi8(hits)) {
            p += __builtin_ctz(unsigned(mask));
            return *p ? p : nullptr;
        }
    }
}
#else
inline char* FindByte(char* p, char c) { return std::strchr(p, c); }
#endif

// For FindOpen: 1 for '<' and 0, where the search for the next tag stops.
constexpr std::array<uint8_t, 256> MakeOpenStops() {
    std::array<uint8_t, 256> stops{};
    stops[0] = 1;
    stops['<'] = 1;
    return stops;
}

inline constexpr std::array<uint8_t, 256> kOpenStops = MakeOpenStops();

// The next '<' from `p`, or null when a 0 comes first, a byte at a time: the stretch between
// two tags is mostly a line break and indentation, shorter than a vector search's first step
// takes to answer.
inline char* FindOpen(char* p) {
    for (;; p += 4) {
        if (kOpenStops[static_cast<unsigned char>(p[0])])
            break;
        if (kOpenStops[static_cast<unsigned char>(p[1])]) {
            p += 1;
            break;
        }
        if (kOpenStops[static_cast<unsigned char>(p[2])]) {
            p += 2;
            break;
        }
        if (kOpenStops[static_cast<unsigned char>(p[3])]) {
            p += 3;
            break;
        }
    }
    return *p ? p : nullptr;
}

inline bool EqualsNoCaseAscii(const char* a, const char* b) {
    for (;; ++a, ++b) {
        char ca = *a, cb = *b;
        if (ca >= 'a' && ca <= 'z')
            ca = char(ca - 'a' + 'A');
        if (cb >= 'a' && cb <= 'z')
            cb = char(cb - 'a' + 'A');
        if (ca != cb)
            return false;
        if (!ca)
            return true;
    }
}

// Whether the tag in [tag, close) is "</" `name` followed by its end or white space. A
// name longer than the tag cannot match, so nothing past close is read.
// A name of up to 8 bytes, nearly every one, is compared in one step: both texts are padded
// past their ends (kScanPadding), so 8 bytes can be read from each.
inline bool IsEndTagOf(const char* tag, const char* close, const char* name, size_t length) {
    if (tag[1] != '/' || length > size_t(close - (tag + 2)))
        return false;
    if (length <= 8) {
        uint64_t a, b;
        std::memcpy(&a, tag + 2, 8);
        std::memcpy(&b, name, 8);
        uint64_t mask = length == 8 ? ~uint64_t(0) : (uint64_t(1) << (8 * length)) - 1;
        if ((a ^ b) & mask)
            return false;
    } else if (std::memcmp(tag + 2, name, length) != 0) {
        return false;
    }
    return tag[2 + length] == 0 || IsSpace(tag[2 + length]);
}

// Zero bytes after the text's terminators, so that FindByte may read a whole step past
// the last one (and the other scans the few bytes they read ahead).
inline constexpr size_t kScanPadding = 16;

} // namespace common::xmlscan
