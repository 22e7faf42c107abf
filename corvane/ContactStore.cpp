#include "corvane/ContactStore.h"

#include "ce/kernel.h"

namespace corvane {

namespace {

template <typename Interface> void ReleaseInto(Interface*& object) {
    if (object)
        object->Release();
    object = nullptr;
}

IContact* AsContact(IDispatch* dispatch) {
    IContact* contact = QueryAs<IContact>(dispatch, IID_IContact);
    if (dispatch)
        dispatch->Release();
    return contact;
}

} // namespace

bool ContactStore::LogOn(HWND window) {
    if (m_loggedOn)
        return true;
    if (!m_application) {
        void* application = nullptr;
        if (FAILED(CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER,
                                    IID_IPOutlookApp, &application)))
            return false;
        m_application = static_cast<IPOutlookApp*>(application);
    }
    m_loggedOn = SUCCEEDED(m_application->Logon(window));
    return m_loggedOn;
}

bool ContactStore::OpenFolder() {
    if (m_items)
        return true;
    if (!m_loggedOn || FAILED(m_application->GetDefaultFolder(olFolderContacts, &m_folder)))
        return false;
    if (FAILED(m_folder->get_Items(&m_items))) {
        m_items = nullptr;
        ReleaseInto(m_folder);
        return false;
    }
    EnableNotifications();
    return true;
}

// The folder raises change notifications for its items only when asked to, through its
// own property.
void ContactStore::EnableNotifications() {
    IItem* folderItem = QueryAs<IItem>(m_folder, IID_IItem);
    if (!folderItem)
        return;
    CEPROPVAL value{};
    value.propid = PIMPR_FOLDERNOTIFICATIONS;
    value.val.ulVal = PIMFOLDERNOTIFICATION_ALL;
    if (FAILED(folderItem->SetProps(0, 1, &value)))
        OutputDebugStringW(u"Corvane: the contacts folder refused its notifications\n");
    folderItem->Release();
}

void ContactStore::LogOff() {
    ReleaseInto(m_items);
    ReleaseInto(m_folder);
    if (m_application && m_loggedOn)
        m_application->Logoff();
    m_loggedOn = false;
    ReleaseInto(m_application);
    if (m_buffer)
        HeapFree(GetProcessHeap(), 0, m_buffer);
    m_buffer = nullptr;
    m_bufferSize = 0;
}

int ContactStore::Count() const {
    int count = 0;
    if (!m_items || FAILED(m_items->get_Count(&count)))
        return 0;
    return count < 0 ? 0 : count;
}

IContact* ContactStore::ItemAt(int index) const {
    IDispatch* item = nullptr;
    if (!m_items || FAILED(m_items->Item(index, &item)))
        return nullptr;
    return AsContact(item);
}

IContact* ContactStore::ItemFromOid(CEOID oid) const {
    IDispatch* item = nullptr;
    if (!m_application || !m_loggedOn || FAILED(m_application->GetItemFromOid(oid, &item)))
        return nullptr;
    return AsContact(item);
}

CEOID ContactStore::OidOf(IContact* item) const {
    LONG oid = 0;
    if (!item || FAILED(item->get_Oid(&oid)))
        return 0;
    return CEOID(oid);
}

HRESULT ContactStore::Read(IContact* contact, const CEPROPID* tags, WORD count,
                           const CEPROPVAL*& values) {
    IItem* item = QueryAs<IItem>(contact, IID_IItem);
    if (!item)
        return E_NOINTERFACE;
    HANDLE heap = GetProcessHeap();
    if (!m_buffer) {
        m_buffer = static_cast<CEPROPVAL*>(HeapAlloc(heap, 0, kReadBufferSize));
        m_bufferSize = m_buffer ? kReadBufferSize : 0;
    }
    ULONG size = m_bufferSize;
    HRESULT result =
        m_buffer ? item->GetProps(tags, 0, count, &m_buffer, &size, heap) : E_OUTOFMEMORY;
    // A contact larger than the buffer is read again with the buffer grown, never shown
    // empty; the grown buffer stays for the next contacts.
    if (result == HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) || !m_buffer) {
        size = m_bufferSize;
        result = item->GetProps(tags, CEDB_ALLOWREALLOC, count, &m_buffer, &size, heap);
        if (m_buffer)
            m_bufferSize = size > m_bufferSize ? size : m_bufferSize;
    }
    item->Release();
    values = m_buffer;
    return result;
}

} // namespace corvane
