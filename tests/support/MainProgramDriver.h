// Starting the main program on a test device the way the other deliverables do: through
// the shell with its launch name, then waiting until the device is at rest.
#pragma once

#include "ce/types.h"

namespace testsupport {

// Lets every emulated thread come to rest (at most 3 s).
void Settle();

// Starts ":Corvane" with `arguments`; with `wait`, waits for that process to end and
// returns its exit code (otherwise STILL_ACTIVE). Settles afterwards.
DWORD StartMainProgram(const WCHAR* arguments, bool wait);

} // namespace testsupport
