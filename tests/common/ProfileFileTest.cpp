#include "common/MemoryStream.h"
#include "common/ProfileReader.h"
#include "common/ProfileWriter.h"
#include "common/TextCodec.h"

#include <gtest/gtest.h>

#include <string>

using namespace common;

namespace {

ProfileRecord Custom() {
    ProfileRecord p;
    p.name = u"Custom";
    p.systemVolume = 0x99999999;
    p.ringVolume = 0x99999999;
    p.initialRingLevel = 3;
    p.ringTone = u"\\Windows\\Ring.wma";
    p.ringScript = u"apw3r";
    return p;
}

ProfileRecord Night() {
    ProfileRecord p;
    p.name = u"Night";
    p.initialRingLevel = 0;
    p.ringTone = u"*none*";
    p.ringScript = u"af3";
    p.dayMask = kAllDays;
    p.start = 22 * 3600;
    p.end = 31 * 3600;
    return p;
}

bool Read(std::string text, ProfileSet& result) {
    MemoryStream stream(text.data(), LONG(text.size()));
    ProfileReader reader;
    return reader.Read(stream, result);
}

ProfileSet ReadOk(const std::string& text) {
    ProfileSet result;
    EXPECT_TRUE(Read(text, result)) << text;
    return result;
}

TEST(ProfileWriter, WritesTheFileByteForByte) {
    ProfileRecord weekday = Custom();
    weekday.name = u"Work";
    weekday.ringTone.reset();
    weekday.ringScript.reset();
    weekday.initialRingLevel = -1;
    weekday.dayMask = 0x3E;
    weekday.start = 9 * 3600 + 30 * 60;
    weekday.end = 17 * 3600 + 5 * 60;
    const char* expected = "<Profile name=\"Custom\">\r\n"
                           "\t<Call>\r\n"
                           "\t\t<Ring Vol=\"0x99999999\" InitVol=\"3\" "
                           "Sound=\"\\Windows\\Ring.wma\" Script=\"apw3r\"/>\r\n"
                           "\t</Call>\r\n"
                           "\t<Volume System=\"0x99999999\"/>\r\n"
                           "\t<SchedProfile Name=\"Night\">\r\n"
                           "\t<Activation Time=\"22:00-07:00\" Sun=\"1\" Mon=\"1\" Tue=\"1\" "
                           "Wed=\"1\" Thu=\"1\" Fri=\"1\" Sat=\"1\"/>\r\n"
                           "\t<Call>\r\n"
                           "\t\t<Ring Vol=\"0x0\" InitVol=\"0\" Sound=\"*none*\" Script=\"af3\"/>\r\n"
                           "\t</Call>\r\n"
                           "\t<Volume System=\"0x0\"/>\r\n"
                           "\t</SchedProfile>\r\n"
                           "\t<SchedProfile Name=\"Work\">\r\n"
                           "\t<Activation Time=\"09:30-17:05\" Sun=\"0\" Mon=\"1\" Tue=\"1\" "
                           "Wed=\"1\" Thu=\"1\" Fri=\"1\" Sat=\"0\"/>\r\n"
                           "\t<Call>\r\n"
                           "\t\t<Ring Vol=\"0x99999999\" InitVol=\"-1\"/>\r\n"
                           "\t</Call>\r\n"
                           "\t<Volume System=\"0x99999999\"/>\r\n"
                           "\t</SchedProfile>\r\n"
                           "</Profile>\r\n";
    EXPECT_EQ(FormatProfileFile(Custom(), {Night(), weekday}), expected);
}

struct DeclineCase {
    DeclineAction action;
    const char16_t* text;
    const char* line; // the Decline line, empty when none is written
};

const DeclineCase kDeclineCases[] = {
    {DeclineAction::None, u"ignored", ""},
    {DeclineAction::Decline, u"", "\t\t<Decline mode=\"All\" action=\"Decline\"/>\r\n"},
    {DeclineAction::DeclineWithSms, u"",
     "\t\t<Decline mode=\"All\" action=\"DeclineWithSMS\"/>\r\n"},
    {DeclineAction::DeclineWithSms, u"Busy & \"later\" \u00e9",
     "\t\t<Decline mode=\"All\" action=\"DeclineWithSMS\">Busy & \"later\" \xc3\xa9</Decline>\r\n"},
};

TEST(ProfileWriter, WritesTheDeclineLineInItsThreeFormsUnescaped) {
    for (const DeclineCase& c : kDeclineCases) {
        ProfileRecord profile;
        profile.name = u"D";
        profile.declineMode = DeclineMode::AllCalls;
        profile.declineAction = c.action;
        profile.declineText = c.text;
        std::string expected = std::string("<Profile name=\"D\">\r\n\t<Call>\r\n"
                                           "\t\t<Ring Vol=\"0x0\" InitVol=\"-1\"/>\r\n") +
                               c.line +
                               "\t</Call>\r\n\t<Volume System=\"0x0\"/>\r\n</Profile>\r\n";
        EXPECT_EQ(FormatProfileFile(profile, {}), expected) << int(c.action);
    }
}

TEST(ProfileFile, WrittenAndReadBackGivesTheScheduledListReversed) {
    ProfileRecord base = Custom();
    base.initialRingLevel = -1; // "not given" must survive the round trip
    base.declineMode = DeclineMode::AllCalls;
    base.declineAction = DeclineAction::DeclineWithSms;
    base.declineText = u"Sorry, I am driving \u00e4\u00f6\u00fc";
    ProfileRecord weekday = Night();
    weekday.name = u"B\u00fcro";
    weekday.dayMask = 0x22;
    weekday.start = 8 * 3600;
    weekday.end = 8 * 3600; // an empty period stays empty
    ProfileRecord unnamed = Night();
    unnamed.name.clear();
    unnamed.declineMode = DeclineMode::AllCalls;
    unnamed.declineAction = DeclineAction::Decline;

    ProfileSet read = ReadOk(FormatProfileFile(base, {Night(), weekday, unnamed}));
    ASSERT_TRUE(read.base);
    EXPECT_EQ(*read.base, base);
    ASSERT_EQ(read.scheduled.size(), 3u);
    EXPECT_EQ(read.scheduled[0], unnamed);
    EXPECT_EQ(read.scheduled[1], weekday);
    EXPECT_EQ(read.scheduled[2], Night());
}

TEST(ProfileFile, FilesBeyondSixtyFourKilobytesAreNeitherCutNorRefused) {
    std::vector<ProfileRecord> many(1500, Night());
    for (size_t i = 0; i < many.size(); ++i)
        many[i].name = u"P" + std::u16string(1, char16_t(u'A' + i % 26));
    std::string text = FormatProfileFile(Custom(), many);
    ASSERT_GT(text.size(), 65536u);
    ProfileSet read = ReadOk(text);
    ASSERT_EQ(read.scheduled.size(), many.size());
    EXPECT_EQ(read.scheduled.front(), many.back());
}

struct NumberCase {
    const char* text;
    int64_t value;
};

const NumberCase kNumberCases[] = {
    {"255", 255},          {"0xFF", 255},         {"0xff", 255},
    {"0XFF", 0},           {"-1", -1},            {"12abc", 12},
    {"abc", 0},            {"", 0},               {"0x", 0},
    {"0x99999999", 0x99999999}, {"0x1FFFFFFFF", 0xFFFFFFFF}, {"99999999999", 0xFFFFFFFF},
    {"-99999999999", INT32_MIN}, {"--5", 0},      {" 7", 0},
};

TEST(ProfileReader, ReadsDecimalAndHexadecimalNumbers) {
    for (const NumberCase& c : kNumberCases)
        EXPECT_EQ(ProfileReader::ParseNumber(c.text), c.value) << c.text;
}

struct ActivationCase {
    const char* attributes;
    int32_t start;
    int32_t end;
    uint32_t dayMask;
};

const ActivationCase kActivationCases[] = {
    {"Time=\"22:00-07:00\"", 79200, 111600, 0},
    {"Time=\"08:00-08:00\"", 28800, 28800, 0},
    {"Time=\"7:5-9:0\"", 25500, 32400, 0},
    {"Time=\"23:59-00:00\"", 86340, 86400, 0},
    {"Time=\"08:00-24:00\"", 28800, 86400, 0},
    {"Time=\"00:00-24:00\"", 0, 86400, 0},
    {"Time=\"08:00-24:01\"", 0, 0, 0},
    {"Time=\"24:00-08:00\"", 0, 0, 0},
    {"Time=\"08:00-25:00\"", 0, 0, 0},
    {"Time=\"22:00\"", 0, 0, 0},
    {"Time=\"22:00-07\"", 0, 0, 0},
    {"Time=\"25:00-01:00\"", 0, 0, 0},
    {"Time=\"-1:00-01:00\"", 0, 0, 0},
    {"Time=\"10:60-11:00\"", 0, 0, 0},
    {"Sun=\"1\" Mon=\"0\" Sat=\"2\" Wed=\"-1\"", 0, 0, 0x41},
    {"sun=\"1\" FRI=\"1\"", 0, 0, 0x21},
};

TEST(ProfileReader, ReadsActivationTimesAndDaysIncludingPeriodsPastMidnight) {
    for (const ActivationCase& c : kActivationCases) {
        ProfileSet read = ReadOk(std::string("<Profile><SchedProfile><Activation ") +
                                 c.attributes + "/></SchedProfile></Profile>");
        ASSERT_EQ(read.scheduled.size(), 1u) << c.attributes;
        EXPECT_EQ(read.scheduled[0].start, c.start) << c.attributes;
        EXPECT_EQ(read.scheduled[0].end, c.end) << c.attributes;
        EXPECT_EQ(read.scheduled[0].dayMask, c.dayMask) << c.attributes;
    }
}

TEST(ProfileReader, ComparesNamesWithoutCaseAndSkipsUnknownElements) {
    ProfileSet read = ReadOk("<profile NAME=\"Mine\"><call><ring vol=\"255\" INITVOL=\"2\" "
                             "sound=\"a.wav\" SCRIPT=\"p\"/><RoamingRing Vol=\"7\"/>"
                             "<decline MODE=\"All\" ACTION=\"Decline\"/></call>"
                             "<volume system=\"0xFF\"/><Extra><SchedProfile Name=\"x\"/>"
                             "<Volume System=\"1\"/></Extra></profile>");
    ASSERT_TRUE(read.base);
    EXPECT_EQ(read.base->name, u"Mine");
    EXPECT_EQ(read.base->ringVolume, 255u);
    EXPECT_EQ(read.base->systemVolume, 255u);
    EXPECT_EQ(read.base->initialRingLevel, 2);
    EXPECT_EQ(read.base->ringTone, u"a.wav");
    EXPECT_EQ(read.base->ringScript, u"p");
    EXPECT_EQ(read.base->declineMode, DeclineMode::AllCalls);
    EXPECT_EQ(read.base->declineAction, DeclineAction::Decline);
    EXPECT_TRUE(read.scheduled.empty());
}

TEST(ProfileReader, FillsDefaultsForMissingAttributes) {
    ProfileSet read = ReadOk("<Profile><SchedProfile/><Call><Decline mode=\"Some\" "
                             "action=\"Ring\">text</Decline></Call></Profile>");
    ASSERT_TRUE(read.base);
    EXPECT_EQ(read.base->initialRingLevel, -1);
    EXPECT_FALSE(read.base->ringTone);
    EXPECT_FALSE(read.base->ringScript);
    EXPECT_EQ(read.base->declineMode, DeclineMode::None);
    EXPECT_EQ(read.base->declineAction, DeclineAction::None);
    EXPECT_EQ(read.base->declineText, u"text");
    // Tags inside the text are part of it, whole, even though they are parsed as elements.
    for (const char* text : {"x<y>z", "a<b c=\"d\">e", "<p/>q"}) {
        ProfileSet nested = ReadOk(std::string("<Profile><Call><Decline>") + text +
                                   "</Decline></Call></Profile>");
        ASSERT_TRUE(nested.base);
        EXPECT_EQ(nested.base->declineText, Utf8ToWide(text)) << text;
    }
    ASSERT_EQ(read.scheduled.size(), 1u);
    EXPECT_EQ(read.scheduled[0].initialRingLevel, 0);
    EXPECT_EQ(read.scheduled[0].name, u"");
}

TEST(ProfileReader, KeepsAtMost259CharactersOfAText) {
    std::string longName(400, 'n');
    ProfileSet read = ReadOk("<Profile Name=\"" + longName + "\"/>");
    ASSERT_TRUE(read.base);
    EXPECT_EQ(read.base->name, std::u16string(259, u'n'));
}

TEST(ProfileReader, FailsWithoutAProfileElementFirst) {
    for (const char* text : {"", "<Other><SchedProfile/></Other><Profile/>", "<Profile",
                             "<!-- <Profile/> -->"}) {
        ProfileSet read;
        read.scheduled.resize(2);
        EXPECT_FALSE(Read(text, read)) << text;
        EXPECT_FALSE(read.base);
        EXPECT_TRUE(read.scheduled.empty());
    }
    // A later top-level element is read as part of the first one.
    ProfileSet read = ReadOk("<Profile/>\r\n<SchedProfile Name=\"late\"/>");
    ASSERT_EQ(read.scheduled.size(), 1u);
    EXPECT_EQ(read.scheduled[0].name, u"late");
}

} // namespace
