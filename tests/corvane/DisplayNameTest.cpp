// Display names in every mode, with the offsets of their two pieces.
#include "corvane/DisplayName.h"

#include <gtest/gtest.h>

#include <string>

using namespace corvane;

namespace {

std::string Narrow(const std::u16string& text) {
    return std::string(text.begin(), text.end());
}

struct NameCase {
    DWORD mode;
    NameFields fields;
    const char16_t* expected;
    WORD firstPartEnd;
    WORD familyStart;
};

const NameFields kFull{u"Smith, John", u"John", u"Q", u"Smith", u"Johnny", u"Acme"};
const NameFields kNoNames{u"Acme Ltd", u"", u"", u"", u"", u""};
const NameFields kEmpty{};

const NameCase kCases[] = {
    {DisplayMode::kLastFirst, kFull, u"Smith, John Q", 5, 0},
    {DisplayMode::kLastFirst, {u"", u"", u"", u"Smith John", u"", u""}, u"John, Smith", 4, 0},
    {DisplayMode::kLastFirst, {u"", u"Dick", u"", u"van Dyke", u"", u""}, u"van Dyke, Dick", 8, 0},
    {DisplayMode::kLastFirst, {u"", u"", u"", u"O 'Neil", u"", u""}, u"O 'Neil", 7, 0},
    {DisplayMode::kLastFirst, {u"", u"John", u"", u"", u"", u""}, u"John", 4, 0},
    {DisplayMode::kLastFirst, kNoNames, u"Acme Ltd", 8, 0},
    {DisplayMode::kFirstLast, kFull, u"John Q Smith", 6, 7},
    {DisplayMode::kFirstLast, {u"", u"Dick", u"", u"van Dyke", u"", u""}, u"Dick van Dyke", 4, 9},
    {DisplayMode::kFirstLast, {u"", u"Al", u"", u"de Li", u"", u""}, u"Al de Li", 2, 3},
    {DisplayMode::kFirstLast, {u"", u"", u"", u"Smith", u"", u""}, u"Smith", 0, 0},
    {DisplayMode::kFirstLast, {u"", u"John", u"", u"", u"", u""}, u"John", 4, 0},
    {DisplayMode::kFirstLast, kNoNames, u"Acme Ltd", 8, 0},
    {DisplayMode::kFileAs, kFull, u"Smith, John", 5, 0},
    {DisplayMode::kFileAs, {u"Plain", u"A", u"", u"B", u"", u""}, u"Plain", 5, 0},
    {DisplayMode::kNickname, kFull, u"Johnny", 6, 0},
    {DisplayMode::kNickname, {u"", u"John", u"", u"Smith", u"", u""}, u"Smith, John", 5, 0},
    {DisplayMode::kNickname, kNoNames, u"Acme Ltd", 8, 0},
    {DisplayMode::kCompany, kFull, u"Acme, Smith, John", 4, 0},
    {DisplayMode::kCompany, {u"Doe, Jane", u"", u"", u"", u"", u""}, u"Unknown, Doe, Jane", 7, 0},
    {DisplayMode::kCompany, {u"", u"", u"", u"", u"", u"Acme"}, u"Acme", 4, 0},
    {DisplayMode::kLastFirst, kEmpty, u"", 0, 0},
    {DisplayMode::kCompany, kEmpty, u"", 0, 0},
};

TEST(DisplayName, BuildsEveryModeWithItsPieces) {
    for (const NameCase& c : kCases) {
        BuiltName name = DisplayName::Build(c.fields, c.mode, u"Unknown");
        SCOPED_TRACE("mode " + std::to_string(c.mode) + ": " + Narrow(c.expected));
        EXPECT_EQ(Narrow(name.text), Narrow(c.expected));
        EXPECT_EQ(name.split >> 16, c.firstPartEnd);
        EXPECT_EQ(name.split & 0xFFFF, c.familyStart);
    }
}

TEST(DisplayName, SimEntriesShowTheirTextAndUnknownInTheCompanyMode) {
    EXPECT_EQ(Narrow(DisplayName::BuildSim(u"Mum", DisplayMode::kLastFirst, u"Unknown").text),
              "Mum");
    BuiltName company = DisplayName::BuildSim(u"Mum", DisplayMode::kCompany, u"Unknown");
    EXPECT_EQ(Narrow(company.text), "Unknown, Mum");
    EXPECT_EQ(company.split >> 16, 7u);
}

} // namespace
