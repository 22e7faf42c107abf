#include "pim/PoomFolder.h"

#include "pim/BeamLog.h"
#include "pim/ContactStore.h"
#include "pim/PimNotifier.h"
#include "pim/PoomApplication.h"
#include "pim/PoomItemCollection.h"
#include "pim/PropertyBuffer.h"

#include <new>
#include <utility>

namespace platform {

IFolder* PoomFolder::Create(PoomApplication* application, int folder) {
    auto* created = new (std::nothrow) PoomFolder(application, folder);
    return created ? static_cast<IFolder*>(created) : nullptr;
}

PoomFolder::PoomFolder(PoomApplication* application, int folder)
    : m_application(application), m_folder(folder) {
    m_application->AddRef();
}

PoomFolder::~PoomFolder() { m_application->Release(); }

HRESULT PoomFolder::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IFolder)
        *object = static_cast<IFolder*>(this);
    else if (iid == IID_IItem)
        *object = static_cast<IItem*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG PoomFolder::Release() {
    ULONG remaining;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT PoomFolder::get_Items(IPOutlookItemCollection** items) {
    if (!items)
        return E_POINTER;
    *items = nullptr;
    if (m_folder != olFolderContacts)
        return E_NOTIMPL; // the infrared folder lists nothing: nothing is ever received
    *items = PoomItemCollection::Create(m_application);
    return *items ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomFolder::get_DefaultItemType(int* type) {
    if (!type)
        return E_POINTER;
    *type = olContactItem;
    return S_OK;
}

HRESULT PoomFolder::get_Application(IPOutlookApp** application) {
    if (!application)
        return E_POINTER;
    m_application->AddRef();
    *application = m_application;
    return S_OK;
}

HRESULT PoomFolder::AddItemToInfraredFolder(int itemType, IDispatch* item) {
    if (m_folder != olFolderInfrared || itemType != olContactItem || !item)
        return E_INVALIDARG;
    IItem* contact = nullptr;
    if (FAILED(item->QueryInterface(IID_IItem, reinterpret_cast<void**>(&contact))))
        return E_INVALIDARG;
    LONG oid = 0;
    HRESULT hr = contact->get_Oid(&oid);
    contact->Release();
    // Only a saved contact can be sent: the receiver gets what the store holds.
    if (FAILED(hr) || oid == 0)
        return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    m_toBeam.push_back(CEOID(oid));
    return S_OK;
}

HRESULT PoomFolder::SendToInfrared() {
    if (m_folder != olFolderInfrared)
        return E_INVALIDARG;
    std::vector<CEOID> oids;
    {
        std::lock_guard lock(m_mutex);
        oids = std::exchange(m_toBeam, {});
    }
    if (oids.empty())
        return E_FAIL;
    for (CEOID oid : oids) {
        auto record = ContactStore::Instance().Load(oid);
        if (!record)
            return E_FAIL; // deleted since it was added
        const std::u16string* name = record->Text(PIMPR_FILEAS);
        BeamLog::Instance().Record(BeamedContact{oid, name ? *name : std::u16string()});
    }
    return S_OK;
}

HRESULT PoomFolder::ReceiveFromInfrared(IPOutlookItemCollection** items) {
    if (items)
        *items = nullptr;
    return E_NOTIMPL; // no infrared peer sends to the simulated phone
}

HRESULT PoomFolder::GetProps(const CEPROPID* propIds, ULONG flags, WORD count,
                             CEPROPVAL** buffer, ULONG* bufferSize, HANDLE heap) {
    ContactRecord folder;
    folder.values[PIMPR_FOLDERNOTIFICATIONS] =
        uint32_t(PimNotifier::Instance().FolderFlags(m_application->Session(), m_folder));
    return PropertyBuffer::Read(folder, propIds, flags, count, buffer, bufferSize, heap);
}

HRESULT PoomFolder::SetProps(ULONG, WORD count, CEPROPVAL* values) {
    if (count && !values)
        return E_INVALIDARG;
    for (WORD i = 0; i < count; ++i)
        if (values[i].propid != PIMPR_FOLDERNOTIFICATIONS)
            return E_INVALIDARG;
    DWORD session = m_application->Session();
    if (!session)
        return E_FAIL;
    for (WORD i = 0; i < count; ++i) {
        DWORD flags = (values[i].wFlags & CEDB_PROPDELETE) ? 0 : values[i].val.ulVal;
        PimNotifier::Instance().SetFolderFlags(session, m_folder, flags);
    }
    return S_OK;
}

// A folder is not an item of the store: it cannot be saved, deleted or categorised.
HRESULT PoomFolder::OpenProperty(CEPROPID, DWORD, IStream** stream) {
    if (stream)
        *stream = nullptr;
    return E_INVALIDARG;
}
HRESULT PoomFolder::Save() { return E_NOTIMPL; }
HRESULT PoomFolder::Delete() { return E_NOTIMPL; }
HRESULT PoomFolder::AddCategory(LPCWSTR) { return E_NOTIMPL; }
HRESULT PoomFolder::RemoveCategory(LPCWSTR) { return E_NOTIMPL; }
HRESULT PoomFolder::get_Oid(LONG* oid) {
    if (!oid)
        return E_POINTER;
    *oid = m_folder;
    return S_OK;
}

} // namespace platform
