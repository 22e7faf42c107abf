// The company list of the contact cache: "All Companies" first, then every company name
// met in any contact, once, sorted. Names keep their addresses for the cache's life
// (records point at them).
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

class CompanyList {
public:
    void Reset(std::u16string_view allCompanies);
    // The entry named `name` (exact comparison, newest first), added when missing.
    const std::u16string* FindOrAdd(std::u16string_view name);
    // Sorts the names after "All Companies".
    void Sort();

    size_t Size() const { return m_names.size(); }
    const std::u16string& At(size_t index) const { return *m_names[index]; }

private:
    std::vector<std::unique_ptr<std::u16string>> m_names;
};

} // namespace corvane
