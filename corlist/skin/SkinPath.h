// Where skin packages live: a name from the settings becomes a device path.
#pragma once

#include "ce/types.h"

#include <string>

namespace corlist {

// A name that neither starts with '\' nor has ':' as its second character is looked for in
// `programFolder` (ending in '\') + "Skins\". An empty or null name is "Default.rpk" on
// screens narrower than 480 pixels and "Default.vga.rpk" on wider ones; any other name gets
// ".rpk" unless the part from its last '.' contains ".rpk" (case-sensitive).
std::u16string BuildPackagePath(LPCWSTR name, std::u16string_view programFolder, int screenWidth);
// The folder of the running program, ending in '\'.
std::u16string RunningProgramFolder();

} // namespace corlist
