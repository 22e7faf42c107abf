// The items of the contacts folder, by 1-based index in the order they were created. The
// list of identifiers is read again whenever the store changed since it was last read. A
// caller walking the items one index after the other gets them from a read ahead of the
// following contacts, which is dropped as soon as the store changes.
#pragma once

#include "imaging/ComObject.h"
#include "pim/ContactRecord.h"
#include "pim/PoomDispatch.h"

#include <mutex>
#include <optional>
#include <vector>

namespace platform {

class PoomApplication;

class PoomItemCollection final : public PoomDispatch<IPOutlookItemCollection> {
public:
    // Null when out of memory. The collection holds a reference on `application`.
    static IPOutlookItemCollection* Create(PoomApplication* application);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    HRESULT get_Count(int* count) override;
    HRESULT Item(int index, IDispatch** item) override;
    HRESULT Add(IDispatch** item) override;
    HRESULT Remove(int index) override;
    HRESULT get_Application(IPOutlookApp** application) override;

private:
    explicit PoomItemCollection(PoomApplication* application);
    ~PoomItemCollection();

    // The OID at 1-based `index`, 0 when out of range.
    CEOID OidAt(int index);
    void RefreshLocked();
    // The stored contact at 1-based `index`; nothing when out of range or deleted.
    std::optional<ContactRecord> RecordAt(int index);
    std::optional<ContactRecord> TakeReadAheadLocked(CEOID oid, bool walking);

    ComRefCount m_refs;
    PoomApplication* m_application; // referenced
    std::mutex m_mutex;
    std::vector<CEOID> m_oids;
    uint64_t m_generation = 0;
    int m_lastIndex = 0;                 // the index Item read last
    std::vector<ContactRecord> m_ahead;  // contacts read ahead, oldest first
    size_t m_aheadNext = 0;              // the first of them not handed out yet
    uint64_t m_aheadGeneration = 0;      // the store generation they belong to
};

} // namespace platform
