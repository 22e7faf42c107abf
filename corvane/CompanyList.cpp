#include "corvane/CompanyList.h"

#include "corvane/NameOrder.h"

#include <algorithm>

namespace corvane {

void CompanyList::Reset(std::u16string_view allCompanies) {
    m_names.clear();
    m_names.push_back(std::make_unique<std::u16string>(allCompanies));
}

const std::u16string* CompanyList::FindOrAdd(std::u16string_view name) {
    for (size_t i = m_names.size(); i > 1; --i)
        if (*m_names[i - 1] == name)
            return m_names[i - 1].get();
    m_names.push_back(std::make_unique<std::u16string>(name));
    return m_names.back().get();
}

void CompanyList::Sort() {
    if (m_names.size() > 1)
        std::stable_sort(m_names.begin() + 1, m_names.end(),
                         [](const auto& a, const auto& b) { return NameBefore(*a, *b); });
}

} // namespace corvane
