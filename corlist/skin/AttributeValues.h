// Readers of the values skin attributes carry: integers, percentages, number pairs, word
// lists and names kept as UTF-16. Every reader refuses what it cannot read instead of
// guessing, so an element keeps its previous value (or its default) for a bad one.
#pragma once

#include "ce/types.h"
#include "common/NodeArena.h"

#include <cstdint>
#include <initializer_list>

namespace corlist {

// A decimal integer with an optional sign and blanks around it; values beyond the int range
// are clamped. False for anything else (empty, junk after the number).
bool ParseInteger(const char* text, int& value);
// Skin numbers beyond this are refused (or clamped) as sizes: larger than any screen, and
// small enough to be multiplied by the coordinate scale without overflow.
constexpr int kMaxSkinSize = 4096;
// A size in skin units (0..kMaxSkinSize, or -kMaxSkinSize..kMaxSkinSize when `signedValue`)
// times the coordinate scale; false (and `size` unchanged) for anything else.
bool ParseScaledSize(const char* text, int& size, bool signedValue = false);
// Two integers separated by one comma ("3,2", " 3 , 2 "); false unless exactly two.
bool ParseIntegerPair(const char* text, int& first, int& second);
// A percentage clamped to 0..100 (negative ones too) scaled to percent * scale / 10000:
// 25500 gives an 8-bit weight, 25600 a 0..256 opacity.
int PercentToWeight(int percent, int scale);

struct WordBits {
    const char* word; // lower case
    uint32_t bits;
};
// ORs the bits of every comma-separated word of `text` found in `words`; words are trimmed
// of blanks and lower-cased before matching, unknown words add nothing.
uint32_t ParseWordBits(const char* text, std::initializer_list<WordBits> words);

// `text` (UTF-8) as a zero-terminated UTF-16 string in `arena`; null for a null text or
// when memory runs out.
WCHAR* CopyWide(const char* text, common::NodeArena& arena);

} // namespace corlist
