#include "pim/PoomApplication.h"

#include "ce/kernel.h"
#include "com/ComClassTable.h"
#include "pim/ContactStore.h"
#include "pim/PimNotifier.h"
#include "pim/PoomContact.h"
#include "pim/PoomFolder.h"

#include <cstring>
#include <new>

namespace platform {

namespace {

// What the application object answers before Logon.
constexpr HRESULT kNotLoggedOn = E_FAIL;

} // namespace

BSTR AllocString(std::u16string_view text) {
    auto* copy = static_cast<BSTR>(CoTaskMemAlloc((text.size() + 1) * sizeof(WCHAR)));
    if (!copy)
        return nullptr;
    if (!text.empty())
        memcpy(copy, text.data(), text.size() * sizeof(WCHAR));
    copy[text.size()] = 0;
    return copy;
}

void PoomApplication::RegisterClass() {
    ComClassTable::Instance().Register(CLSID_Application, [](REFIID iid, void** object) -> HRESULT {
        auto* application = new (std::nothrow) PoomApplication();
        if (!application)
            return E_OUTOFMEMORY;
        HRESULT hr = application->QueryInterface(iid, object);
        application->Release();
        return hr;
    });
}

PoomApplication::~PoomApplication() {
    if (m_session)
        PimNotifier::Instance().RemoveSession(m_session);
}

HRESULT PoomApplication::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_IDispatch && iid != IID_IPOutlookApp) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IPOutlookApp*>(this);
    AddRef();
    return S_OK;
}

ULONG PoomApplication::Release() {
    ULONG remaining;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT PoomApplication::Logon(HWND window) {
    DWORD session = PimNotifier::Instance().AddSession(window, GetCurrentProcessId());
    DWORD previous;
    {
        std::lock_guard lock(m_mutex);
        previous = m_session;
        m_session = session;
    }
    if (previous)
        PimNotifier::Instance().RemoveSession(previous);
    return S_OK;
}

HRESULT PoomApplication::Logoff() {
    DWORD previous;
    {
        std::lock_guard lock(m_mutex);
        previous = m_session;
        m_session = 0;
    }
    if (!previous)
        return kNotLoggedOn;
    PimNotifier::Instance().RemoveSession(previous);
    return S_OK;
}

DWORD PoomApplication::Session() const {
    std::lock_guard lock(m_mutex);
    return m_session;
}

HRESULT PoomApplication::get_Version(BSTR* version) {
    if (!version)
        return E_POINTER;
    *version = AllocString(u"6.0");
    return *version ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomApplication::GetDefaultFolder(int folder, IFolder** result) {
    if (!result)
        return E_POINTER;
    *result = nullptr;
    if (!LoggedOn())
        return kNotLoggedOn;
    if (folder != olFolderContacts && folder != olFolderInfrared)
        return E_INVALIDARG;
    *result = PoomFolder::Create(this, folder);
    return *result ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomApplication::CreateItem(int itemType, IDispatch** item) {
    if (!item)
        return E_POINTER;
    *item = nullptr;
    if (!LoggedOn())
        return kNotLoggedOn;
    if (itemType != olContactItem)
        return E_INVALIDARG; // the store keeps contacts only
    *item = PoomContact::Create(this, ContactRecord{});
    return *item ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomApplication::GetItemFromOid(CEOID oid, IDispatch** item) {
    if (!item)
        return E_POINTER;
    *item = nullptr;
    if (!LoggedOn())
        return kNotLoggedOn;
    auto record = ContactStore::Instance().Load(oid);
    if (!record)
        return E_INVALIDARG;
    *item = PoomContact::Create(this, std::move(*record));
    return *item ? S_OK : E_OUTOFMEMORY;
}

} // namespace platform
