#include "corlist/skin/SkinTypeRegistry.h"

#include "common/NameHash.h"

#include <algorithm>
#include <cstring>

namespace corlist {

SkinTypeEntry* SkinTypeRegistry::RegisterType(uint32_t kind, std::string_view name, SkinElement* templateElement) {
    auto entry = std::make_unique<SkinTypeEntry>();
    entry->kind = kind;
    entry->name.assign(name);
    for (char& c : entry->name)
        if (c >= 'A' && c <= 'Z')
            c = char(c - 'A' + 'a');
    entry->hash = common::NameHash(entry->name.c_str());
    entry->templateElement = templateElement;
    auto position = std::upper_bound(m_entries.begin(), m_entries.end(), entry->hash,
                                     [](uint32_t hash, const auto& other) { return hash < other->hash; });
    return m_entries.insert(position, std::move(entry))->get();
}

SkinTypeEntry* SkinTypeRegistry::LookupType(const char* name) const {
    if (!name)
        return nullptr;
    uint32_t hash = common::NameHash(name);
    auto position = std::lower_bound(m_entries.begin(), m_entries.end(), hash,
                                     [](const auto& entry, uint32_t wanted) { return entry->hash < wanted; });
    for (; position != m_entries.end() && (*position)->hash == hash; ++position)
        if ((*position)->name == name)
            return position->get();
    return nullptr;
}

} // namespace corlist
