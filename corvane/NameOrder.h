// The order of names in the caches: the platform's locale-aware comparison, ignoring case.
#pragma once

#include "ce/winnls.h"

#include <string_view>

namespace corvane {

// Negative, zero or positive as `a` sorts before, with or after `b`.
inline int CompareNames(std::u16string_view a, std::u16string_view b) {
    int result = CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.data(), int(a.size()),
                                b.data(), int(b.size()));
    return result == 0 ? a.compare(b) : result - CSTR_EQUAL;
}

inline bool NameBefore(std::u16string_view a, std::u16string_view b) {
    return CompareNames(a, b) < 0;
}

} // namespace corvane
