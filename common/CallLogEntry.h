// One entry of the main program's call log cache, as the UI library's call history reads
// it. Entries belong to the cache; one whose record was deleted is freed only when the
// cache closes, so a page that still holds it reads stale but valid data until it
// refreshes on CRVM_CALLLOGCHANGED.
#pragma once

#include "ce/cedbtypes.h"
#include "ce/types.h"

#include <string>

namespace common {

struct ContactRecord;

namespace CallFlag {
constexpr DWORD kOutgoing = 0x4;
// Incoming and never connected. Neither bit: incoming and connected.
constexpr DWORD kMissed = 0x8;
constexpr DWORD kKindMask = 0xC;
// The number's kind as the platform logged it (first letter "h", "w" or "m").
constexpr DWORD kHome = 0x10;
constexpr DWORD kWork = 0x20;
constexpr DWORD kMobile = 0x40;
constexpr DWORD kRoaming = 0x10000;
} // namespace CallFlag

// Call kinds as the statistics ask for them (flags & CallFlag::kKindMask).
namespace CallKind {
constexpr int kIncoming = 0;
constexpr int kOutgoing = 4;
constexpr int kMissed = 8;
} // namespace CallKind

struct CallLogEntry {
    // The contact whose phone keys match the number, or null.
    ContactRecord* contact = nullptr;
    // Chains entries for group operations (delete a group); not owned.
    CallLogEntry* next = nullptr;
    // Only for a call without a number: the name the platform logged, or "Unknown".
    std::u16string name;
    std::u16string number;
    // The local start day: local file time / 864,000,000,000 (days since 1601).
    DWORD callDay = 0;
    FILETIME start{};
    FILETIME end{};
    DWORD flags = 0;
    // The call log database's record.
    CEOID oid = 0;
};

} // namespace common
