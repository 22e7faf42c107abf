// An open skin package: the entry table of a ".rpk" file, entries found by name hash, and
// their data handed out as memory streams. A file of the same name beside the package (or
// an absolute device path) replaces a packaged entry. The file stays open until Close.
#pragma once

#include "common/SkinPackageEntry.h"
#include "common/Stream.h"

#include <string>
#include <string_view>
#include <vector>

namespace common {

class SkinPackage {
public:
    SkinPackage() = default;
    ~SkinPackage() { Close(); }
    SkinPackage(const SkinPackage&) = delete;
    SkinPackage& operator=(const SkinPackage&) = delete;

    // Opens the package at a device path. True when the package is open, also when it was
    // open already; false when it failed now or earlier (until Close).
    bool Open(LPCWSTR path);
    // The same over a stream that is already open (a package in memory); the package keeps
    // the stream. `path` names the package for the trace and its folder for loose files.
    bool Open(StreamPtr file, LPCWSTR path);

    // The index of the entry named `name` (ASCII case ignored), or -1.
    int Find(std::u16string_view name) const;

    // A memory stream at the start of the named data, and its entry index (-1 when the
    // name is not an entry). A loose file comes first; otherwise the packaged entry, cached
    // in the entry when `keep` is set. False when neither exists or cannot be read.
    bool OpenEntry(LPCWSTR name, bool keep, Stream** stream, int* index);
    // Releases a stream from OpenEntry unless an entry keeps it.
    void CloseEntry(Stream* stream);

    // Closes the file and frees every entry with its cached data.
    void Close();

    bool IsOpen() const { return m_state == State::Open; }
    bool IsFailed() const { return m_state == State::Failed; }
    int EntryCount() const { return int(m_entries.size()); }
    const SkinPackageEntry& Entry(int index) const { return m_entries[size_t(index)]; }
    const std::u16string& Path() const { return m_path; }

private:
    enum class State { None, Open, Failed };

    bool ReadEntries();
    bool Fail(const char* reason);
    // The whole content of a loose file, or null when there is no such file.
    StreamPtr OpenLooseFile(LPCWSTR name, bool* failed) const;
    StreamPtr ReadEntryData(const SkinPackageEntry& entry);

    State m_state = State::None;
    StreamPtr m_file;
    std::u16string m_path;
    size_t m_folderLength = 0; // the folder part of m_path, up to its last '\'
    std::vector<SkinPackageEntry> m_entries;
};

} // namespace common
