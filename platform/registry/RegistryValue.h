// One typed registry value: its type and its bytes exactly as they were set.
#pragma once

#include "ce/types.h"

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

struct RegistryValue {
    DWORD type = 0; // REG_NONE
    std::vector<uint8_t> data;

    bool operator==(const RegistryValue&) const = default;

    // The DWORD a REG_DWORD value holds; 0 for any other type or size.
    DWORD AsDword() const;
    // The UTF-16 text of a string value up to its first terminator (odd trailing bytes
    // are ignored).
    std::u16string AsText() const;

    static RegistryValue Dword(DWORD value);
    // REG_SZ (or `type`) with the terminator stored, as RegSetValueExW callers do.
    static RegistryValue Text(std::u16string_view text, DWORD type = 1);
};

} // namespace platform
