#include "pim/ContactDates.h"

#include <cstdio>

namespace platform {

namespace {

constexpr uint64_t kTicksPerSecond = 10000000;
constexpr uint64_t kSecondsPerDay = 86400;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDays1601To1970 = 134774;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    int64_t era = (y >= 0 ? y : y - 399) / 400;
    auto yoe = unsigned(y - era * 400);
    unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + int64_t(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    auto doe = unsigned(z - era * 146097);
    unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = int64_t(yoe) + era * 400;
    unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

unsigned DaysInMonth(int64_t y, unsigned m) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : kDays[m - 1];
}

// Reads exactly `count` digits at `pos`.
bool Digits(std::string_view text, size_t& pos, size_t count, unsigned& value) {
    if (pos + count > text.size())
        return false;
    value = 0;
    for (size_t i = 0; i < count; ++i) {
        char c = text[pos + i];
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + unsigned(c - '0');
    }
    pos += count;
    return true;
}

bool Skip(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

bool ParseTime(std::string_view text, size_t& pos, unsigned& seconds) {
    unsigned h, mi, s;
    if (!Digits(text, pos, 2, h))
        return false;
    bool colons = Skip(text, pos, ':');
    if (!Digits(text, pos, 2, mi) || (colons && !Skip(text, pos, ':')) || !Digits(text, pos, 2, s))
        return false;
    if (h > 23 || mi > 59 || s > 59)
        return false;
    seconds = h * 3600 + mi * 60 + s;
    Skip(text, pos, 'Z');
    return true;
}

} // namespace

bool ContactDates::Parse(std::string_view text, uint64_t& fileTime) {
    size_t pos = 0;
    unsigned y, m, d, seconds = 0;
    if (!Digits(text, pos, 4, y))
        return false;
    bool dashes = Skip(text, pos, '-');
    if (!Digits(text, pos, 2, m) || (dashes && !Skip(text, pos, '-')) || !Digits(text, pos, 2, d))
        return false;
    if (y < 1601 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m))
        return false;
    if (Skip(text, pos, 'T') && !ParseTime(text, pos, seconds))
        return false;
    if (pos != text.size())
        return false;
    auto days = uint64_t(DaysFromCivil(y, m, d) + kDays1601To1970);
    fileTime = (days * kSecondsPerDay + seconds) * kTicksPerSecond;
    return true;
}

std::string ContactDates::Format(uint64_t fileTime) {
    uint64_t totalSeconds = fileTime / kTicksPerSecond;
    auto days = int64_t(totalSeconds / kSecondsPerDay) - kDays1601To1970;
    auto seconds = unsigned(totalSeconds % kSecondsPerDay);
    int64_t y;
    unsigned m, d;
    CivilFromDays(days, y, m, d);
    char buffer[40];
    if (seconds == 0)
        snprintf(buffer, sizeof buffer, "%04lld-%02u-%02u", (long long)y, m, d);
    else
        snprintf(buffer, sizeof buffer, "%04lld-%02u-%02uT%02u:%02u:%02u", (long long)y, m, d,
                 seconds / 3600, seconds / 60 % 60, seconds % 60);
    return buffer;
}

} // namespace platform
