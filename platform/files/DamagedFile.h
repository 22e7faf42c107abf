// Damaged stores (registry file, contact volume) are renamed "<name>.corrupt-<UTC time>"
// beside the new one, so that nothing in them is lost.
#pragma once

#include <filesystem>
#include <system_error>

namespace platform {

// Renames `file` to the first free "<file>.corrupt-YYYYMMDD-HHMMSS[-n]"; *movedTo gets the
// new name. False (with ec) when the rename failed.
bool SetAsideDamagedFile(const std::filesystem::path& file, std::filesystem::path& movedTo,
                         std::error_code& ec);

} // namespace platform
