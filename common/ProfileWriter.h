// Builds the text of the profile file "CustomProfile.xml": UTF-8 without declaration or
// byte-order mark, tab indentation, CR LF line ends, nothing escaped.
#pragma once

#include "common/ProfileRecord.h"

#include <string>
#include <vector>

namespace common {

// The scheduled profiles are written in the order given; reading the file back yields
// them reversed.
std::string FormatProfileFile(const ProfileRecord& base,
                              const std::vector<ProfileRecord>& scheduled);

} // namespace common
