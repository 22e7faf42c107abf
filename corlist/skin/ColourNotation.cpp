#include "corlist/skin/ColourNotation.h"

#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/wingdi.h"

#include <cstdio>
#include <cstring>

namespace corlist {

namespace {

// System colour numbers the platform knows: 0 .. COLOR_GRADIENTINACTIVECAPTION.
constexpr int kLastSysColour = COLOR_GRADIENTINACTIVECAPTION & ~SYS_COLOR_INDEX_FLAG;

int HexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return 0;
}

bool StartsWithIgnoringCase(const char* text, const char* prefix) {
    for (; *prefix; ++text, ++prefix) {
        char c = *text;
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
        if (c != *prefix)
            return false;
    }
    return true;
}

COLORREF ParseHex(const char* digits) {
    if (std::strlen(digits) < 6)
        return kColourNone;
    int channel[3];
    for (int i = 0; i < 3; ++i)
        channel[i] = HexDigit(digits[2 * i]) * 16 + HexDigit(digits[2 * i + 1]);
    return RGB(channel[0], channel[1], channel[2]);
}

// "sysColor(n)" with an optional ":p" searched for from the tenth character on. Without a
// suffix the system colour is used as it is.
COLORREF ParseSysColour(const char* value) {
    int index = 0;
    char close = 0;
    if (std::sscanf(value + 8, "(%d%c", &index, &close) != 2 || close != ')')
        return kColourNone;
    if (index < 0 || index > kLastSysColour)
        return kColourNone;
    COLORREF colour = GetSysColor(index);
    const char* suffix = std::strlen(value) > 9 ? std::strchr(value + 9, ':') : nullptr;
    int percent = 0;
    if (suffix && ParseInteger(suffix + 1, percent))
        colour = ShadeColour(colour, percent);
    return colour;
}

int Clamp255(int value) {
    return value < 0 ? 0 : value > 255 ? 255 : value;
}

COLORREF ParseRgb(const char* value) {
    int red = 0, green = 0, blue = 0;
    char close = 0;
    if (std::sscanf(value + 3, "(%d ,%d ,%d %c", &red, &green, &blue, &close) != 4 || close != ')')
        return kColourNone;
    return RGB(Clamp255(red), Clamp255(green), Clamp255(blue));
}

} // namespace

COLORREF ShadeColour(COLORREF colour, int percent) {
    if (percent < -100)
        percent = -100;
    if (percent > 100)
        percent = 100;
    int weight = percent * 25500 / 10000;
    int channel[3] = {int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF)};
    for (int& c : channel) {
        if (weight < 0) {
            c = c * (256 + weight) / 256;
        } else {
            int keep = 256 - weight;
            c = weight * 255 / 256 + c * keep / 256;
        }
    }
    return RGB(channel[0], channel[1], channel[2]);
}

COLORREF ParseColour(const char* value) {
    if (!value)
        return kColourNone;
    if (value[0] == '#')
        return ParseHex(value + 1);
    if (StartsWithIgnoringCase(value, "syscolor"))
        return ParseSysColour(value);
    if (StartsWithIgnoringCase(value, "rgb"))
        return ParseRgb(value);
    return kColourNone;
}

} // namespace corlist
