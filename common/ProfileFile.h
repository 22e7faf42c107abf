// The profile file on the device: "CustomProfile.xml" in the main program's folder,
// written by the options program and read by both programs.
#pragma once

#include "common/ProfileRecord.h"

#include "ce/types.h"

namespace common {

constexpr char16_t kProfileFileName[] = u"CustomProfile.xml";

// False when the file cannot be opened or read or has no "Profile" element.
bool ReadProfileFile(LPCWSTR path, ProfileSet& result);

// Writes the whole file to a temporary file beside `path` and only then replaces the old
// file, so a failed write (full disk) leaves the old file as it was. False when any byte
// could not be written or the file could not be put in place.
bool WriteProfileFile(LPCWSTR path, const ProfileRecord& base,
                      const std::vector<ProfileRecord>& scheduled);

} // namespace common
