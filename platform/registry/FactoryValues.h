// The values a new device starts with: the whole table when the registry file is
// missing or was set aside, and its volatile part ("System\State") at every boot.
#pragma once

#include "registry/RegistryKey.h"

namespace platform {

void ApplyFactoryValues(RegistryRoots& roots, bool volatileOnly);

} // namespace platform
