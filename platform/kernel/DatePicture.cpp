#include "kernel/DatePicture.h"

#include "ce/winnls.h"
#include "kernel/UserLocale.h"

namespace platform {

namespace {

constexpr std::u16string_view kDateLetters = u"dMyg";
constexpr std::u16string_view kTimeLetters = u"hHmst";

bool IsLeap(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

std::u16string Number(int value, size_t minDigits) {
    std::u16string digits;
    do {
        digits.insert(digits.begin(), char16_t(u'0' + value % 10));
        value /= 10;
    } while (value > 0);
    while (digits.size() < minDigits)
        digits.insert(digits.begin(), u'0');
    return digits;
}

void AppendLiteral(std::vector<PictureField>& fields, std::u16string_view text) {
    if (fields.empty() || fields.back().letter != 0)
        fields.push_back(PictureField{});
    fields.back().text += text;
}

std::u16string DateField(const PictureField& field, const SYSTEMTIME& date) {
    switch (field.letter) {
    case u'd':
        if (field.count <= 2)
            return Number(date.wDay, field.count);
        return std::u16string(UserLocale::DayName(DatePicture::DayOfWeek(date.wYear, date.wMonth, date.wDay),
                                                  field.count == 3));
    case u'M':
        if (field.count <= 2)
            return Number(date.wMonth, field.count);
        return std::u16string(UserLocale::MonthName(date.wMonth, field.count == 3));
    case u'y':
        return field.count <= 2 ? Number(date.wYear % 100, field.count) : Number(date.wYear, 4);
    default: // g: the era
        return std::u16string(UserLocale::Era());
    }
}

std::u16string TimeField(const PictureField& field, const SYSTEMTIME& time, DWORD flags) {
    size_t digits = field.count >= 2 ? 2 : 1;
    bool afternoon = time.wHour >= 12;
    switch (field.letter) {
    case u'h':
        if (!(flags & TIME_FORCE24HOURFORMAT))
            return Number(time.wHour % 12 == 0 ? 12 : time.wHour % 12, digits);
        return Number(time.wHour, digits);
    case u'H':
        return Number(time.wHour, digits);
    case u'm':
        return Number(time.wMinute, digits);
    case u's':
        return Number(time.wSecond, digits);
    default: // t: the marker, its first letter for a single t
        return std::u16string(UserLocale::TimeMarker(afternoon).substr(0, field.count == 1 ? 1 : std::u16string_view::npos));
    }
}

// Whether a time field is left out, with the literal text before it.
bool Dropped(char16_t letter, DWORD flags) {
    if (letter == u's')
        return flags & (TIME_NOSECONDS | TIME_NOMINUTESORSECONDS);
    if (letter == u'm')
        return flags & TIME_NOMINUTESORSECONDS;
    if (letter == u't')
        return (flags & (TIME_NOTIMEMARKER | TIME_FORCE24HOURFORMAT)) != 0;
    return false;
}

} // namespace

std::vector<PictureField> DatePicture::Split(std::u16string_view picture, std::u16string_view letters) {
    std::vector<PictureField> fields;
    size_t i = 0;
    while (i < picture.size()) {
        char16_t ch = picture[i];
        if (ch == u'\'') {
            size_t end = ++i;
            std::u16string text;
            while (end < picture.size()) {
                if (picture[end] != u'\'') {
                    text += picture[end++];
                } else if (end + 1 < picture.size() && picture[end + 1] == u'\'') {
                    text += u'\'';
                    end += 2;
                } else {
                    break;
                }
            }
            AppendLiteral(fields, text.empty() && end < picture.size() && end == i ? u"'" : text);
            i = end + 1;
            continue;
        }
        if (letters.find(ch) == std::u16string_view::npos) {
            AppendLiteral(fields, picture.substr(i, 1));
            ++i;
            continue;
        }
        size_t count = 1;
        while (i + count < picture.size() && picture[i + count] == ch)
            ++count;
        fields.push_back(PictureField{ch, count, {}});
        i += count;
    }
    return fields;
}

std::u16string DatePicture::FormatDate(std::u16string_view picture, const SYSTEMTIME& date) {
    std::u16string out;
    for (const PictureField& field : Split(picture, kDateLetters))
        out += field.letter ? DateField(field, date) : field.text;
    return out;
}

std::u16string DatePicture::FormatTime(std::u16string_view picture, const SYSTEMTIME& time, DWORD flags) {
    std::vector<PictureField> fields = Split(picture, kTimeLetters);
    std::u16string out;
    std::u16string pendingLiteral; // printed only when the next field is kept
    bool leadingDropped = false;   // a dropped first field takes the text after it along
    for (const PictureField& field : fields) {
        if (!field.letter) {
            if (!leadingDropped)
                pendingLiteral += field.text;
            leadingDropped = false;
            continue;
        }
        if (Dropped(field.letter, flags)) {
            leadingDropped = out.empty() && pendingLiteral.empty();
            pendingLiteral.clear();
            continue;
        }
        leadingDropped = false;
        out += pendingLiteral;
        pendingLiteral.clear();
        out += TimeField(field, time, flags);
    }
    return out + pendingLiteral;
}

bool DatePicture::IsValidDate(const SYSTEMTIME& date) {
    return date.wYear >= 1601 && date.wYear <= 30827 && date.wMonth >= 1 && date.wMonth <= 12 &&
           date.wDay >= 1 && date.wDay <= DaysInMonth(date.wYear, date.wMonth);
}

bool DatePicture::IsValidTime(const SYSTEMTIME& time) {
    return time.wHour < 24 && time.wMinute < 60 && time.wSecond < 60 && time.wMilliseconds < 1000;
}

int DatePicture::DayOfWeek(int year, int month, int day) {
    // Sakamoto's method over the Gregorian calendar.
    static constexpr int kOffsets[] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
    if (month < 3)
        year -= 1;
    return (year + year / 4 - year / 100 + year / 400 + kOffsets[month - 1] + day) % 7;
}

} // namespace platform
