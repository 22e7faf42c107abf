#include "pim/PoomItemCollection.h"

#include "ce/kernel.h"
#include "kernel/Trace.h"
#include "pim/ContactStore.h"
#include "pim/PoomApplication.h"
#include "pim/PoomContact.h"

#include <new>

namespace platform {

namespace {

// How many contacts a walk through the items reads at once.
constexpr size_t kReadAheadCount = 64;

} // namespace

IPOutlookItemCollection* PoomItemCollection::Create(PoomApplication* application) {
    return new (std::nothrow) PoomItemCollection(application);
}

PoomItemCollection::PoomItemCollection(PoomApplication* application) : m_application(application) {
    m_application->AddRef();
}

PoomItemCollection::~PoomItemCollection() { m_application->Release(); }

HRESULT PoomItemCollection::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IPOutlookItemCollection) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPOutlookItemCollection*>(this);
    AddRef();
    return S_OK;
}

ULONG PoomItemCollection::Release() {
    ULONG remaining;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

void PoomItemCollection::RefreshLocked() {
    ContactStore& store = ContactStore::Instance();
    uint64_t generation = store.Generation();
    if (generation == m_generation)
        return;
    m_oids = store.Oids();
    m_generation = generation;
}

CEOID PoomItemCollection::OidAt(int index) {
    std::lock_guard lock(m_mutex);
    RefreshLocked();
    if (index < 1 || size_t(index) > m_oids.size())
        return 0;
    return m_oids[size_t(index) - 1];
}

std::optional<ContactRecord> PoomItemCollection::TakeReadAheadLocked(CEOID oid, bool walking) {
    ContactStore& store = ContactStore::Instance();
    if (m_aheadGeneration != store.Generation())
        m_ahead.clear();
    if (m_ahead.empty())
        m_aheadNext = 0;
    while (m_aheadNext < m_ahead.size() && m_ahead[m_aheadNext].oid < oid)
        ++m_aheadNext;
    if (m_aheadNext == m_ahead.size() && walking) {
        m_ahead = store.LoadFrom(oid, kReadAheadCount, m_aheadGeneration);
        m_aheadNext = 0;
    }
    if (m_aheadNext == m_ahead.size() || m_ahead[m_aheadNext].oid != oid ||
        m_aheadGeneration != store.Generation())
        return std::nullopt;
    return std::move(m_ahead[m_aheadNext++]);
}

std::optional<ContactRecord> PoomItemCollection::RecordAt(int index) {
    CEOID oid;
    {
        std::lock_guard lock(m_mutex);
        RefreshLocked();
        if (index < 1 || size_t(index) > m_oids.size())
            return std::nullopt;
        oid = m_oids[size_t(index) - 1];
        bool walking = index == m_lastIndex + 1;
        m_lastIndex = index;
        if (auto record = TakeReadAheadLocked(oid, walking))
            return record;
    }
    return ContactStore::Instance().Load(oid);
}

HRESULT PoomItemCollection::get_Count(int* count) {
    if (!count)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    RefreshLocked();
    *count = int(m_oids.size());
    return S_OK;
}

HRESULT PoomItemCollection::Item(int index, IDispatch** item) {
    if (!item)
        return E_POINTER;
    *item = nullptr;
    auto record = RecordAt(index);
    if (!record)
        return E_INVALIDARG; // out of range, or deleted by someone else a moment ago
    *item = PoomContact::Create(m_application, std::move(*record));
    return *item ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomItemCollection::Add(IDispatch** item) {
    if (!item)
        return E_POINTER;
    *item = PoomContact::Create(m_application, ContactRecord{});
    return *item ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomItemCollection::Remove(int index) {
    CEOID oid = OidAt(index);
    if (!oid)
        return E_INVALIDARG;
    std::string error;
    if (!ContactStore::Instance().Delete(oid, GetCurrentProcessId(), error)) {
        Trace("pim", "removing contact %lu failed: %s", (unsigned long)oid, error.c_str());
        return E_FAIL;
    }
    return S_OK;
}

HRESULT PoomItemCollection::get_Application(IPOutlookApp** application) {
    if (!application)
        return E_POINTER;
    m_application->AddRef();
    *application = m_application;
    return S_OK;
}

} // namespace platform
