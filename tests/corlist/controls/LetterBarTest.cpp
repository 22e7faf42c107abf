// Fitting letters to the letter bar's height, and the bars beside a list: the letter bar's
// letters and touches, the scroll bar's thumb.
#include "corlist/controls/LetterBarLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace corlist;

namespace {

std::vector<BarLetter> Letters(const std::u16string& chars, std::vector<int> entries = {}) {
    std::vector<BarLetter> letters;
    for (size_t i = 0; i < chars.size(); ++i)
        letters.push_back(BarLetter{chars[i], i < entries.size() ? entries[i] : 5, int(i) * 10, 0});
    return letters;
}

std::u16string Chars(const std::vector<BarLetter>& letters) {
    std::u16string chars;
    for (const BarLetter& letter : letters)
        chars.push_back(letter.ch);
    return chars;
}

TEST(LetterSlots, SlotsOfAHeight) {
    const struct {
        int height, cell, count, slots;
    } cases[] = {
        {200, 20, 26, 10}, {220, 20, 10, 10}, // 11 slots for 10 letters: one to spare is none
        {240, 20, 10, 10}, {260, 20, 10, 13}, {200, 0, 5, 0}, // no cell height: no letters
        {200, -4, 5, 0},   {30, 20, 5, 0},    // one slot: no letter bar
        {40, 20, 1, 0},    // two slots for one letter count as one
    };
    for (const auto& c : cases)
        EXPECT_EQ(LetterSlots(c.height, c.cell, c.count), c.slots) << c.height << "/" << c.cell << " " << c.count;
}

TEST(LetterFitting, TheLettersWithFewestEntriesAreDropped) {
    std::u16string alphabet = u"ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::vector<int> entries(26, 1);
    // Ten letters have many entries; A and Z have the fewest of all but are never dropped.
    for (char16_t keep : std::u16string(u"DFHKMPRT"))
        entries[size_t(keep - u'A')] = 50;
    entries[0] = 0;
    entries[25] = 0;
    std::vector<BarLetter> fitted = FitLetters(Letters(alphabet, entries), 10);
    EXPECT_EQ(Chars(fitted), u"ADFHKMPRTZ");
    EXPECT_EQ(fitted[1].firstItem, 30); // D kept its first item
    // Among equal counts the earlier letter goes first.
    std::vector<int> equal(26, 1);
    EXPECT_EQ(Chars(FitLetters(Letters(alphabet, equal), 10)), u"ARSTUVWXYZ");
}

TEST(LetterFitting, LettersAreInsertedAtTheEndsAndInTheLargestGaps) {
    const struct {
        std::u16string letters;
        int slots;
        std::u16string fitted;
    } cases[] = {
        {u"BM", 10, u"ABDGJMPSVZ"},    // A in front, Z at the end, then the middles of gaps
        {u"ABCDEFGHIJ", 10, u"ABCDEFGHIJ"},
        {u"ABYZ", 5, u"ABMYZ"},
        {u"ZMB", 5, u"ZSMBA"},          // descending: Z at the front, A at the end
        {u"ABCDEFGHIJKLMNOPQRSTUVWXYZ", 28, u"ABCDEFGHIJKLMNOPQRSTUVWXYZ"}, // no gap left
        {u"0BZ", 5, u"0BHNZ"},          // a digit's gap ends at ':'
        {u"05", 4, u"025Z"},
        {u"#M", 4, u"#AMZ"},            // A between a sign before it and a letter after it
        {u"bm", 4, u"AbmZ"},             // compared in upper case
    };
    for (const auto& c : cases) {
        std::vector<BarLetter> fitted = FitLetters(Letters(c.letters), c.slots);
        EXPECT_EQ(Chars(fitted), c.fitted) << std::string(c.letters.begin(), c.letters.end());
        for (const BarLetter& letter : fitted) {
            if (c.letters.find(letter.ch) == std::u16string::npos) {
                EXPECT_EQ(letter.entries, 0) << "an inserted letter has no entries";
            }
        }
    }
}

TEST(LetterFitting, FewerThanTwoSlotsGiveNoLetters) {
    EXPECT_TRUE(FitLetters(Letters(u"ABC"), 1).empty());
    EXPECT_TRUE(FitLetters(Letters(u"ABC"), 0).empty());
    EXPECT_TRUE(FitLetters({}, 10).empty());
}

TEST(LetterFitting, PositionsSpreadTheLettersEvenly) {
    std::vector<BarLetter> letters = Letters(u"ABC");
    PlaceLetters(letters, 10, 100);
    EXPECT_EQ(letters[0].position, 10);
    EXPECT_EQ(letters[1].position, 43);
    EXPECT_EQ(letters[2].position, 76);
}

} // namespace
