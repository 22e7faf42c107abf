// Arbitrary bytes as a skin package, opened from memory: the open must fail cleanly or give
// entries whose data lies inside the bytes, and every entry found must read back its data.
#include "common/MemoryStream.h"
#include "common/SkinPackage.h"
#include "common/SkinPackageFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > size_t(INT32_MAX))
        return 0;
    std::vector<uint8_t> copy(data, data + size);
    common::StreamPtr stream(
        new (std::nothrow) common::MemoryStream(copy.data(), LONG(copy.size())));
    if (!stream)
        return 0;
    common::SkinPackage package;
    if (!package.Open(std::move(stream), u"\\Skins\\Fuzz.rpk"))
        return 0;
    for (int i = 0; i < package.EntryCount(); ++i) {
        const common::SkinPackageEntry& entry = package.Entry(i);
        if (uint64_t(entry.dataOffset) + entry.dataSize > size)
            std::abort();
        int found = package.Find(entry.name);
        if (found < 0 || package.Entry(found).nameHash != entry.nameHash)
            std::abort();
        common::Stream* entryStream = nullptr;
        int index = -1;
        // Entry names never reach a loose file here: the device file API is not booted.
        if (!package.OpenEntry(entry.name.c_str(), (i & 1) != 0, &entryStream, &index))
            continue;
        // Two entries of the same name: the search answers with the first of them.
        const common::SkinPackageEntry& answer = package.Entry(found);
        if (index != found || entryStream->Size() != LONG(answer.dataSize) ||
            (answer.dataSize > 0 && std::memcmp(entryStream->Handle(),
                                                copy.data() + answer.dataOffset,
                                                answer.dataSize) != 0))
            std::abort();
        package.CloseEntry(entryStream);
    }
    package.Close();
    return 0;
}
