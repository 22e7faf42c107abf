// Date and time pictures ("M/d/yyyy", "h:mm:ss tt"): split into fields and literal text,
// and printed for one SYSTEMTIME with the user locale's names. Pure; the picture comes from
// the caller and may be anything.
#pragma once

#include "ce/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct PictureField {
    char16_t letter = 0; // d M y g h H m s t, or 0 for literal text
    size_t count = 0;    // how often the letter repeats
    std::u16string text; // the literal text
};

class DatePicture {
public:
    // Pictures longer than this are refused by the exported functions.
    static constexpr size_t kMaxPicture = 1024;

    // Fields of a picture; `letters` are the picture letters of the kind (date or time),
    // every other character is literal. Text in single quotes is literal, '' is a quote,
    // an unterminated quote runs to the end.
    static std::vector<PictureField> Split(std::u16string_view picture, std::u16string_view letters);

    static std::u16string FormatDate(std::u16string_view picture, const SYSTEMTIME& date);
    // `flags` are the TIME_* flags of GetTimeFormatW.
    static std::u16string FormatTime(std::u16string_view picture, const SYSTEMTIME& time, DWORD flags);

    // True for a real calendar date of years 1601 to 30827.
    static bool IsValidDate(const SYSTEMTIME& date);
    static bool IsValidTime(const SYSTEMTIME& time);
    // 0 is Sunday.
    static int DayOfWeek(int year, int month, int day);
};

} // namespace platform
