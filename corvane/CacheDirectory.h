// The contact and call log caches seen as the lists the UI library reads.
#pragma once

#include "common/ContactDirectory.h"

namespace corvane {

class ContactCache;
class CallLogCache;

class CacheDirectory final : public common::ContactDirectory {
public:
    CacheDirectory(ContactCache& contacts, CallLogCache& callLog)
        : m_contacts(contacts), m_callLog(callLog) {}

    size_t ContactCount() const override;
    common::ContactRecord* ContactAt(size_t index) const override;
    size_t CategoryCount() const override;
    const common::CategoryEntry& CategoryAt(size_t index) const override;
    size_t CompanyCount() const override;
    const std::u16string& CompanyAt(size_t index) const override;
    size_t CallCount() const override;
    common::CallLogEntry* CallAt(size_t index) const override;
    IContact* FetchItem(common::ContactRecord& record) override;
    void ReleaseItem(common::ContactRecord& record) override;

private:
    ContactCache& m_contacts;
    CallLogCache& m_callLog;
};

} // namespace corvane
