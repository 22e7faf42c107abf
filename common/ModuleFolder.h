// The device folder a module lives in ("\Program Files\Tavik Dialora\"), with its closing
// backslash; empty when the module is unknown.
#pragma once

#include "ce/types.h"

#include <string>

namespace common {

// `module` null: the running program's folder.
std::u16string ModuleFolder(HMODULE module);

} // namespace common
