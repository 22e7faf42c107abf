// A sound profile: the user's own base profile ("Custom") or one scheduled profile, as
// the profile engine applies it and the profile file stores it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace common {

enum class DeclineMode : int32_t { None = 0, AllCalls = 1 };
enum class DeclineAction : int32_t { None = 0, Decline = 1, DeclineWithSms = 2 };

// Day mask bits: bit 0 Sunday ... bit 6 Saturday.
constexpr uint32_t kAllDays = 0x7F;
constexpr int32_t kSecondsPerDay = 86400;

struct ProfileRecord {
    std::u16string name; // empty when the profile has none
    // Wave volume scale: low word left, high word right channel; 0 is silent.
    uint32_t systemVolume = 0;
    uint32_t ringVolume = 0;
    int32_t initialRingLevel = -1; // -1 = not given
    std::optional<std::u16string> ringTone; // a sound file, "*none*" or "*vibrate*"
    std::optional<std::u16string> ringScript; // the platform's ring-pattern notation
    DeclineMode declineMode = DeclineMode::None;
    DeclineAction declineAction = DeclineAction::None;
    std::u16string declineText; // the SMS of DeclineWithSms; empty = none
    // Scheduled profiles only.
    uint32_t dayMask = 0;
    int32_t start = 0; // seconds after midnight, 0 .. 86,399
    int32_t end = 0;   // seconds after midnight of the start day; beyond 86,400 past midnight

    bool operator==(const ProfileRecord&) const = default;
};

// The contents of the profile file. The scheduled list is in the reverse of the file
// order; list order decides ties between scheduled profiles.
struct ProfileSet {
    std::optional<ProfileRecord> base;
    std::vector<ProfileRecord> scheduled;
};

} // namespace common
