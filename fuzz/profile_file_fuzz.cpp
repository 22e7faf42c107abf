// Arbitrary bytes as a profile file: reading must never crash, and whatever was read must
// format and read again without trouble.
#include "common/MemoryStream.h"
#include "common/ProfileReader.h"
#include "common/ProfileWriter.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> copy(data, data + size);
    common::MemoryStream stream(copy.data(), static_cast<LONG>(copy.size()));
    common::ProfileSet profiles;
    common::ProfileReader reader;
    if (!reader.Read(stream, profiles))
        return 0;
    std::string text = common::FormatProfileFile(*profiles.base, profiles.scheduled);
    common::MemoryStream again(text.data(), static_cast<LONG>(text.size()));
    common::ProfileSet reread;
    common::ProfileReader().Read(again, reread);
    return 0;
}
