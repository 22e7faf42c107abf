// The contact store's boot and shutdown steps: the volume, the contact tables (a device
// without a volume gets the factory phone book), the application class, and the sessions.
#pragma once

#include <filesystem>

namespace platform {

// Opens "pim.vol" in `dataFolder`; a new one gets the factory contacts when asked. False when no store could be opened at all (the device
// boots without contacts then; the trace says why).
bool BootPim(const std::filesystem::path& dataFolder, bool factoryContacts);
void ShutdownPim();

} // namespace platform
