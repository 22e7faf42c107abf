#include "corvane/CacheDirectory.h"

#include "corvane/CallLogCache.h"
#include "corvane/ContactCache.h"

namespace corvane {

size_t CacheDirectory::ContactCount() const { return m_contacts.Size(); }

common::ContactRecord* CacheDirectory::ContactAt(size_t index) const { return m_contacts.At(index); }

size_t CacheDirectory::CategoryCount() const { return m_contacts.Categories().Size(); }

const common::CategoryEntry& CacheDirectory::CategoryAt(size_t index) const {
    return m_contacts.Categories().At(index);
}

size_t CacheDirectory::CompanyCount() const { return m_contacts.Companies().Size(); }

const std::u16string& CacheDirectory::CompanyAt(size_t index) const {
    return m_contacts.Companies().At(index);
}

size_t CacheDirectory::CallCount() const { return m_callLog.Size(); }

common::CallLogEntry* CacheDirectory::CallAt(size_t index) const { return m_callLog.At(index); }

IContact* CacheDirectory::FetchItem(common::ContactRecord& record) { return m_contacts.FetchItem(record); }

void CacheDirectory::ReleaseItem(common::ContactRecord& record) { m_contacts.ReleaseItem(record); }

} // namespace corvane
