// The registry's text file: a REGEDIT4-style UTF-8 file, one section per key.
//
//   REGEDIT4
//
//   [HKEY_LOCAL_MACHINE\Software\Tavik\Dialora]
//   @="default value"
//   "LangID"=dword:00000409
//   "Path"="\\Program Files\\Tavik \"Dialora\""
//   "Blob"=hex:00,ff,10
//   "List"=hex(7):41,00,00,00,00,00
//
// Strings escape "\" and '"' with a backslash; control characters and unpaired
// surrogates are written as \uXXXX; everything else is plain UTF-8. A REG_SZ value that
// is not exactly one terminated text (odd size, embedded or missing terminator) and a
// REG_DWORD that is not 4 bytes are written as hex(1): / hex(4): bytes, so every value
// comes back byte for byte. Long hex lists continue on the next line after ",\".
// Lines starting with ";" are comments. Anything else is an error: the reader never
// guesses, so a damaged file is set aside instead of half loaded.
#pragma once

#include "registry/RegistryKey.h"

#include <string>
#include <string_view>

namespace platform {

class RegistryFile {
public:
    struct Error {
        size_t line = 0; // 1-based; 0 when not tied to a line
        std::string reason;
    };

    // Largest registry file the device reads.
    static constexpr size_t kMaxFileSize = 64 * 1024 * 1024;

    // `skipVolatile` leaves out the keys under "System\State" (the saved file).
    static std::string Serialize(const RegistryRoots& roots, bool skipVolatile);
    // Parses into `roots` (which should be empty); false with the first error.
    static bool Parse(std::string_view text, RegistryRoots& roots, Error& error);
};

} // namespace platform
