// XmlReader::LoadFile, apart from the rest of the reader so that programs and tests that
// parse memory only do not pull in the file API.
#include "common/FileStream.h"
#include "common/TextCodec.h"
#include "common/TraceSink.h"
#include "common/XmlReader.h"

namespace common {

bool XmlReader::LoadFile(LPCWSTR path) {
    FileStream file(path, true);
    if (!file.Handle()) {
        Clear();
        return false;
    }
    bool loaded = LoadText(file, 2);
    std::u16string_view name = path ? std::u16string_view(path) : std::u16string_view();
    TraceLine("Load \"%s\"\n", WideToUtf8(name).c_str());
    return loaded;
}

} // namespace common
