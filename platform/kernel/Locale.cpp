// Exported locale functions of the user locale: GetLocaleInfoW, GetDateFormatW and
// GetTimeFormatW.
#include "ce/kernel.h"
#include "ce/winnls.h"
#include "kernel/DatePicture.h"
#include "kernel/UserLocale.h"

#include <algorithm>
#include <cstdint>
#include <string>

using namespace platform;

namespace {

// Copies `text` and its terminator out as the NLS functions do: with `bufferMax` 0 only
// the size needed is returned.
int CopyOut(std::u16string_view text, LPWSTR buffer, int bufferMax) {
    size_t needed = text.size() + 1;
    if (needed > size_t(INT32_MAX)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (bufferMax == 0)
        return int(needed);
    if (size_t(bufferMax) < needed) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = 0;
    return int(needed);
}

bool BadBuffer(LPCWSTR buffer, int bufferMax) { return bufferMax < 0 || (bufferMax > 0 && !buffer); }

// A caller's picture, at most DatePicture::kMaxPicture characters; false when longer.
bool ReadPicture(LPCWSTR format, std::u16string& picture) {
    size_t length = 0;
    while (length <= DatePicture::kMaxPicture && format[length])
        ++length;
    if (length > DatePicture::kMaxPicture)
        return false;
    picture.assign(format, length);
    return true;
}

// The picture and time of a date or time request, or the failure's error code.
DWORD Prepare(LCID locale, LPCWSTR format, const SYSTEMTIME* given, LPWSTR buffer, int bufferMax,
              std::u16string& picture, SYSTEMTIME& time) {
    if (!UserLocale::Names(locale) || BadBuffer(buffer, bufferMax))
        return ERROR_INVALID_PARAMETER;
    if (format && !ReadPicture(format, picture))
        return ERROR_INVALID_PARAMETER;
    if (given)
        time = *given;
    else
        GetLocalTime(&time);
    return ERROR_SUCCESS;
}

LCTYPE DatePictureType(DWORD flags) {
    if (flags & DATE_LONGDATE)
        return LOCALE_SLONGDATE;
    if (flags & DATE_YEARMONTH)
        return LOCALE_SYEARMONTH;
    return LOCALE_SSHORTDATE;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

} // namespace

CE_API int GetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int dataMax) {
    if (!UserLocale::Names(locale) || BadBuffer(data, dataMax))
        return Fail(ERROR_INVALID_PARAMETER);
    auto value = UserLocale::Info(type);
    if (!value)
        return Fail(ERROR_INVALID_FLAGS);
    return CopyOut(*value, data, dataMax);
}

CE_API int GetDateFormatW(LCID locale, DWORD flags, const SYSTEMTIME* date, LPCWSTR format,
                          LPWSTR buffer, int bufferMax) {
    constexpr DWORD kPictureFlags = DATE_SHORTDATE | DATE_LONGDATE | DATE_YEARMONTH;
    DWORD pictureFlags = flags & kPictureFlags;
    if ((flags & ~(kPictureFlags | LOCALE_NOUSEROVERRIDE)) || (format && pictureFlags) ||
        (pictureFlags & (pictureFlags - 1)))
        return Fail(ERROR_INVALID_FLAGS);
    std::u16string picture;
    SYSTEMTIME time{};
    if (DWORD error = Prepare(locale, format, date, buffer, bufferMax, picture, time))
        return Fail(error);
    if (!DatePicture::IsValidDate(time))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!format)
        picture = *UserLocale::Info(DatePictureType(flags));
    return CopyOut(DatePicture::FormatDate(picture, time), buffer, bufferMax);
}

CE_API int GetTimeFormatW(LCID locale, DWORD flags, const SYSTEMTIME* time, LPCWSTR format,
                          LPWSTR buffer, int bufferMax) {
    constexpr DWORD kKnown = TIME_NOMINUTESORSECONDS | TIME_NOSECONDS | TIME_NOTIMEMARKER |
                             TIME_FORCE24HOURFORMAT | LOCALE_NOUSEROVERRIDE;
    if (flags & ~kKnown)
        return Fail(ERROR_INVALID_FLAGS);
    std::u16string picture;
    SYSTEMTIME when{};
    if (DWORD error = Prepare(locale, format, time, buffer, bufferMax, picture, when))
        return Fail(error);
    if (!DatePicture::IsValidTime(when))
        return Fail(ERROR_INVALID_PARAMETER);
    if (!format)
        picture = *UserLocale::Info(LOCALE_STIMEFORMAT);
    return CopyOut(DatePicture::FormatTime(picture, when, flags), buffer, bufferMax);
}
