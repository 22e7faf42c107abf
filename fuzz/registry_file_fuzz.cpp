// Feeds arbitrary bytes to the registry file reader. Whatever it accepts must write
// back to text that reads as the same tree, and that text must be stable.
#include "registry/RegistryFile.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using platform::RegistryFile;
    using platform::RegistryRoots;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    RegistryRoots roots;
    RegistryFile::Error error;
    if (!RegistryFile::Parse(text, roots, error))
        return 0;
    std::string written = RegistryFile::Serialize(roots, false);
    RegistryRoots again;
    if (!RegistryFile::Parse(written, again, error) || !(again == roots))
        std::abort();
    if (RegistryFile::Serialize(again, false) != written)
        std::abort();
    return 0;
}
