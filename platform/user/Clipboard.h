// The device's clipboard between boots.
#pragma once

namespace platform {

// Frees what the clipboard holds and closes it (device shutdown).
void ResetClipboard();

} // namespace platform
