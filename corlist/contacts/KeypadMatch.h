// How typed keys find contacts: a name the way a phone keypad spells its letters, a phone
// number by its leading digits (also after a country code), and where a typed number lies
// in a number as it is shown.
#pragma once

#include "ce/types.h"

#include <cstddef>
#include <string_view>

namespace corlist {

constexpr size_t kNoMatch = size_t(-1);

// Whether the typed character `key` stands for the text character `c` (both lower-cased):
// equal, or a digit whose keypad group ("2abc", "3def", ... "7prqs", "9wxyz") holds `c`.
bool KeyMatchesCharacter(char16_t key, char16_t c);
// The digit a letter is dialled with ('2' for a, b, c ...), or 0 for anything else.
char16_t LetterDigit(char16_t letter);
// A character folded to its base letter (é gives e) and lower-cased.
char16_t BaseLetter(char16_t c);

// The offset of the first word of `text` that `search` matches from its start: characters
// compare by KeyMatchesCharacter, text characters that are neither digits nor letters
// (apostrophes, hyphens) are passed over. kNoMatch when no word matches or the search is
// empty.
size_t NameMatch(std::u16string_view text, std::u16string_view search);

// Whether the typed key `search` is the start of the contact's key `contact`, or, when the
// contact's number has a country code and the typed one has none, the start of what follows
// the country code. Both are whole phone keys (common/PhoneKey.h).
bool NumberPrefixMatch(const BYTE* contact, const BYTE* search);

// Where the typed `search` lies in the shown number `shown`: tried at the national part, the
// area code, the country code and after a leading 0. The low 8 bits hold the offset of the
// first character matched, the bits above the count of characters covered; -1 for none.
long NumberHighlight(std::u16string_view shown, std::u16string_view search);

} // namespace corlist
