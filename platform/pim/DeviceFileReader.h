// Reads a whole device file (through the device's file API, so its paths and share rules
// hold) with a size limit: the console's picture and vCard arguments.
#pragma once

#include "ce/types.h"

#include <string>
#include <string_view>

namespace platform {

// False with a Win32 error: the open's, ERROR_NOT_ENOUGH_MEMORY for a file above
// `maxBytes`, ERROR_READ_FAULT for a short read.
bool ReadDeviceFile(std::u16string_view path, size_t maxBytes, std::string& content, DWORD& error);

} // namespace platform
