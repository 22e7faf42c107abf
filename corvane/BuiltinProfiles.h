// The sound profiles the main program knows by index: Normal, Silent, Meeting, Loud,
// Decline, and the template of a new custom profile. Index 5 is applied from the
// profile file instead.
#pragma once

#include "common/ProfileRecord.h"

#include <optional>

namespace corvane {

constexpr int kFirstProfileIndex = 0;
constexpr int kCustomProfileIndex = 5;
// Sent in place of an index: the profile stored as "LastProfile".
constexpr int kLastProfileIndex = -1;

// The built-in profile of `index`, or nothing outside 0..5.
std::optional<common::ProfileRecord> BuiltinProfile(int index);

} // namespace corvane
