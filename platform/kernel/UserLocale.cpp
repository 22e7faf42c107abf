#include "kernel/UserLocale.h"

#include <array>
#include <utility>

namespace platform {

namespace {

// Monday first, as the LOCALE_SDAYNAME types count.
constexpr std::array<std::u16string_view, 7> kDays = {u"Monday", u"Tuesday", u"Wednesday", u"Thursday",
                                                      u"Friday", u"Saturday", u"Sunday"};
constexpr std::array<std::u16string_view, 7> kShortDays = {u"Mon", u"Tue", u"Wed", u"Thu",
                                                           u"Fri", u"Sat", u"Sun"};
constexpr std::array<std::u16string_view, 12> kMonths = {
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December"};
constexpr std::array<std::u16string_view, 12> kShortMonths = {u"Jan", u"Feb", u"Mar", u"Apr", u"May", u"Jun",
                                                              u"Jul", u"Aug", u"Sep", u"Oct", u"Nov", u"Dec"};

constexpr std::pair<LCTYPE, std::u16string_view> kValues[] = {
    {LOCALE_ILANGUAGE, u"0409"},
    {LOCALE_SLANGUAGE, u"English (United States)"},
    {LOCALE_SABBREVLANGNAME, u"ENU"},
    {LOCALE_ICOUNTRY, u"1"},
    {LOCALE_SCOUNTRY, u"United States"},
    {LOCALE_IDEFAULTCODEPAGE, u"437"},
    {LOCALE_SLIST, u","},
    {LOCALE_IMEASURE, u"1"},
    {LOCALE_SDECIMAL, u"."},
    {LOCALE_STHOUSAND, u","},
    {LOCALE_SDATE, u"/"},
    {LOCALE_STIME, u":"},
    {LOCALE_SSHORTDATE, u"M/d/yyyy"},
    {LOCALE_SLONGDATE, u"dddd, MMMM dd, yyyy"},
    {LOCALE_IDATE, u"0"},
    {LOCALE_ILDATE, u"0"},
    {LOCALE_ITIME, u"0"},
    {LOCALE_ICENTURY, u"1"},
    {LOCALE_ITLZERO, u"0"},
    {LOCALE_IDAYLZERO, u"0"},
    {LOCALE_IMONLZERO, u"0"},
    {LOCALE_S1159, u"AM"},
    {LOCALE_S2359, u"PM"},
    {LOCALE_SISO639LANGNAME, u"en"},
    {LOCALE_SISO3166CTRYNAME, u"US"},
    {LOCALE_SENGLANGUAGE, u"English"},
    {LOCALE_SENGCOUNTRY, u"United States"},
    {LOCALE_STIMEFORMAT, u"h:mm:ss tt"},
    {LOCALE_IDEFAULTANSICODEPAGE, u"1252"},
    {LOCALE_ITIMEMARKPOSN, u"0"},
    {LOCALE_SYEARMONTH, u"MMMM, yyyy"},
    {LOCALE_IFIRSTDAYOFWEEK, u"6"},
    {LOCALE_IFIRSTWEEKOFYEAR, u"0"},
};

} // namespace

bool UserLocale::Names(LCID locale) {
    return locale == kLocale || locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT ||
           locale == LOCALE_NEUTRAL;
}

std::optional<std::u16string_view> UserLocale::Info(LCTYPE type) {
    type &= ~LCTYPE(LOCALE_NOUSEROVERRIDE);
    if (type >= LOCALE_SDAYNAME1 && type <= LOCALE_SDAYNAME7)
        return kDays[type - LOCALE_SDAYNAME1];
    if (type >= LOCALE_SABBREVDAYNAME1 && type <= LOCALE_SABBREVDAYNAME7)
        return kShortDays[type - LOCALE_SABBREVDAYNAME1];
    if (type >= LOCALE_SMONTHNAME1 && type <= LOCALE_SMONTHNAME12)
        return kMonths[type - LOCALE_SMONTHNAME1];
    if (type >= LOCALE_SABBREVMONTHNAME1 && type <= LOCALE_SABBREVMONTHNAME12)
        return kShortMonths[type - LOCALE_SABBREVMONTHNAME1];
    for (const auto& [known, value] : kValues)
        if (known == type)
            return value;
    return std::nullopt;
}

std::u16string_view UserLocale::DayName(int dayOfWeek, bool abbreviated) {
    size_t index = size_t((dayOfWeek + 6) % 7); // Sunday is the last of the table
    return abbreviated ? kShortDays[index] : kDays[index];
}

std::u16string_view UserLocale::MonthName(int month, bool abbreviated) {
    size_t index = size_t(month - 1) % 12;
    return abbreviated ? kShortMonths[index] : kMonths[index];
}

std::u16string_view UserLocale::TimeMarker(bool afternoon) { return afternoon ? u"PM" : u"AM"; }

} // namespace platform
