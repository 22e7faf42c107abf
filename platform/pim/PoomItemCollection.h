// The items of the contacts folder, by 1-based index in the order they were created. The
// list of identifiers is read again whenever the store changed since it was last read.
#pragma once

#include "imaging/ComObject.h"
#include "pim/PoomDispatch.h"

#include <mutex>
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

    ComRefCount m_refs;
    PoomApplication* m_application; // referenced
    std::mutex m_mutex;
    std::vector<CEOID> m_oids;
    uint64_t m_generation = 0;
};

} // namespace platform
