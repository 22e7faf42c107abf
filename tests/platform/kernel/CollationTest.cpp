// CompareStringW: ordering by collation, the case and accent flags, lengths and errors.
#include "ce/kernel.h"
#include "ce/winnls.h"

#include <gtest/gtest.h>

namespace {

int Compare(DWORD flags, const WCHAR* a, const WCHAR* b) {
    return CompareStringW(LOCALE_USER_DEFAULT, flags, a, -1, b, -1);
}

TEST(CompareString, OrdersByCollationAndFlags) {
    struct Row {
        DWORD flags;
        const WCHAR* a;
        const WCHAR* b;
        int result;
    };
    const Row rows[] = {
        {0, u"apple", u"Banana", CSTR_LESS_THAN}, // letters before case: not code points
        {0, u"Zoe", u"adam", CSTR_GREATER_THAN},
        {0, u"smith", u"Smith", CSTR_LESS_THAN},
        {NORM_IGNORECASE, u"smith", u"SMITH", CSTR_EQUAL},
        {NORM_IGNORECASE, u"M\u00fcller", u"Muller", CSTR_GREATER_THAN},
        {NORM_IGNORECASE | NORM_IGNORENONSPACE, u"M\u00fcller", u"MULLER", CSTR_EQUAL},
        {NORM_IGNORENONSPACE, u"M\u00fcller", u"MULLER", CSTR_LESS_THAN},
        {NORM_IGNORECASE, u"\u00c9mile", u"Ezra", CSTR_LESS_THAN},
        {NORM_IGNORECASE | NORM_IGNORESYMBOLS, u"O'Brien", u"obrien", CSTR_EQUAL},
        {NORM_IGNORECASE, u"", u"a", CSTR_LESS_THAN},
        {NORM_IGNORECASE, u"", u"", CSTR_EQUAL},
    };
    for (const Row& row : rows)
        EXPECT_EQ(Compare(row.flags, row.a, row.b), row.result)
            << std::string(row.a, row.a + std::char_traits<char16_t>::length(row.a));
}

TEST(CompareString, TakesLengthsAndRefusesBadArguments) {
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, u"abcX", 3, u"ABCY", 3),
              CSTR_EQUAL);
    EXPECT_EQ(CompareStringW(0x0407, NORM_IGNORECASE, u"ab", 2, u"abc", -1), CSTR_LESS_THAN);
    SetLastError(0);
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, nullptr, -1, u"a", -1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0, u"a", -2, u"a", -1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(CompareStringW(LOCALE_USER_DEFAULT, 0x80000000u, u"a", -1, u"a", -1), 0);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_FLAGS));
}

} // namespace
