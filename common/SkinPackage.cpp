#include "common/SkinPackage.h"

#include "common/NameHash.h"
#include "common/OwnedMemoryStream.h"
#include "common/SkinPackageFormat.h"
#include "common/TextCodec.h"
#include "common/TraceSink.h"

#include <algorithm>
#include <new>
#include <utility>

namespace common {

namespace {

char16_t FoldCase(char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? char16_t(unit - u'a' + u'A') : unit;
}

bool EqualIgnoringCase(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return FoldCase(x) == FoldCase(y); });
}

// "\..." and "X:..." name a file directly.
bool IsAbsoluteName(std::u16string_view name) {
    return (!name.empty() && name[0] == u'\\') || (name.size() >= 2 && name[1] == u':');
}

// The whole of `stream` in a block of its size plus a terminating 0 byte.
StreamPtr ReadAll(Stream& stream, LONG size) {
    if (size < 0 || size == INT32_MAX)
        return nullptr;
    std::unique_ptr<BYTE[]> block(new (std::nothrow) BYTE[size_t(size) + 1]);
    if (!block || stream.Read(block.get(), size) != size)
        return nullptr;
    block[size_t(size)] = 0;
    return StreamPtr(new (std::nothrow) OwnedMemoryStream(std::move(block), size));
}

} // namespace

bool SkinPackage::Open(LPCWSTR path) {
    if (m_state != State::None)
        return m_state == State::Open;
    Stream* file = nullptr;
    if (!path || OpenStream(path, true, &file) != 0) {
        m_path = path ? path : u"";
        return Fail("cannot open the file");
    }
    return Open(StreamPtr(file), path);
}

bool SkinPackage::Open(StreamPtr file, LPCWSTR path) {
    if (m_state != State::None)
        return m_state == State::Open;
    m_path = path ? path : u"";
    size_t slash = m_path.rfind(u'\\');
    m_folderLength = slash == std::u16string::npos ? 0 : slash + 1;
    m_file = std::move(file);
    if (!m_file)
        return Fail("cannot open the file");
    if (!ReadEntries())
        return false;
    m_state = State::Open;
    TraceLine("Open \"%s\"\n", WideToUtf8(m_path).c_str());
    return true;
}

bool SkinPackage::Fail(const char* reason) {
    TraceLine("Open \"%s\" FAILED: %s\n", WideToUtf8(m_path).c_str(), reason);
    m_entries.clear();
    m_file.reset();
    m_state = State::Failed;
    return false;
}

bool SkinPackage::ReadEntries() {
    SkinPackageFault fault = SkinPackageFault::None;
    SkinPackageHeader header;
    bool sound = WalkSkinPackage(
        *m_file,
        [this, &header](const SkinEntryInfo& info) {
            if (m_entries.empty())
                m_entries.reserve(header.count);
            SkinPackageEntry entry;
            entry.dataOffset = info.header.dataOffset;
            entry.dataSize = info.header.dataSize;
            entry.nameHash = info.header.nameHash;
            entry.nameBytes = info.header.nameBytes;
            entry.name = info.name;
            m_entries.push_back(std::move(entry));
            return true;
        },
        [&fault](int, SkinPackageFault found) {
            fault = found;
            return false;
        },
        &header);
    if (!sound)
        return Fail(SkinPackageFaultText(fault));
    return true;
}

int SkinPackage::Find(std::u16string_view name) const {
    uint32_t hash = NameHash(name);
    auto first = std::lower_bound(
        m_entries.begin(), m_entries.end(), hash,
        [](const SkinPackageEntry& entry, uint32_t value) { return entry.nameHash < value; });
    auto last = first;
    while (last != m_entries.end() && last->nameHash == hash)
        ++last;
    if (last - first == 1)
        return int(first - m_entries.begin()); // a hash of its own decides alone
    for (auto it = first; it != last; ++it)
        if (EqualIgnoringCase(it->name, name))
            return int(it - m_entries.begin());
    return -1;
}

StreamPtr SkinPackage::OpenLooseFile(LPCWSTR name, bool* failed) const {
    *failed = false;
    std::u16string path = IsAbsoluteName(name) ? std::u16string(name)
                                               : m_path.substr(0, m_folderLength) + name;
    Stream* file = nullptr;
    if (OpenStream(path.c_str(), true, &file) != 0)
        return nullptr;
    StreamPtr owned(file);
    StreamPtr content = ReadAll(*owned, owned->Size());
    *failed = !content;
    return content;
}

StreamPtr SkinPackage::ReadEntryData(const SkinPackageEntry& entry) {
    // Offset and size were checked against the file when the package was opened.
    if (m_file->Seek(LONG(entry.dataOffset), kSeekBegin) != LONG(entry.dataOffset))
        return nullptr;
    return ReadAll(*m_file, LONG(entry.dataSize));
}

bool SkinPackage::OpenEntry(LPCWSTR name, bool keep, Stream** stream, int* index) {
    *stream = nullptr;
    *index = -1;
    if (m_state != State::Open || !name)
        return false;
    int found = Find(name);
    *index = found;
    bool failed = false;
    if (StreamPtr loose = OpenLooseFile(name, &failed)) {
        *stream = loose.release();
        return true;
    }
    if (failed || found < 0)
        return false;
    SkinPackageEntry& entry = m_entries[size_t(found)];
    if (entry.cached) {
        entry.cached->Seek(0, kSeekBegin);
        *stream = entry.cached.get();
        return true;
    }
    StreamPtr data = ReadEntryData(entry);
    if (!data)
        return false;
    if (keep) {
        entry.cached = std::move(data);
        *stream = entry.cached.get();
    } else {
        *stream = data.release();
    }
    return true;
}

void SkinPackage::CloseEntry(Stream* stream) {
    if (!stream)
        return;
    for (const SkinPackageEntry& entry : m_entries)
        if (entry.cached.get() == stream)
            return;
    stream->Release();
}

void SkinPackage::Close() {
    m_entries.clear();
    m_file.reset();
    m_path.clear();
    m_folderLength = 0;
    m_state = State::None;
}

} // namespace common
