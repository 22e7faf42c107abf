#include "ce/kernel.h"
#include "kernel/DeviceClock.h"
#include "support/TestDevice.h"

using testsupport::TestDevice;

namespace {

class KernelTime : public TestDevice {};

SYSTEMTIME Make(int y, int mo, int d, int h, int mi, int s) {
    SYSTEMTIME t{};
    t.wYear = y;
    t.wMonth = mo;
    t.wDay = d;
    t.wHour = h;
    t.wMinute = mi;
    t.wSecond = s;
    return t;
}

TEST(TimeConversion, RoundTripsAcrossLeapYearsAndKnowsTheWeekday) {
    const SYSTEMTIME samples[] = {Make(1601, 1, 1, 0, 0, 0), Make(2000, 2, 29, 23, 59, 59),
                                  Make(2026, 12, 7, 12, 0, 0), Make(2100, 3, 1, 0, 0, 1)};
    for (const SYSTEMTIME& t : samples) {
        FILETIME ft;
        ASSERT_TRUE(SystemTimeToFileTime(&t, &ft));
        SYSTEMTIME back;
        ASSERT_TRUE(FileTimeToSystemTime(&ft, &back));
        EXPECT_EQ(back.wYear, t.wYear);
        EXPECT_EQ(back.wMonth, t.wMonth);
        EXPECT_EQ(back.wDay, t.wDay);
        EXPECT_EQ(back.wHour, t.wHour);
        EXPECT_EQ(back.wSecond, t.wSecond);
    }
    SYSTEMTIME monday = Make(2026, 12, 7, 0, 0, 0), back;
    FILETIME ft;
    SystemTimeToFileTime(&monday, &ft);
    FileTimeToSystemTime(&ft, &back);
    EXPECT_EQ(back.wDayOfWeek, 1);
    SYSTEMTIME invalid = Make(2023, 2, 29, 0, 0, 0);
    EXPECT_FALSE(SystemTimeToFileTime(&invalid, &ft));
}

TEST_F(KernelTime, FrozenClockMovesOnlyWhenAdvanced) {
    auto& clock = platform::DeviceClock::Instance();
    clock.Freeze();
    SYSTEMTIME t = Make(2026, 5, 1, 22, 59, 30);
    ASSERT_TRUE(SetLocalTime(&t));
    DWORD ticks = GetTickCount();
    Sleep(20);
    EXPECT_EQ(GetTickCount(), ticks);
    clock.Advance(60 * 1000);
    EXPECT_EQ(GetTickCount(), ticks + 60000);
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(now.wHour, 23);
    EXPECT_EQ(now.wMinute, 0);
    EXPECT_EQ(now.wSecond, 30);
}

TEST_F(KernelTime, LocalTimeFollowsTheTimeZoneBias) {
    platform::DeviceClock::Instance().Freeze();
    TIME_ZONE_INFORMATION tz{};
    tz.Bias = -60; // one hour east of UTC
    ASSERT_TRUE(SetTimeZoneInformation(&tz));
    SYSTEMTIME local = Make(2026, 1, 1, 0, 30, 0);
    SetLocalTime(&local);
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    EXPECT_EQ(utc.wYear, 2025);
    EXPECT_EQ(utc.wHour, 23);
    FILETIME ft, localFt;
    SystemTimeToFileTime(&utc, &ft);
    FileTimeToLocalFileTime(&ft, &localFt);
    SYSTEMTIME back;
    FileTimeToSystemTime(&localFt, &back);
    EXPECT_EQ(back.wHour, 0);
    EXPECT_EQ(back.wMinute, 30);
}

TEST(TextConversion, Utf8AndAnsiRoundTrip) {
    const char16_t text[] = u"Jörg €5 \U0001F600";
    char utf8[64];
    int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    ASSERT_GT(n, 0);
    char16_t back[64];
    int m = MultiByteToWideChar(CP_UTF8, 0, utf8, -1, back, 64);
    EXPECT_EQ(std::u16string(back, m - 1), std::u16string(text));
    char ansi[64];
    BOOL usedDefault = FALSE;
    n = WideCharToMultiByte(CP_ACP, 0, u"Jörg €", -1, ansi, sizeof ansi, nullptr, &usedDefault);
    EXPECT_EQ(std::string(ansi, n - 1), "J\xF6rg \x80");
    EXPECT_FALSE(usedDefault);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, nullptr, 0), 3);
    char16_t tiny[2];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 3, tiny, 2), 0);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INSUFFICIENT_BUFFER);
}

} // namespace
