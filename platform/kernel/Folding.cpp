// Exported FoldStringW: digit folding by the characters' Unicode digit values, and
// composition, decomposition and compatibility folding through ICU's normalizers.
#include "ce/kernel.h"
#include "ce/winnls.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf16.h>

#include <algorithm>
#include <climits>
#include <string>

namespace {

constexpr DWORD kMapFlags = MAP_FOLDCZONE | MAP_PRECOMPOSED | MAP_COMPOSITE | MAP_FOLDDIGITS;

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

std::u16string FoldDigits(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    int32_t i = 0, length = int32_t(text.size());
    while (i < length) {
        int32_t start = i;
        UChar32 ch;
        U16_NEXT(text.data(), i, length, ch);
        if (u_charType(ch) == U_DECIMAL_DIGIT_NUMBER && u_charDigitValue(ch) >= 0)
            out += char16_t(u'0' + u_charDigitValue(ch));
        else
            out.append(text.substr(size_t(start), size_t(i - start)));
    }
    return out;
}

// The normalizer the flags ask for, or null when the text stays as it is.
const UNormalizer2* NormalizerFor(DWORD flags, UErrorCode& status) {
    bool compatibility = flags & MAP_FOLDCZONE;
    if (flags & MAP_COMPOSITE)
        return compatibility ? unorm2_getNFKDInstance(&status) : unorm2_getNFDInstance(&status);
    if (compatibility)
        return unorm2_getNFKCInstance(&status);
    if (flags & MAP_PRECOMPOSED)
        return unorm2_getNFCInstance(&status);
    return nullptr;
}

bool Normalize(DWORD flags, std::u16string& text) {
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* normalizer = NormalizerFor(flags, status);
    if (U_FAILURE(status))
        return false;
    if (!normalizer)
        return true;
    int32_t needed = unorm2_normalize(normalizer, text.data(), int32_t(text.size()), nullptr, 0, &status);
    if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status))
        return false;
    std::u16string out(size_t(needed), u'\0');
    status = U_ZERO_ERROR;
    unorm2_normalize(normalizer, text.data(), int32_t(text.size()), out.data(), needed, &status);
    if (U_FAILURE(status))
        return false;
    text = std::move(out);
    return true;
}

} // namespace

CE_API int FoldStringW(DWORD mapFlags, LPCWSTR source, int sourceLength, LPWSTR destination,
                       int destinationMax) {
    if (!source || sourceLength == 0 || sourceLength < -1 || destinationMax < 0 ||
        (destinationMax > 0 && (!destination || destination == source)))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!(mapFlags & kMapFlags) || (mapFlags & ~kMapFlags) ||
        ((mapFlags & MAP_COMPOSITE) && (mapFlags & MAP_PRECOMPOSED)))
        return Fail(ERROR_INVALID_FLAGS);
    // A length of -1 takes the terminator along, so the result holds one as well.
    size_t length = sourceLength >= 0 ? size_t(sourceLength) : std::char_traits<char16_t>::length(source) + 1;
    if (length > size_t(INT32_MAX) / 4)
        return Fail(ERROR_INVALID_PARAMETER);
    std::u16string text(source, length);
    if (mapFlags & MAP_FOLDDIGITS)
        text = FoldDigits(text);
    if (!Normalize(mapFlags, text))
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    if (destinationMax == 0)
        return int(text.size());
    if (size_t(destinationMax) < text.size())
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    std::copy(text.begin(), text.end(), destination);
    return int(text.size());
}
