// Typed keys against names and numbers: keypad letter groups, words, punctuation and
// accents in names; number prefixes with and without the country code; where a typed number
// lies in a shown one.
#include "common/PhoneKey.h"
#include "corlist/contacts/KeypadMatch.h"
#include "support/TestDevice.h"

#include <string>

using corlist::kNoMatch;

namespace {

// FoldStringW needs the booted platform.
class KeypadMatch : public testsupport::TestDevice {};

TEST_F(KeypadMatch, NamesAreSpelledWithTheKeypad) {
    struct Case {
        const char16_t* name;
        const char16_t* typed;
        size_t word;
    } cases[] = {
        {u"John", u"564", 0},
        {u"Mary Johnson", u"564", 5},      // through the second word
        {u"Ajohn", u"564", kNoMatch},      // not inside a word
        {u"Bob", u"2", 0},
        {u"Zed 2nd", u"2", 4},             // a digit matches itself
        {u"Carl", u"2", 0},
        {u"Dora", u"2", kNoMatch},
        {u"O'Neil", u"6634", 0},           // the apostrophe is passed over
        {u"\u00c9mile Zola", u"36", 0},    // an accented initial by its base letter
        {u"\u00e9mile", u"e", 0},
        {u"  Anna", u"2", 2},              // leading blanks
        {u"Jo", u"564", kNoMatch},         // the text ends first
        {u"Anna", u"", kNoMatch},
        {u"Mary Ann-Lee", u"2665", 5},     // a hyphen inside a word is passed over
        {u"Mary Smith", u"smi", 5},        // letters match themselves
    };
    for (const Case& c : cases)
        EXPECT_EQ(corlist::NameMatch(c.name, c.typed), c.word)
            << std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name));
}

TEST_F(KeypadMatch, NumbersMatchByTheirStartAlsoAfterTheCountryCode) {
    common::PhoneKey contact(u"+44 20 7946 0958", 1);
    auto matches = [&](const char16_t* typed) {
        common::PhoneKey search(typed, 0);
        return corlist::NumberPrefixMatch(contact.Bytes(), search.Bytes());
    };
    EXPECT_TRUE(matches(u"020"));  // the trunk 0 is dropped, then after the country code
    EXPECT_TRUE(matches(u"44"));
    EXPECT_TRUE(matches(u"4420794"));
    EXPECT_TRUE(matches(u"2079"));
    EXPECT_FALSE(matches(u"7946"));
    EXPECT_TRUE(matches(u"+4420"));   // a typed country code compares from the number's start
    EXPECT_FALSE(matches(u"+4320"));
    EXPECT_FALSE(matches(u""));
    common::PhoneKey national(u"0171 555 123", 2);
    common::PhoneKey typed(u"171", 0);
    EXPECT_TRUE(corlist::NumberPrefixMatch(national.Bytes(), typed.Bytes()));
    common::PhoneKey longer(u"17155512345", 0);
    EXPECT_FALSE(corlist::NumberPrefixMatch(national.Bytes(), longer.Bytes()));
}

TEST_F(KeypadMatch, TheHighlightCoversTheTypedDigitsInTheShownNumber) {
    auto highlight = [](const char16_t* shown, const char16_t* typed) { return corlist::NumberHighlight(shown, typed); };
    // "+44 20 7946 0958": the typed 020 covers "20" at offset 4.
    EXPECT_EQ(highlight(u"+44 20 7946 0958", u"020"), (2 << 8) | 4);
    // 44 is found at the country code.
    EXPECT_EQ(highlight(u"+44 20 7946 0958", u"44"), (2 << 8) | 1);
    // Blanks inside the shown number are covered too.
    EXPECT_EQ(highlight(u"+44 20 7946 0958", u"2079"), (5 << 8) | 4);
    EXPECT_EQ(highlight(u"+44 20 7946 0958", u"9999"), -1);
    // A typed "+" stands for the country code's own "+".
    EXPECT_EQ(highlight(u"+44 20 7946 0958", u"+4420"), (5 << 8) | 1);
    // Letters of a number dial as their keys: "800 FLO" after the trunk 0.
    EXPECT_EQ(highlight(u"0800 FLOWERS", u"0800356"), (7 << 8) | 1);
    EXPECT_EQ(highlight(u"12345", u""), -1);
    EXPECT_EQ(highlight(u"12345", u"0"), -1);
}

TEST(LetterDigit, LettersDialAsOnAKeypad) {
    EXPECT_EQ(corlist::LetterDigit(u'a'), u'2');
    EXPECT_EQ(corlist::LetterDigit(u'S'), u'7');
    EXPECT_EQ(corlist::LetterDigit(u'z'), u'9');
    EXPECT_EQ(corlist::LetterDigit(u'1'), 0);
    EXPECT_TRUE(corlist::KeyMatchesCharacter(u'7', u'q'));
    EXPECT_FALSE(corlist::KeyMatchesCharacter(u'7', u't'));
}

} // namespace
