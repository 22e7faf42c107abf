// Exported locale-aware comparison, by ICU's collation: NORM_IGNORECASE compares at the
// secondary strength (accents count, case does not), NORM_IGNORENONSPACE at the primary
// one, NORM_IGNORESYMBOLS shifts punctuation and blanks out of the comparison.
#include "ce/kernel.h"
#include "ce/winnls.h"

#include <unicode/ucol.h>
#include <unicode/uloc.h>

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

namespace {

constexpr DWORD kKnownFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS |
                              SORT_STRINGSORT | NORM_IGNOREKANATYPE | NORM_IGNOREWIDTH;
// The flags that change the collator; the others are what ICU does anyway.
constexpr DWORD kCollatorFlags = NORM_IGNORECASE | NORM_IGNORENONSPACE | NORM_IGNORESYMBOLS;

struct CollatorClose {
    void operator()(UCollator* collator) const { ucol_close(collator); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorClose>;

std::string IcuLocale(LCID locale) {
    if (locale == LOCALE_USER_DEFAULT || locale == LOCALE_SYSTEM_DEFAULT || locale == 0)
        return "";
    char name[ULOC_FULLNAME_CAPACITY] = {};
    UErrorCode status = U_ZERO_ERROR;
    uloc_getLocaleForLCID(locale, name, sizeof name, &status);
    return U_SUCCESS(status) ? name : "";
}

void Configure(UCollator* collator, DWORD flags) {
    UErrorCode status = U_ZERO_ERROR;
    UColAttributeValue strength = UCOL_TERTIARY;
    if (flags & NORM_IGNORENONSPACE)
        strength = UCOL_PRIMARY;
    else if (flags & NORM_IGNORECASE)
        strength = UCOL_SECONDARY;
    ucol_setStrength(collator, strength);
    // Ignoring accents still tells upper from lower case unless asked not to.
    if ((flags & NORM_IGNORENONSPACE) && !(flags & NORM_IGNORECASE))
        ucol_setAttribute(collator, UCOL_CASE_LEVEL, UCOL_ON, &status);
    if (flags & NORM_IGNORESYMBOLS)
        ucol_setAttribute(collator, UCOL_ALTERNATE_HANDLING, UCOL_SHIFTED, &status);
}

// Collators are made once per locale and flags and kept: comparing through a collator is
// safe from several threads, making and configuring one is not.
const UCollator* CollatorFor(LCID locale, DWORD flags) {
    static std::mutex mutex;
    static std::map<std::pair<LCID, DWORD>, CollatorPtr> collators;
    std::lock_guard<std::mutex> lock(mutex);
    auto key = std::make_pair(locale, flags & kCollatorFlags);
    auto found = collators.find(key);
    if (found != collators.end())
        return found->second.get();
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open(IcuLocale(locale).c_str(), &status));
    if (U_FAILURE(status) || !collator)
        return nullptr;
    Configure(collator.get(), flags);
    return collators.emplace(key, std::move(collator)).first->second.get();
}

} // namespace

CE_API int CompareStringW(LCID locale, DWORD flags, LPCWSTR text1, int length1, LPCWSTR text2,
                          int length2) {
    if (!text1 || !text2 || length1 < -1 || length2 < -1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (flags & ~kKnownFlags) {
        SetLastError(ERROR_INVALID_FLAGS);
        return 0;
    }
    const UCollator* collator = CollatorFor(locale, flags);
    if (!collator) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    switch (ucol_strcoll(collator, text1, length1, text2, length2)) {
    case UCOL_LESS:
        return CSTR_LESS_THAN;
    case UCOL_EQUAL:
        return CSTR_EQUAL;
    default:
        return CSTR_GREATER_THAN;
    }
}
