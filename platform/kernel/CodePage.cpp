// Exported text conversion. The device's ANSI code page is 1252.
#include "ce/kernel.h"
#include "kernel/Utf.h"

#include <cstring>
#include <string>

using namespace platform;

namespace {

// Code page 1252 characters 0x80-0x9F; 0 marks an unassigned byte.
const char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t FromCp1252(unsigned char c) {
    if (c >= 0x80 && c < 0xA0)
        return kCp1252High[c - 0x80] ? kCp1252High[c - 0x80] : char16_t(c);
    return c;
}

// Returns 0 when the character has no 1252 byte.
unsigned char ToCp1252(char16_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<unsigned char>(c);
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == c)
            return static_cast<unsigned char>(0x80 + i);
    return 0;
}

// Copies `text` (and a terminator when the source length was -1) into the caller's
// buffer, or reports the length needed when `targetLength` is 0.
template <typename Char>
int Deliver(const std::basic_string<Char>& text, Char* target, int targetLength) {
    if (targetLength == 0)
        return static_cast<int>(text.size());
    if (!target || static_cast<size_t>(targetLength) < text.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    std::memcpy(target, text.data(), text.size() * sizeof(Char));
    return static_cast<int>(text.size());
}

} // namespace

CE_API UINT GetACP() { return 1252; }

CE_API int MultiByteToWideChar(UINT codePage, DWORD, LPCSTR source, int sourceLength,
                               LPWSTR target, int targetLength) {
    if (!source || targetLength < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = sourceLength < 0 ? std::strlen(source) + 1 : size_t(sourceLength);
    std::string_view bytes(source, length);
    std::u16string text;
    if (codePage == CP_UTF8) {
        text = FromUtf8(bytes);
    } else if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == 1252) {
        for (char c : bytes)
            text += FromCp1252(static_cast<unsigned char>(c));
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Deliver(text, target, targetLength);
}

CE_API int WideCharToMultiByte(UINT codePage, DWORD, LPCWSTR source, int sourceLength,
                               LPSTR target, int targetLength, LPCSTR defaultChar,
                               LPBOOL usedDefaultChar) {
    if (!source || targetLength < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    size_t length = sourceLength < 0 ? StrLen(source) + 1 : size_t(sourceLength);
    std::u16string_view chars(source, length);
    std::string text;
    if (usedDefaultChar)
        *usedDefaultChar = FALSE;
    if (codePage == CP_UTF8) {
        text = ToUtf8(chars);
    } else if (codePage == CP_ACP || codePage == CP_OEMCP || codePage == 1252) {
        for (char16_t c : chars) {
            unsigned char byte = ToCp1252(c);
            if (byte == 0 && c != 0) {
                byte = defaultChar ? static_cast<unsigned char>(*defaultChar) : '?';
                if (usedDefaultChar)
                    *usedDefaultChar = TRUE;
            }
            text += static_cast<char>(byte);
        }
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    return Deliver(text, target, targetLength);
}
