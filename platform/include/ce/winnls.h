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
