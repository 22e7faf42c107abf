// Language files are exchangeable: whatever bytes a file holds, parsing must not crash,
// and what parses must survive a round trip.
#include "resource/MuiFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto strings = platform::MuiFile::Parse(bytes);
    if (strings && platform::MuiFile::Parse(platform::MuiFile::Serialize(*strings)) != strings)
        std::abort();
    return 0;
}
