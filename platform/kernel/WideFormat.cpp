// printf-style formatting into UTF-16, as the device's C library offers it: %s takes a
// UTF-16 string, %S an 8-bit one; numbers are formatted by the host's snprintf and widened.
#include "ce/kernel.h"

#include "kernel/Utf.h"

#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

// The output, cut at `capacity` units (the terminator included).
class WideOutput {
public:
    WideOutput(WCHAR* buffer, size_t capacity) : m_buffer(buffer), m_capacity(capacity) {}
    void Put(char16_t unit) {
        if (m_length + 1 < m_capacity)
            m_buffer[m_length] = unit;
        ++m_length;
    }
    void PutNarrow(const char* text, size_t length) {
        for (size_t i = 0; i < length; ++i)
            Put(char16_t(static_cast<unsigned char>(text[i])));
    }
    // Terminates the text; the length written, or -1 when it did not fit.
    int Finish() {
        if (m_capacity == 0)
            return -1;
        bool fits = m_length < m_capacity;
        m_buffer[fits ? m_length : m_capacity - 1] = 0;
        return fits ? int(m_length) : -1;
    }

private:
    WCHAR* m_buffer;
    size_t m_capacity;
    size_t m_length = 0;
};

struct Spec {
    std::string flags;
    int width = -1;
    int precision = -1;
    int longs = 0; // 'l' count, or 2 for I64
    bool shortValue = false;
};

const WCHAR* ReadSpec(const WCHAR* p, Spec& spec, va_list& args) {
    while (*p == u'-' || *p == u'+' || *p == u' ' || *p == u'#' || *p == u'0')
        spec.flags += char(*p++);
    if (*p == u'*') {
        spec.width = va_arg(args, int);
        ++p;
    } else {
        for (; *p >= u'0' && *p <= u'9'; ++p)
            spec.width = (spec.width < 0 ? 0 : spec.width) * 10 + (*p - u'0');
    }
    if (*p == u'.') {
        ++p;
        spec.precision = 0;
        if (*p == u'*') {
            spec.precision = va_arg(args, int);
            ++p;
        }
        for (; *p >= u'0' && *p <= u'9'; ++p)
            spec.precision = spec.precision * 10 + (*p - u'0');
    }
    for (;; ++p) {
        if (*p == u'l')
            ++spec.longs;
        else if (*p == u'h')
            spec.shortValue = true;
        else if (p[0] == u'I' && p[1] == u'6' && p[2] == u'4')
            spec.longs = 2, p += 2;
        else
            break;
    }
    return p;
}

// A number through snprintf with the same flags, width and precision.
void PutNumber(WideOutput& out, const Spec& spec, char conversion, va_list& args) {
    std::string format = "%" + spec.flags;
    if (spec.width >= 0)
        format += std::to_string(spec.width);
    if (spec.precision >= 0)
        format += "." + std::to_string(spec.precision);
    char text[128];
    int length = 0;
    bool isSigned = conversion == 'd' || conversion == 'i';
    if (conversion == 'p') {
        length = std::snprintf(text, sizeof text, (format + "p").c_str(), va_arg(args, void*));
    } else if (spec.longs >= 2) {
        long long value = va_arg(args, long long);
        format += std::string("ll") + conversion;
        length = isSigned ? std::snprintf(text, sizeof text, format.c_str(), value)
                          : std::snprintf(text, sizeof text, format.c_str(), static_cast<unsigned long long>(value));
    } else {
        // long is 32-bit on the device: %ld reads a 32-bit value, as an int does here.
        int value = va_arg(args, int);
        if (spec.shortValue)
            value = isSigned ? int(short(value)) : int(uint16_t(value));
        format += conversion;
        length = isSigned ? std::snprintf(text, sizeof text, format.c_str(), value)
                          : std::snprintf(text, sizeof text, format.c_str(), static_cast<unsigned>(value));
    }
    out.PutNarrow(text, size_t(length > 0 ? std::min<int>(length, int(sizeof text) - 1) : 0));
}

void PutPadded(WideOutput& out, const Spec& spec, const std::u16string& text) {
    size_t length = spec.precision >= 0 ? std::min(text.size(), size_t(spec.precision)) : text.size();
    size_t pad = spec.width > int(length) ? size_t(spec.width) - length : 0;
    bool left = spec.flags.find('-') != std::string::npos;
    for (size_t i = 0; !left && i < pad; ++i)
        out.Put(u' ');
    for (size_t i = 0; i < length; ++i)
        out.Put(text[i]);
    for (size_t i = 0; left && i < pad; ++i)
        out.Put(u' ');
}

std::u16string StringArgument(char conversion, const Spec& spec, va_list& args) {
    bool narrow = conversion == 'S' || (conversion == 's' && spec.shortValue);
    if (narrow) {
        const char* text = va_arg(args, const char*);
        return text ? platform::FromUtf8(text) : std::u16string(u"(null)");
    }
    const WCHAR* text = va_arg(args, const WCHAR*);
    return text ? std::u16string(text) : std::u16string(u"(null)");
}

} // namespace

CE_API int _vsnwprintf(WCHAR* buffer, size_t count, const WCHAR* format, va_list args) {
    if (!buffer || !format)
        return -1;
    WideOutput out(buffer, count);
    va_list list;
    va_copy(list, args);
    for (const WCHAR* p = format; *p; ++p) {
        if (*p != u'%') {
            out.Put(*p);
            continue;
        }
        Spec spec;
        p = ReadSpec(p + 1, spec, list);
        char conversion = *p < 128 ? char(*p) : '?';
        switch (conversion) {
        case 'd': case 'i': case 'u': case 'x': case 'X': case 'o': case 'p':
            PutNumber(out, spec, conversion, list);
            break;
        case 'c': case 'C':
            PutPadded(out, spec, std::u16string(1, char16_t(va_arg(list, int))));
            break;
        case 's': case 'S':
            PutPadded(out, spec, StringArgument(conversion, spec, list));
            break;
        case '%':
            out.Put(u'%');
            break;
        default:
            // An unknown conversion (or the end of the format) is written as it stands.
            out.Put(u'%');
            if (!*p) {
                va_end(list);
                return out.Finish();
            }
            out.Put(*p);
            break;
        }
    }
    va_end(list);
    return out.Finish();
}

CE_API int _snwprintf(WCHAR* buffer, size_t count, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    int length = _vsnwprintf(buffer, count, format, args);
    va_end(args);
    return length;
}

CE_API int wvsprintfW(WCHAR* buffer, const WCHAR* format, va_list args) {
    // The device's wsprintf writes at most 1024 characters.
    int length = _vsnwprintf(buffer, 1025, format, args);
    return length < 0 ? 1024 : length;
}

CE_API int wsprintfW(WCHAR* buffer, const WCHAR* format, ...) {
    va_list args;
    va_start(args, format);
    int length = wvsprintfW(buffer, format, args);
    va_end(args);
    return length;
}
