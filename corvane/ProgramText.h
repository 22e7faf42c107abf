// The main program's own strings: from the chosen language, else the built-in English
// table compiled into the program (a process that loaded no language still gets them).
#pragma once

#include "ce/types.h"

#include <string>

namespace corvane {

std::u16string ProgramText(UINT id);

} // namespace corvane
