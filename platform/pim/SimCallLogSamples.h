// The factory image of the SIM phonebook and of the call log: what a new device holds.
#pragma once

#include "ce/types.h"

#include <span>

namespace platform {

struct SimSample {
    DWORD location;
    const char16_t* name;
    const char16_t* number;
};

enum class CallKind { Incoming, Outgoing, Missed };

struct CallLogSample {
    int daysAgo; // before the first boot, at the local time below
    int hour;
    int minute;
    CallKind kind;
    int seconds; // talk time; 0 for missed calls
    const char16_t* number; // null: the caller withheld the number
    const char16_t* name;   // the name the phone logged, or null
    const char16_t* numberKind; // "w", "h", "m" or null
    bool roaming;
};

std::span<const SimSample> SimSamples();
std::span<const CallLogSample> CallLogSamples();

} // namespace platform
