// National language support: locale-aware string comparison.
#pragma once

#include "ce/types.h"

#define LOCALE_NEUTRAL 0x0000
#define LOCALE_USER_DEFAULT 0x0400
#define LOCALE_SYSTEM_DEFAULT 0x0800

// CompareStringW flags.
#define NORM_IGNORECASE 0x00000001u
#define NORM_IGNORENONSPACE 0x00000002u
#define NORM_IGNORESYMBOLS 0x00000004u
#define SORT_STRINGSORT 0x00001000u
#define NORM_IGNOREKANATYPE 0x00010000u
#define NORM_IGNOREWIDTH 0x00020000u

// CompareStringW results; 0 is a failure (GetLastError tells why).
#define CSTR_LESS_THAN 1
#define CSTR_EQUAL 2
#define CSTR_GREATER_THAN 3

// Compares two texts by the collation of `locale` (the defaults and LOCALE_NEUTRAL use
// the common collation of every language). A length of -1 means up to the terminator.
// ERROR_INVALID_PARAMETER for a null text or a length below -1, ERROR_INVALID_FLAGS for
// flags outside those above.
CE_API int CompareStringW(LCID locale, DWORD flags, LPCWSTR text1, int length1, LPCWSTR text2,
                          int length2);

// GetLocaleInfoW types. The device knows one user locale, English (United States),
// 0x0409; LOCALE_USER_DEFAULT, LOCALE_SYSTEM_DEFAULT and LOCALE_NEUTRAL name it as well.
typedef DWORD LCTYPE;
#define LOCALE_NOUSEROVERRIDE 0x80000000u
#define LOCALE_ILANGUAGE 0x00000001
#define LOCALE_SLANGUAGE 0x00000002
#define LOCALE_SABBREVLANGNAME 0x00000003
#define LOCALE_ICOUNTRY 0x00000005
#define LOCALE_SCOUNTRY 0x00000006
#define LOCALE_IDEFAULTCODEPAGE 0x0000000B
#define LOCALE_SLIST 0x0000000C
#define LOCALE_IMEASURE 0x0000000D
#define LOCALE_SDECIMAL 0x0000000E
#define LOCALE_STHOUSAND 0x0000000F
#define LOCALE_SDATE 0x0000001D
#define LOCALE_STIME 0x0000001E
#define LOCALE_SSHORTDATE 0x0000001F
#define LOCALE_SLONGDATE 0x00000020
#define LOCALE_IDATE 0x00000021
#define LOCALE_ILDATE 0x00000022
#define LOCALE_ITIME 0x00000023
#define LOCALE_ICENTURY 0x00000024
#define LOCALE_ITLZERO 0x00000025
#define LOCALE_IDAYLZERO 0x00000026
#define LOCALE_IMONLZERO 0x00000027
#define LOCALE_S1159 0x00000028
#define LOCALE_S2359 0x00000029
#define LOCALE_SDAYNAME1 0x0000002A // Monday; up to LOCALE_SDAYNAME7 (Sunday)
#define LOCALE_SDAYNAME7 0x00000030
#define LOCALE_SABBREVDAYNAME1 0x00000031
#define LOCALE_SABBREVDAYNAME7 0x00000037
#define LOCALE_SMONTHNAME1 0x00000038 // up to LOCALE_SMONTHNAME12
#define LOCALE_SMONTHNAME12 0x00000043
#define LOCALE_SABBREVMONTHNAME1 0x00000044
#define LOCALE_SABBREVMONTHNAME12 0x0000004F
#define LOCALE_SISO639LANGNAME 0x00000059
#define LOCALE_SISO3166CTRYNAME 0x0000005A
#define LOCALE_SENGLANGUAGE 0x00001001
#define LOCALE_SENGCOUNTRY 0x00001002
#define LOCALE_STIMEFORMAT 0x00001003
#define LOCALE_IDEFAULTANSICODEPAGE 0x00001004
#define LOCALE_ITIMEMARKPOSN 0x00001005
#define LOCALE_SYEARMONTH 0x00001006
#define LOCALE_IFIRSTDAYOFWEEK 0x0000100C // "0" Monday ... "6" Sunday
#define LOCALE_IFIRSTWEEKOFYEAR 0x0000100D

// Writes the value of `type` with its terminator into `data` and returns the characters
// written, terminator included; with `dataMax` 0 returns the size needed and writes
// nothing. 0 on failure: ERROR_INVALID_PARAMETER (another locale, a null buffer with a
// size), ERROR_INVALID_FLAGS (an unknown type), ERROR_INSUFFICIENT_BUFFER.
CE_API int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataMax);

// GetDateFormatW flags.
#define DATE_SHORTDATE 0x00000001
#define DATE_LONGDATE 0x00000002
#define DATE_YEARMONTH 0x00000008

// GetTimeFormatW flags.
#define TIME_NOMINUTESORSECONDS 0x00000001
#define TIME_NOSECONDS 0x00000002
#define TIME_NOTIMEMARKER 0x00000004
#define TIME_FORCE24HOURFORMAT 0x00000008

// Format a date (or with `date` null, today's local date) by `format` or, without one, by
// the locale's short, long or year-month picture. Picture letters: d dd ddd dddd, M MM MMM
// MMMM, y yy yyyy, gg (the era); text in single quotes is copied, '' is one quote. The day
// of the week is computed from the date. Results and failures as GetLocaleInfoW's, and
// ERROR_INVALID_PARAMETER for a date that does not exist, ERROR_INVALID_FLAGS for a
// picture together with a picture flag or two picture flags.
CE_API int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format,
                          LPWSTR buffer, int bufferMax);
// The same for a time of day: h hh (12 hours) H HH (24 hours) m mm s ss t tt (the time
// marker). TIME_NOSECONDS and TIME_NOMINUTESORSECONDS drop those fields with the separator
// before them, TIME_NOTIMEMARKER the marker and the blank before it (after it when it comes
// first); TIME_FORCE24HOURFORMAT prints h as H and drops the marker the same way.
CE_API int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format,
                          LPWSTR buffer, int bufferMax);

// FoldStringW flags.
#define MAP_FOLDCZONE 0x00000010
#define MAP_PRECOMPOSED 0x00000020
#define MAP_COMPOSITE 0x00000040
#define MAP_FOLDDIGITS 0x00000080

// Maps `source` (sourceLength characters, -1 up to and with the terminator):
// MAP_COMPOSITE splits accented letters into the base letter and its combining marks
// ("é" becomes "e" and U+0301), MAP_PRECOMPOSED joins them, MAP_FOLDCZONE folds
// compatibility characters (ligatures, full-width forms) and MAP_FOLDDIGITS turns every
// decimal digit into 0-9. Results and failures as GetLocaleInfoW's; MAP_COMPOSITE with
// MAP_PRECOMPOSED is ERROR_INVALID_FLAGS.
CE_API int FoldStringW(DWORD mapFlags, LPCWSTR source, int sourceLength, LPWSTR destination,
                       int destinationMax);
