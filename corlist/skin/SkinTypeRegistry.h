// The element names a skin description knows, rebuilt at every load: a list kept sorted by
// name hash, each entry with its kind and, once a "defaults" section gave one, the template
// every later element of that name starts as a copy of.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corlist {

class SkinElement;

struct SkinTypeEntry {
    uint32_t kind = 0;
    std::string name; // lower-cased
    uint32_t hash = 0;
    SkinElement* templateElement = nullptr; // an element of the tree; not owned
};

class SkinTypeRegistry {
public:
    // Forgets every entry.
    void Reset() { m_entries.clear(); }
    // Adds an entry with the lower-cased name, after every entry whose hash is not greater.
    // Entries never move in memory, so a pointer to one stays valid until Reset.
    SkinTypeEntry* RegisterType(uint32_t kind, std::string_view name, SkinElement* templateElement = nullptr);
    // The first entry of the run with the name's hash whose name equals it exactly
    // (case-sensitive), or null.
    SkinTypeEntry* LookupType(const char* name) const;
    size_t Count() const { return m_entries.size(); }

private:
    std::vector<std::unique_ptr<SkinTypeEntry>> m_entries; // sorted by hash
};

} // namespace corlist
