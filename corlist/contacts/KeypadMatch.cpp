#include "corlist/contacts/KeypadMatch.h"

#include "common/PhoneKey.h"

#include "ce/winnls.h"

#include <array>

namespace corlist {

namespace {

constexpr std::array<std::u16string_view, 10> kLetterGroups = {
    u"0", u"1", u"2abc", u"3def", u"4ghi", u"5jkl", u"6mno", u"7prqs", u"8tuv", u"9wxyz",
};
constexpr std::u16string_view kLetterDigits = u"22233344455566677778889999";

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

bool IsLowerLetter(char16_t c) {
    return c >= u'a' && c <= u'z';
}

bool IsLetter(char16_t c) {
    return IsLowerLetter(c) || (c >= u'A' && c <= u'Z');
}

char16_t Lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c;
}

bool IsDialable(char16_t c) {
    return IsDigit(c) || c == u'*' || c == u'#' || c == u'+';
}

// Compares `search` with `text` from `start`; true when the search is used up first.
bool MatchesWordAt(std::u16string_view text, size_t start, std::u16string_view search, size_t& stop) {
    size_t t = start;
    size_t s = 0;
    while (s < search.size()) {
        if (t >= text.size()) {
            stop = t;
            return false;
        }
        char16_t c = BaseLetter(text[t]);
        char16_t key = Lower(search[s]);
        if (c == key || KeyMatchesCharacter(key, c)) {
            ++t;
            ++s;
        } else if (!IsDigit(c) && !IsLowerLetter(c)) {
            ++t; // punctuation inside a name ("O'Neil") is passed over
        } else {
            stop = t;
            return false;
        }
    }
    return true;
}

// Walks the typed text from `s` against the shown number from `t`; the first shown
// character matched goes to `first`, and the count of shown characters from there to the
// last one matched comes back (0 when it does not match there).
size_t MatchNumberAt(std::u16string_view shown, size_t t, std::u16string_view search, size_t s, size_t& first) {
    first = kNoMatch;
    size_t last = t;
    while (s < search.size()) {
        char16_t key = search[s];
        if (!IsDigit(key) && !IsLetter(key)) {
            ++s;
            continue;
        }
        while (t < shown.size() && !IsDigit(shown[t]) && !IsLetter(shown[t]))
            ++t;
        if (t >= shown.size())
            return 0;
        char16_t c = shown[t];
        bool equal = Lower(c) == Lower(key) || (IsDigit(key) && IsLetter(c) && LetterDigit(c) == key);
        if (!equal)
            return 0;
        if (first == kNoMatch)
            first = t;
        last = ++t;
        ++s;
    }
    return first != kNoMatch ? last - first : 0;
}

} // namespace

char16_t LetterDigit(char16_t letter) {
    letter = Lower(letter);
    return IsLowerLetter(letter) ? kLetterDigits[size_t(letter - u'a')] : 0;
}

bool KeyMatchesCharacter(char16_t key, char16_t c) {
    if (key == c)
        return true;
    return IsDigit(key) && kLetterGroups[size_t(key - u'0')].find(c) != std::u16string_view::npos;
}

char16_t BaseLetter(char16_t c) {
    if (c > 127) {
        WCHAR folded[8] = {};
        if (FoldStringW(MAP_COMPOSITE, &c, 1, folded, 8) > 0)
            c = folded[0];
    }
    return Lower(c);
}

size_t NameMatch(std::u16string_view text, std::u16string_view search) {
    if (search.empty())
        return kNoMatch;
    size_t word = 0;
    for (;;) {
        while (word < text.size() && text[word] == u' ')
            ++word;
        if (word >= text.size())
            return kNoMatch;
        size_t stop = word;
        if (MatchesWordAt(text, word, search, stop))
            return word;
        // The next word starts after the blank that follows the mismatch.
        size_t blank = text.find(u' ', stop);
        if (blank == std::u16string_view::npos)
            return kNoMatch;
        word = blank + 1;
    }
}

bool NumberPrefixMatch(const BYTE* contact, const BYTE* search) {
    size_t searchDigits = search[0];
    size_t contactDigits = contact[0];
    if (searchDigits == 0 || contactDigits == 0)
        return false;
    // Keys keep the digits last one first: a prefix of the number is the key's tail.
    const BYTE* contactFirst = contact + common::kPhoneKeyHeaderSize;
    const BYTE* searchFirst = search + common::kPhoneKeyHeaderSize;
    auto prefixAt = [&](size_t skip) {
        if (skip + searchDigits > contactDigits)
            return false;
        for (size_t i = 0; i < searchDigits; ++i)
            if (searchFirst[searchDigits - 1 - i] != contactFirst[contactDigits - 1 - skip - i])
                return false;
        return true;
    };
    if (prefixAt(0))
        return true;
    size_t country = contact[2];
    return country > 0 && search[2] == 0 && country <= contactDigits && prefixAt(country);
}

long NumberHighlight(std::u16string_view shown, std::u16string_view search) {
    size_t s = 0;
    while (s < search.size() && !IsDialable(search[s]))
        ++s;
    if (s < search.size() && search[s] == u'0' && (s + 1 >= search.size() || search[s + 1] != u'0'))
        ++s;
    if (s >= search.size())
        return -1;
    common::NumberParts parts = common::ParseNumber(shown);
    size_t places[4] = {parts.nationalStart, parts.areaLength ? parts.areaStart : kNoMatch,
                        parts.countryLength ? parts.countryStart : kNoMatch, kNoMatch};
    size_t firstDialable = 0;
    while (firstDialable < shown.size() && !IsDialable(shown[firstDialable]))
        ++firstDialable;
    if (firstDialable < shown.size() && shown[firstDialable] == u'0')
        places[3] = firstDialable + 1;
    for (size_t place : places) {
        if (place == kNoMatch || place > shown.size())
            continue;
        size_t first = kNoMatch;
        if (size_t covered = MatchNumberAt(shown, place, search, s, first); covered > 0 && first <= 0xFF)
            return long((covered << 8) | first);
    }
    return -1;
}

} // namespace corlist
