#include "common/PhoneKey.h"
#include "common/CountryCodes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

using namespace common;

namespace {

std::u16string Text(const char* ascii) {
    return std::u16string(ascii, ascii + std::strlen(ascii));
}

std::string Reversed(std::string digits) {
    return std::string(digits.rbegin(), digits.rend());
}

PhoneKey Key(const char* number, BYTE type = 0) {
    return PhoneKey(Text(number), type);
}

struct KeyCase {
    const char* number;
    const char* digits; // in written order
    int country;
    int area;
};

const KeyCase kKeyCases[] = {
    {"+44 20 7946 0958", "442079460958", 2, 0},
    {"0044 20 7946 0958", "442079460958", 2, 0},
    {"020 7946 0958", "2079460958", 0, 0},
    {"20 7946 0958", "2079460958", 0, 0},
    {"1 (800) 555-1234", "18005551234", 1, 3},
    {"1-800-555-1234", "18005551234", 1, 3},
    {"+1 800 555 1234", "18005551234", 1, 3},
    {"(800) 555-1234", "8005551234", 0, 3},
    {"+7 495 123-45-67", "74951234567", 1, 3},
    {"+353 1 234 5678", "35312345678", 3, 0},
    {"+1 8005551234", "18005551234", 1, 0},
    {"tel: 0171 12345", "17112345", 0, 0},
    {"(0800) 123 456", "800123456", 0, 0},
    {"*100#", "*100#", 0, 0},
    {"#31#0170 555", "#31#0170555", 0, 0},
    {"", "", 0, 0},
    {"no number", "", 0, 0},
    {"+", "", 0, 0},
    {"+44", "44", 2, 0},
    {"+4", "4", 1, 0},
    // A leading '0' is a trunk prefix, never a country code, even before parentheses.
    {"030 (1234) 5678", "3012345678", 0, 0},
    // Parentheses that do not follow the leading digits hold no area code of theirs.
    {"555 1234 (home)", "5551234", 0, 0},
};

TEST(PhoneKey, BuildsDigitsAndCodeLengths) {
    for (const KeyCase& c : kKeyCases) {
        PhoneKey key = Key(c.number, 3);
        SCOPED_TRACE(c.number);
        EXPECT_EQ(key.Digits(), Reversed(c.digits));
        EXPECT_EQ(key.DigitCount(), std::strlen(c.digits));
        EXPECT_EQ(key.TypeIndex(), 3);
        EXPECT_EQ(key.CountryCodeLength(), c.country);
        EXPECT_EQ(key.AreaCodeLength(), c.area);
        EXPECT_EQ(key.Size(), 4 + (std::strlen(c.digits) + 3) / 4 * 4);
    }
}

struct PartsCase {
    const char* number;
    size_t countryStart, countryLength, areaStart, areaLength, nationalStart;
};

TEST(PhoneKey, ParsesTheWrittenParts) {
    const PartsCase cases[] = {
        {"+44 20 7946 0958", 1, 2, 0, 0, 3},
        {"0044 20 7946 0958", 2, 2, 0, 0, 4},
        {"020 7946 0958", 0, 0, 0, 0, 1},
        {"1 (800) 555-1234", 0, 1, 3, 3, 7},
        {"+1 800 555 1234", 1, 1, 3, 3, 6},
        {"(800) 555-1234", 0, 0, 1, 3, 5},
        {"*100#", 0, 0, 0, 0, 0},
        {"", 0, 0, 0, 0, 0},
    };
    for (const PartsCase& c : cases) {
        SCOPED_TRACE(c.number);
        NumberParts parts = ParseNumber(Text(c.number));
        EXPECT_EQ(parts.countryStart, c.countryStart);
        EXPECT_EQ(parts.countryLength, c.countryLength);
        EXPECT_EQ(parts.areaStart, c.areaStart);
        EXPECT_EQ(parts.areaLength, c.areaLength);
        EXPECT_EQ(parts.nationalStart, c.nationalStart);
    }
}

// Numbers in one group match each other and nothing of another group.
const std::vector<std::vector<const char*>> kMatchGroups = {
    {"+44 20 7946 0958", "0044 20 7946 0958", "020 7946 0958", "20 7946 0958"},
    {"1 (800) 555-1234", "1-800-555-1234", "+1 800 555 1234", "(800) 555-1234", "555-1234"},
    {"*100#"},
    {"*101#"},
    {"100"},
};

TEST(PhoneKey, MatchesTheFormsOfOneNumberAndNoOther) {
    for (size_t g = 0; g < kMatchGroups.size(); ++g) {
        for (size_t h = 0; h < kMatchGroups.size(); ++h) {
            for (const char* a : kMatchGroups[g]) {
                for (const char* b : kMatchGroups[h]) {
                    PhoneKey keyA = Key(a), keyB = Key(b);
                    EXPECT_EQ(KeysMatch(keyA.Bytes(), keyB.Bytes()), g == h) << a << " / " << b;
                }
            }
        }
    }
}

TEST(PhoneKey, CountryCodesMatchOnlyWhenEqual) {
    struct Pair {
        const char* a;
        const char* b;
        bool match;
    };
    const Pair pairs[] = {
        // Same national number, codes of the same length and of different lengths.
        {"+44 20 7946 0958", "+33 20 7946 0958", false},
        {"+44 20 7946 0958", "+353 20 7946 0958", false},
        {"+1 800 555 1234", "+7 800 555 1234", false},
        {"+44 20 7946 0958", "0044-20-79460958", true},
        // A number written without a country code matches it in any country.
        {"020 7946 0958", "+33 20 7946 0958", true},
        {"(800) 555-1234", "+7 800 555 1234", true},
        {"555-1234", "+7 (800) 555-1234", true},
        {"555-1234", "+44 20 7946 0958", false},
    };
    for (const Pair& pair : pairs) {
        EXPECT_EQ(KeysMatch(Key(pair.a).Bytes(), Key(pair.b).Bytes()), pair.match)
            << pair.a << " / " << pair.b;
        EXPECT_EQ(KeysMatch(Key(pair.b).Bytes(), Key(pair.a).Bytes()), pair.match)
            << pair.b << " / " << pair.a;
    }
}

TEST(PhoneKey, EmptyKeysMatchNothing) {
    for (const char* number : {"", "---", "+", "0"}) {
        PhoneKey key = Key(number);
        EXPECT_EQ(key.DigitCount(), 0) << number;
        EXPECT_FALSE(KeysMatch(key.Bytes(), key.Bytes())) << number;
        EXPECT_FALSE(KeysMatch(key.Bytes(), Key("12345").Bytes())) << number;
    }
}

TEST(PhoneKey, LongNumbersKeepTheirLast255Digits) {
    std::string digits;
    for (int i = 0; i < 300; ++i)
        digits += char('0' + (i * 7 + 1) % 10);
    std::string international = "+44 " + digits;
    PhoneKey key = Key(digits.c_str());
    EXPECT_EQ(key.DigitCount(), 255);
    EXPECT_EQ(key.Digits(), Reversed(digits.substr(300 - 255)));
    PhoneKey withCode = Key(international.c_str());
    EXPECT_EQ(withCode.DigitCount(), 255);
    EXPECT_LE(withCode.CountryCodeLength() + withCode.AreaCodeLength(), withCode.DigitCount());
    // The kept digits are the national end of the number, so both forms still match.
    EXPECT_TRUE(KeysMatch(key.Bytes(), Key(digits.substr(300 - 255).c_str()).Bytes()));
    EXPECT_TRUE(KeysMatch(key.Bytes(), withCode.Bytes()));
}

TEST(PhoneKey, MalformedHeadersNeverMatch) {
    PhoneKey good = Key("5551234");
    std::vector<BYTE> bad(good.Bytes(), good.Bytes() + good.Size());
    bad[0] = 5;
    bad[2] = 9; // a country code longer than the digits
    EXPECT_FALSE(KeysMatch(bad.data(), good.Bytes()));
    EXPECT_FALSE(KeysMatch(good.Bytes(), bad.data()));
}

TEST(CountryCodes, LengthsByLeadingDigits) {
    struct Row {
        const char16_t* code;
        int length;
    };
    const Row rows[] = {{u"1", 1},  {u"7", 1},  {u"20", 2}, {u"27", 2}, {u"21", 3}, {u"35", 3},
                        {u"37", 3}, {u"38", 3}, {u"33", 2}, {u"42", 3}, {u"44", 2}, {u"50", 3},
                        {u"59", 3}, {u"52", 2}, {u"67", 3}, {u"69", 3}, {u"61", 2}, {u"80", 3},
                        {u"85", 3}, {u"86", 2}, {u"96", 3}, {u"91", 2}, {u"0", 0},  {u"x", 0}};
    for (const Row& row : rows)
        EXPECT_EQ(CountryCodeLength(row.code[0], row.code[1]), row.length)
            << std::string(row.code, row.code + std::char_traits<char16_t>::length(row.code));
}

std::vector<BYTE> Block(std::initializer_list<const char*> numbers, BYTE defaultIndex) {
    PhoneKeyBlock block;
    BYTE type = 0;
    for (const char* number : numbers)
        block.Append(Key(number, type++));
    block.SetDefaultIndex(defaultIndex);
    return block.Take();
}

TEST(PhoneKeyBlock, FindsTheFirstMatchingKey) {
    std::vector<BYTE> block = Block({"+44 20 7946 0958", "555 0100", "020 7946 0958"}, 1);
    ASSERT_EQ(block[0], 3);
    EXPECT_EQ(block[1], 1);
    const BYTE* found = FindKey(block.data(), block.size(), Key("0044 20 7946 0958").Bytes());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, KeyAt(block.data(), block.size(), 0));
    EXPECT_EQ(found[1], 0);
    found = FindKey(block.data(), block.size(), Key("555-0100").Bytes());
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found[1], 1);
    EXPECT_EQ(FindKey(block.data(), block.size(), Key("555 0199").Bytes()), nullptr);
}

TEST(PhoneKeyBlock, CutBlocksEndTheSearch) {
    std::vector<BYTE> block = Block({"555 0100", "555 0199"}, 0);
    const BYTE* second = KeyAt(block.data(), block.size(), 1);
    ASSERT_NE(second, nullptr);
    size_t cut = size_t(second - block.data()) + 2;
    EXPECT_EQ(KeyAt(block.data(), cut, 1), nullptr);
    EXPECT_EQ(FindKey(block.data(), cut, Key("555 0199").Bytes()), nullptr);
    EXPECT_NE(FindKey(block.data(), cut, Key("555 0100").Bytes()), nullptr);
    EXPECT_EQ(KeyAt(block.data(), block.size(), 2), nullptr);
    EXPECT_EQ(FindKey(nullptr, 0, Key("555 0100").Bytes()), nullptr);
}

TEST(PhoneKeyBlock, BlocksMatchKeyByKey) {
    EXPECT_TRUE(BlocksMatch(Block({"+44 20 7946 0958", "555 0100"}, 0),
                            Block({"020 7946 0958", "5550100"}, 1)));
    EXPECT_FALSE(BlocksMatch(Block({"+44 20 7946 0958", "555 0100"}, 0),
                             Block({"555 0100", "020 7946 0958"}, 0)));
    EXPECT_FALSE(BlocksMatch(Block({"555 0100"}, 0), Block({"555 0100", "555 0101"}, 0)));
    EXPECT_TRUE(BlocksMatch({}, {}));
    EXPECT_FALSE(BlocksMatch({}, Block({"555 0100"}, 0)));
}

} // namespace
