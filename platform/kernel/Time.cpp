// Exported clock functions over the device clock.
#include "ce/kernel.h"
#include "kernel/DeviceClock.h"

#include <cstring>

using namespace platform;

namespace {

constexpr int64_t kTicksPerMs = 10000;
constexpr int64_t kTicksPerDay = 864000000000LL;
// Days from 1601-01-01 to 1970-01-01.
constexpr int64_t kDays1601To1970 = 134774;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int64_t& y, unsigned& m, unsigned& d) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y += m <= 2;
}

bool IsLeap(unsigned year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

bool ValidSystemTime(const SYSTEMTIME& t) {
    static const unsigned kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (t.wYear < 1601 || t.wYear > 30827 || t.wMonth < 1 || t.wMonth > 12 || t.wDay < 1)
        return false;
    unsigned days = kDays[t.wMonth - 1] + (t.wMonth == 2 && IsLeap(t.wYear) ? 1 : 0);
    return t.wDay <= days && t.wHour < 24 && t.wMinute < 60 && t.wSecond < 60 &&
           t.wMilliseconds < 1000;
}

int64_t ToTicks(const FILETIME& ft) {
    return static_cast<int64_t>((uint64_t(ft.dwHighDateTime) << 32) | ft.dwLowDateTime);
}

FILETIME FromTicks(int64_t ticks) {
    FILETIME ft;
    ft.dwLowDateTime = static_cast<DWORD>(uint64_t(ticks) & 0xFFFFFFFFu);
    ft.dwHighDateTime = static_cast<DWORD>(uint64_t(ticks) >> 32);
    return ft;
}

SYSTEMTIME SystemTimeFromTicks(int64_t ticks) {
    int64_t days = ticks / kTicksPerDay;
    int64_t rest = ticks % kTicksPerDay;
    int64_t year;
    unsigned month, day;
    CivilFromDays(days - kDays1601To1970, year, month, day);
    SYSTEMTIME t{};
    t.wYear = static_cast<WORD>(year);
    t.wMonth = static_cast<WORD>(month);
    t.wDay = static_cast<WORD>(day);
    t.wDayOfWeek = static_cast<WORD>((days + 1) % 7); // 1601-01-01 was a Monday
    t.wHour = static_cast<WORD>(rest / (3600 * 1000 * kTicksPerMs));
    t.wMinute = static_cast<WORD>(rest / (60 * 1000 * kTicksPerMs) % 60);
    t.wSecond = static_cast<WORD>(rest / (1000 * kTicksPerMs) % 60);
    t.wMilliseconds = static_cast<WORD>(rest / kTicksPerMs % 1000);
    return t;
}

int64_t TicksFromSystemTime(const SYSTEMTIME& t) {
    int64_t days = DaysFromCivil(t.wYear, t.wMonth, t.wDay) + kDays1601To1970;
    return days * kTicksPerDay +
           ((int64_t(t.wHour) * 60 + t.wMinute) * 60 + t.wSecond) * 1000 * kTicksPerMs +
           int64_t(t.wMilliseconds) * kTicksPerMs;
}

} // namespace

CE_API DWORD GetTickCount() {
    return static_cast<DWORD>(DeviceClock::Instance().MonotonicMs());
}

CE_API void GetSystemTime(LPSYSTEMTIME time) {
    if (time)
        *time = SystemTimeFromTicks(DeviceClock::Instance().UtcTicks());
}

CE_API void GetLocalTime(LPSYSTEMTIME time) {
    if (time)
        *time = SystemTimeFromTicks(DeviceClock::Instance().LocalTicks());
}

CE_API BOOL SetSystemTime(const SYSTEMTIME* time) {
    if (!time || !ValidSystemTime(*time)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DeviceClock::Instance().SetUtcTicks(TicksFromSystemTime(*time));
    return TRUE;
}

CE_API BOOL SetLocalTime(const SYSTEMTIME* time) {
    if (!time || !ValidSystemTime(*time)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto& clock = DeviceClock::Instance();
    clock.SetUtcTicks(TicksFromSystemTime(*time) + int64_t(clock.BiasMinutes()) * 600000000);
    return TRUE;
}

CE_API BOOL SystemTimeToFileTime(const SYSTEMTIME* systemTime, LPFILETIME fileTime) {
    if (!systemTime || !fileTime || !ValidSystemTime(*systemTime)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *fileTime = FromTicks(TicksFromSystemTime(*systemTime));
    return TRUE;
}

CE_API BOOL FileTimeToSystemTime(const FILETIME* fileTime, LPSYSTEMTIME systemTime) {
    if (!fileTime || !systemTime || ToTicks(*fileTime) < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *systemTime = SystemTimeFromTicks(ToTicks(*fileTime));
    return TRUE;
}

CE_API BOOL FileTimeToLocalFileTime(const FILETIME* fileTime, LPFILETIME localFileTime) {
    if (!fileTime || !localFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *localFileTime = FromTicks(ToTicks(*fileTime) -
                               int64_t(DeviceClock::Instance().BiasMinutes()) * 600000000);
    return TRUE;
}

CE_API BOOL LocalFileTimeToFileTime(const FILETIME* localFileTime, LPFILETIME fileTime) {
    if (!fileTime || !localFileTime) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *fileTime = FromTicks(ToTicks(*localFileTime) +
                          int64_t(DeviceClock::Instance().BiasMinutes()) * 600000000);
    return TRUE;
}

CE_API LONG CompareFileTime(const FILETIME* a, const FILETIME* b) {
    int64_t x = ToTicks(*a), y = ToTicks(*b);
    return x < y ? -1 : x > y ? 1 : 0;
}

CE_API DWORD GetTimeZoneInformation(LPTIME_ZONE_INFORMATION info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return TIME_ZONE_ID_INVALID;
    }
    std::memset(info, 0, sizeof(*info));
    info->Bias = DeviceClock::Instance().BiasMinutes();
    const char16_t name[] = u"Device Standard Time";
    std::memcpy(info->StandardName, name, sizeof(name));
    return TIME_ZONE_ID_UNKNOWN;
}

CE_API BOOL SetTimeZoneInformation(const TIME_ZONE_INFORMATION* info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    DeviceClock::Instance().SetBiasMinutes(info->Bias);
    return TRUE;
}
