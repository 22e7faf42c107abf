// The category list of the contact cache: "All Categories" and "Favorites" first, then
// every category met in any contact, once, sorted, each with its colour. Entries keep
// their addresses for the cache's life (records point at them).
#pragma once

#include "common/ContactRecord.h"

#include <memory>
#include <string_view>
#include <vector>

namespace corvane {

class CategoryList {
public:
    // The entries before the sorted names.
    static constexpr size_t kFixedEntries = 2;

    // Empties the list down to its two fixed entries.
    void Reset(std::u16string_view allCategories, std::u16string_view favorites);
    // The entry whose name equals `name` exactly, or null.
    const common::CategoryEntry* Find(std::u16string_view name) const;
    // The entry named `name`, added (white until the colours are assigned) when missing.
    const common::CategoryEntry* FindOrAdd(std::u16string_view name);
    // Sorts the entries after the fixed ones and gives every entry its colour.
    void SortAndColour();

    size_t Size() const { return m_entries.size(); }
    const common::CategoryEntry& At(size_t index) const { return *m_entries[index]; }

private:
    std::vector<std::unique_ptr<common::CategoryEntry>> m_entries;
};

} // namespace corvane
