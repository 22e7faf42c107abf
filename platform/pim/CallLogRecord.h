// One call of the call log database "clog.db" and the property tags it is read and
// written by.
#pragma once

#include "ce/cedbtypes.h"

#include <cstdint>
#include <optional>
#include <string>

namespace platform {

// Property tags of a call record.
constexpr CEPROPID kClogStartTime = 0x00020040; // FILETIME, UTC
constexpr CEPROPID kClogEndTime = 0x00030040;   // FILETIME, UTC
constexpr CEPROPID kClogFlags = 0x00040003;     // I4: the kClog* bits below
constexpr CEPROPID kClogNumber = 0x0006001F;    // LPWSTR
constexpr CEPROPID kClogName = 0x0007001F;      // LPWSTR
constexpr CEPROPID kClogNumberKind = 0x000A001F; // LPWSTR: "w", "h", "m" or a word

constexpr DWORD kClogOutgoing = 0x1;
constexpr DWORD kClogConnected = 0x2;
constexpr DWORD kClogRoaming = 0x8;

// Texts longer than this are refused on write.
constexpr size_t kClogMaxText = 256;

struct CallLogRecord {
    CEOID oid = 0;
    int64_t start = 0; // 100 ns since 1 January 1601, UTC (a FILETIME)
    int64_t end = 0;
    DWORD flags = 0;
    std::optional<std::u16string> number; // absent: the number was withheld
    std::optional<std::u16string> name;
    std::optional<std::u16string> numberKind;
};

} // namespace platform
