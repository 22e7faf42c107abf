// Imports a vCard file from the device into the contact store: every card that maps to a
// contact is stored in its own transaction; a broken card is skipped with its reason and
// the others still come in.
#pragma once

#include "ce/types.h"

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct VCardImportResult {
    struct Skipped {
        size_t card; // 1-based
        std::string reason;
    };
    size_t imported = 0;
    std::vector<Skipped> skipped;
    std::vector<DWORD> oids; // of the imported contacts, in file order
};

class VCardImporter {
public:
    static constexpr size_t kMaxFileBytes = 32u << 20;

    // Imports `text`; changes come from `origin` (see ContactStore::Save).
    static VCardImportResult ImportText(std::string_view text, DWORD origin);
    // Reads the device file first; false with a Win32 error when it cannot be read.
    static bool ImportFile(std::u16string_view devicePath, DWORD origin, VCardImportResult& result,
                           DWORD& error);
};

} // namespace platform
