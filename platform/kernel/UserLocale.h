// The device's user locale, English (United States): the values GetLocaleInfoW reports
// and the names and markers the date and time pictures print.
#pragma once

#include "ce/winnls.h"

#include <optional>
#include <string_view>

namespace platform {

class UserLocale {
public:
    static constexpr LCID kLocale = 0x0409;

    // True for the locale identifiers that name this locale.
    static bool Names(LCID locale);
    // The value of a GetLocaleInfoW type (LOCALE_NOUSEROVERRIDE stripped), or nothing.
    static std::optional<std::u16string_view> Info(LCTYPE type);

    // dayOfWeek 0 is Sunday, as in SYSTEMTIME; month 1 is January.
    static std::u16string_view DayName(int dayOfWeek, bool abbreviated);
    static std::u16string_view MonthName(int month, bool abbreviated);
    static std::u16string_view TimeMarker(bool afternoon);
    static std::u16string_view Era() { return u"A.D."; }
};

} // namespace platform
