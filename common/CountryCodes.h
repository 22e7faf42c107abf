// Lengths of the international calling codes by their leading digits (the E.164 zones):
// the zone's first digit decides whether the code has one, two or three digits, and for
// most zones a few second digits differ from the rest of the zone.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace common {

struct CountryZone {
    // Length of the codes whose second digit is in `listedSeconds` (bit n = digit n).
    uint8_t listedLength;
    // Length of every other code of the zone.
    uint8_t otherLength;
    uint16_t listedSeconds;
};

constexpr uint16_t SecondDigits(std::initializer_list<int> digits) {
    uint16_t mask = 0;
    for (int digit : digits)
        mask = static_cast<uint16_t>(mask | (1u << digit));
    return mask;
}

// Indexed by the first digit of the code.
inline constexpr CountryZone kCountryZones[10] = {
    {0, 0, 0},                          // 0: no country code begins with 0
    {1, 1, 0},                          // 1: North America
    {2, 3, SecondDigits({0, 7})},       // 20 Egypt, 27 South Africa, else 2xx
    {3, 2, SecondDigits({5, 7, 8})},    // 35x, 37x, 38x; else 3x
    {3, 2, SecondDigits({2})},          // 42x; else 4x
    {3, 2, SecondDigits({0, 9})},       // 50x, 59x; else 5x
    {3, 2, SecondDigits({7, 8, 9})},    // 67x, 68x, 69x; else 6x
    {1, 1, 0},                          // 7: Russia and Kazakhstan
    {3, 2, SecondDigits({0, 5, 7, 8})}, // 80x, 85x, 87x, 88x; else 8x
    {3, 2, SecondDigits({6, 7, 9})},    // 96x, 97x, 99x; else 9x
};

// Length of the country code that begins with the digits `first` and `second` (ASCII
// '0'-'9'; `second` may be any other value when the text holds no second digit, which
// counts as one of the zone's other codes). 0 when `first` is no digit or begins no code.
constexpr int CountryCodeLength(char16_t first, char16_t second) {
    if (first < u'0' || first > u'9')
        return 0;
    const CountryZone& zone = kCountryZones[first - u'0'];
    if (second >= u'0' && second <= u'9' && (zone.listedSeconds & (1u << (second - u'0'))))
        return zone.listedLength;
    return zone.otherLength;
}

} // namespace common
