// The UI library's own strings: from the chosen language, else the built-in English table
// compiled into the library. The library's module handle for its resources.
#pragma once

#include "ce/types.h"

#include <string>

namespace corlist {

std::u16string LibraryText(UINT id);
// The UI library's module ("Corlist.dll"), or the program's when the library is linked in.
HINSTANCE LibraryInstance();

} // namespace corlist
