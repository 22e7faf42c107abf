// Birthdays and anniversaries are FILETIMEs (100 ns ticks since 1601-01-01 UTC). The
// console and the vCard import read and write them as ISO dates.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class ContactDates {
public:
    // "YYYY-MM-DD", "YYYYMMDD", either followed by "THH:MM:SS" / "THHMMSS" (a trailing "Z"
    // is allowed). Years 1601-9999; the date must exist (no 31 April).
    static bool Parse(std::string_view text, uint64_t& fileTime);
    // "YYYY-MM-DD", with "THH:MM:SS" when the time is not midnight.
    static std::string Format(uint64_t fileTime);
};

} // namespace platform
