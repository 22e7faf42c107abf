// Replacing a file so that a crash or a failed write never leaves it half written:
// the new content goes to "<file>.tmp" in the same folder, is synced, renamed over
// the file, and the folder is synced so the rename itself is durable.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// False with a reason when any step fails; the old file is then untouched.
bool WriteFileAtomically(const std::filesystem::path& file, std::string_view content, std::string& error);

} // namespace platform
