// The user locale: GetLocaleInfoW values, date and time pictures, the buffer rules shared by
// the NLS functions, and FoldStringW's mappings.
#include "ce/kernel.h"
#include "ce/winnls.h"
#include "kernel/DatePicture.h"
#include "support/TestDevice.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::DatePicture;

namespace {

SYSTEMTIME Date(WORD year, WORD month, WORD day, WORD hour = 0, WORD minute = 0, WORD second = 0) {
    SYSTEMTIME time{};
    time.wYear = year;
    time.wMonth = month;
    time.wDay = day;
    time.wDayOfWeek = 3; // wrong on purpose: the functions compute it
    time.wHour = hour;
    time.wMinute = minute;
    time.wSecond = second;
    return time;
}

std::u16string Info(LCTYPE type, LCID locale = LOCALE_USER_DEFAULT) {
    WCHAR buffer[80] = {};
    int written = GetLocaleInfoW(locale, type, buffer, 80);
    return written > 0 ? std::u16string(buffer, size_t(written - 1)) : u"<error>";
}

std::u16string DateText(DWORD flags, const SYSTEMTIME& date, const WCHAR* format = nullptr) {
    WCHAR buffer[80] = {};
    int written = GetDateFormatW(LOCALE_USER_DEFAULT, flags, &date, format, buffer, 80);
    return written > 0 ? std::u16string(buffer, size_t(written - 1)) : u"<error>";
}

std::u16string TimeText(DWORD flags, const SYSTEMTIME& time, const WCHAR* format = nullptr) {
    WCHAR buffer[80] = {};
    int written = GetTimeFormatW(LOCALE_USER_DEFAULT, flags, &time, format, buffer, 80);
    return written > 0 ? std::u16string(buffer, size_t(written - 1)) : u"<error>";
}

TEST(LocaleInfo, TheUserLocaleValues) {
    const std::vector<std::pair<LCTYPE, std::u16string>> rows = {
        {LOCALE_SSHORTDATE, u"M/d/yyyy"},     {LOCALE_SLONGDATE, u"dddd, MMMM dd, yyyy"},
        {LOCALE_STIMEFORMAT, u"h:mm:ss tt"},  {LOCALE_IFIRSTDAYOFWEEK, u"6"},
        {LOCALE_SDAYNAME1, u"Monday"},        {LOCALE_SDAYNAME7, u"Sunday"},
        {LOCALE_SABBREVDAYNAME1 + 2, u"Wed"},     {LOCALE_SMONTHNAME12, u"December"},
        {LOCALE_SABBREVMONTHNAME1, u"Jan"},   {LOCALE_S1159, u"AM"},
        {LOCALE_ILANGUAGE, u"0409"},          {LOCALE_SDATE, u"/"},
        {LOCALE_SSHORTDATE | LOCALE_NOUSEROVERRIDE, u"M/d/yyyy"},
    };
    for (const auto& [type, value] : rows)
        EXPECT_EQ(Info(type), value) << type;
    EXPECT_EQ(Info(LOCALE_SSHORTDATE, 0x0409), u"M/d/yyyy");
}

TEST(LocaleInfo, SizesAndErrors) {
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, nullptr, 0), 9);
    WCHAR small[8];
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, small, 8), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    WCHAR exact[9];
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, exact, 9), 9);
    EXPECT_EQ(std::u16string(exact), u"M/d/yyyy");
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x7777, exact, 9), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
    EXPECT_EQ(GetLocaleInfoW(0x0407, LOCALE_SSHORTDATE, exact, 9), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, nullptr, 9), 0);
    EXPECT_EQ(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SSHORTDATE, exact, -1), 0);
}

TEST(DateFormat, PicturesAndFlags) {
    SYSTEMTIME date = Date(2024, 2, 29); // a Thursday
    const std::vector<std::tuple<DWORD, const WCHAR*, std::u16string>> rows = {
        {DATE_SHORTDATE, nullptr, u"2/29/2024"},
        {0, nullptr, u"2/29/2024"},
        {DATE_LONGDATE, nullptr, u"Thursday, February 29, 2024"},
        {DATE_YEARMONTH, nullptr, u"February, 2024"},
        {0, u"dd.MM.yy", u"29.02.24"},
        {0, u"ddd d MMM yyyy", u"Thu 29 Feb 2024"},
        {0, u"y yyy yyyyy", u"24 2024 2024"},
        {0, u"'day' d 'of' MMMM", u"day 29 of February"},
        {0, u"d''M", u"29'2"},
        {0, u"'it''s' yyyy", u"it's 2024"},
        {0, u"'open yyyy", u"open yyyy"},
        {0, u"gg yyyy", u"A.D. 2024"},
        {0, u"hh:mm d", u"hh:mm 29"},
        {0, u"", u""},
    };
    for (const auto& [flags, format, text] : rows)
        EXPECT_EQ(DateText(flags, date, format), text) << (format ? std::string(format, format + std::char_traits<char16_t>::length(format)) : "");
    EXPECT_EQ(DateText(DATE_LONGDATE, Date(2000, 1, 2)), u"Sunday, January 02, 2000");
    EXPECT_EQ(DateText(0, Date(1601, 1, 1), u"dddd"), u"Monday");
}

TEST(DateFormat, RefusesImpossibleDatesAndFlagMixtures) {
    const std::vector<SYSTEMTIME> bad = {Date(2023, 2, 29), Date(2024, 13, 1), Date(2024, 0, 1),
                                         Date(2024, 4, 31), Date(1600, 12, 31), Date(2024, 1, 0)};
    for (const SYSTEMTIME& date : bad) {
        EXPECT_EQ(DateText(DATE_SHORTDATE, date), u"<error>") << date.wYear << "-" << date.wMonth << "-" << date.wDay;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    }
    SYSTEMTIME date = Date(2024, 5, 1);
    EXPECT_EQ(DateText(DATE_SHORTDATE | DATE_LONGDATE, date), u"<error>");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
    EXPECT_EQ(DateText(DATE_SHORTDATE, date, u"d"), u"<error>");
    EXPECT_EQ(DateText(0x40, date), u"<error>");
    EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, nullptr, nullptr, 0), 9);
    WCHAR small[4];
    EXPECT_EQ(GetDateFormatW(LOCALE_USER_DEFAULT, 0, &date, nullptr, small, 4), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    std::u16string huge(DatePicture::kMaxPicture + 1, u'd');
    EXPECT_EQ(DateText(0, date, huge.c_str()), u"<error>");
}

TEST(TimeFormat, PicturesAndFlags) {
    const std::vector<std::tuple<SYSTEMTIME, DWORD, const WCHAR*, std::u16string>> rows = {
        {Date(2024, 1, 1, 15, 7, 9), 0, nullptr, u"3:07:09 PM"},
        {Date(2024, 1, 1, 0, 5, 0), 0, nullptr, u"12:05:00 AM"},
        {Date(2024, 1, 1, 12, 0, 0), 0, nullptr, u"12:00:00 PM"},
        {Date(2024, 1, 1, 15, 7, 9), TIME_NOSECONDS, nullptr, u"3:07 PM"},
        {Date(2024, 1, 1, 15, 7, 9), TIME_NOMINUTESORSECONDS, nullptr, u"3 PM"},
        {Date(2024, 1, 1, 15, 7, 9), TIME_NOTIMEMARKER, nullptr, u"3:07:09"},
        {Date(2024, 1, 1, 15, 7, 9), TIME_FORCE24HOURFORMAT, nullptr, u"15:07:09"},
        {Date(2024, 1, 1, 9, 7, 9), 0, u"HH:mm", u"09:07"},
        {Date(2024, 1, 1, 9, 7, 9), 0, u"hh'h'mm t", u"09h07 A"},
        {Date(2024, 1, 1, 9, 7, 9), TIME_NOTIMEMARKER, u"tt h:mm", u"9:07"},
        {Date(2024, 1, 1, 9, 7, 9), 0, u"d/M h", u"d/M 9"},
    };
    for (const auto& [time, flags, format, text] : rows)
        EXPECT_EQ(TimeText(flags, time, format), text);
    SYSTEMTIME bad = Date(2024, 1, 1, 24, 0, 0);
    EXPECT_EQ(TimeText(0, bad), u"<error>");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(TimeText(0x100, Date(2024, 1, 1)), u"<error>");
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
}

class LocaleClock : public testsupport::TestDevice {};

TEST_F(LocaleClock, WithoutADateTheDeviceClockIsRead) {
    SYSTEMTIME set = Date(2031, 7, 4, 18, 30, 0);
    ASSERT_TRUE(SetLocalTime(&set));
    WCHAR buffer[40];
    ASSERT_GT(GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, buffer, 40), 0);
    EXPECT_EQ(std::u16string(buffer), u"7/4/2031");
    ASSERT_GT(GetTimeFormatW(LOCALE_USER_DEFAULT, TIME_NOSECONDS, nullptr, nullptr, buffer, 40), 0);
    EXPECT_EQ(std::u16string(buffer), u"6:30 PM");
}

std::u16string Fold(DWORD flags, const std::u16string& text) {
    WCHAR buffer[64] = {};
    int written = FoldStringW(flags, text.c_str(), int(text.size()), buffer, 64);
    return written > 0 ? std::u16string(buffer, size_t(written)) : u"<error>";
}

TEST(FoldString, Mappings) {
    const std::vector<std::tuple<DWORD, std::u16string, std::u16string>> rows = {
        {MAP_COMPOSITE, u"\u00e9", u"e\u0301"},
        {MAP_COMPOSITE, u"\u00c5ngstr\u00f6m", u"A\u030angstro\u0308m"},
        {MAP_COMPOSITE, u"plain", u"plain"},
        {MAP_PRECOMPOSED, u"e\u0301", u"\u00e9"},
        {MAP_FOLDCZONE, u"\ufb01le \uff21", u"file A"},
        {MAP_FOLDDIGITS, u"\u0661\u0662x\u0969", u"12x3"},
        {MAP_FOLDDIGITS | MAP_COMPOSITE, u"\u0663\u00fc", u"3u\u0308"},
        {MAP_FOLDDIGITS, u"\U0001D7D8", u"0"}, // a digit beyond the first plane
    };
    for (const auto& [flags, text, folded] : rows)
        EXPECT_EQ(Fold(flags, text), folded);
}

TEST(FoldString, LengthsAndErrors) {
    // -1 takes the terminator along and counts it.
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, u"\u00e9", -1, nullptr, 0), 3);
    WCHAR buffer[3];
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, u"\u00e9", -1, buffer, 3), 3);
    EXPECT_EQ(std::u16string(buffer), u"e\u0301");
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, u"\u00e9", 1, buffer, 1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE | MAP_PRECOMPOSED, u"a", 1, buffer, 3), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
    EXPECT_EQ(FoldStringW(0, u"a", 1, buffer, 3), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, nullptr, 1, buffer, 3), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, u"a", 0, buffer, 3), 0);
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, u"a", -2, buffer, 3), 0);
    EXPECT_EQ(FoldStringW(MAP_COMPOSITE, buffer, 1, buffer, 3), 0); // the same buffer
}

} // namespace
