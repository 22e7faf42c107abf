// Launch names as the device's shell knows them: HKLM "Software\Microsoft\Shell\Rai\<name>"
// holds the program's path in its value "1".
#pragma once

namespace platform {

// Boot step: makes LaunchNames resolve through the registry.
void InstallRegistryLaunchNames();

} // namespace platform
