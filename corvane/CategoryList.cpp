#include "corvane/CategoryList.h"

#include "corvane/NameOrder.h"

#include <algorithm>

namespace corvane {

namespace {

// Colour i goes to entry i modulo 19.
constexpr DWORD kColours[] = {0x4F81BD, 0x88E1FF, 0xF79646, 0x4BACC6, 0x8064A2, 0x9BBB59, 0xC0504D,
                              0x4F81BD, 0x1F497D, 0x938953, 0xE36C09, 0x31859B, 0x5F497A, 0x76923C,
                              0x953734, 0x366092, 0x17365D, 0x494429, 0x262626};

} // namespace

void CategoryList::Reset(std::u16string_view allCategories, std::u16string_view favorites) {
    m_entries.clear();
    for (std::u16string_view name : {allCategories, favorites}) {
        auto entry = std::make_unique<common::CategoryEntry>();
        entry->name = name;
        m_entries.push_back(std::move(entry));
    }
}

const common::CategoryEntry* CategoryList::Find(std::u16string_view name) const {
    for (const auto& entry : m_entries)
        if (entry->name == name)
            return entry.get();
    return nullptr;
}

const common::CategoryEntry* CategoryList::FindOrAdd(std::u16string_view name) {
    if (const common::CategoryEntry* found = Find(name))
        return found;
    auto entry = std::make_unique<common::CategoryEntry>();
    entry->name = name;
    m_entries.push_back(std::move(entry));
    return m_entries.back().get();
}

void CategoryList::SortAndColour() {
    if (m_entries.size() > kFixedEntries)
        std::stable_sort(m_entries.begin() + kFixedEntries, m_entries.end(),
                         [](const auto& a, const auto& b) { return NameBefore(a->name, b->name); });
    for (size_t i = 0; i < m_entries.size(); ++i)
        m_entries[i]->colour = kColours[i % std::size(kColours)];
}

} // namespace corvane
