#include "pim/PoomContact.h"

#include "ce/kernel.h"
#include "kernel/Trace.h"
#include "pim/ContactCategories.h"
#include "pim/ContactStore.h"
#include "pim/PoomApplication.h"
#include "pim/PropertyBuffer.h"
#include "pim/PropertyStream.h"

#include <new>

namespace platform {

namespace {

// A text argument of at most kMaxContactText characters; false for null or longer ones.
bool ReadText(LPCWSTR text, std::u16string& out) {
    if (!text)
        return false;
    size_t length = 0;
    while (text[length])
        if (++length > kMaxContactText)
            return false;
    out.assign(text, length);
    return true;
}

} // namespace

IDispatch* PoomContact::Create(PoomApplication* application, ContactRecord record) {
    auto* contact = new (std::nothrow) PoomContact(application, std::move(record));
    return contact ? static_cast<IContact*>(contact) : nullptr;
}

PoomContact::PoomContact(PoomApplication* application, ContactRecord record)
    : m_application(application), m_record(std::move(record)) {
    m_application->AddRef();
}

PoomContact::~PoomContact() { m_application->Release(); }

HRESULT PoomContact::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IContact)
        *object = static_cast<IContact*>(this);
    else if (iid == IID_IItem)
        *object = static_cast<IItem*>(this);
    else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG PoomContact::Release() {
    ULONG remaining;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT PoomContact::GetProps(const CEPROPID* propIds, ULONG flags, WORD count,
                              CEPROPVAL** buffer, ULONG* bufferSize, HANDLE heap) {
    std::lock_guard lock(m_mutex);
    return PropertyBuffer::Read(m_record, propIds, flags, count, buffer, bufferSize, heap);
}

HRESULT PoomContact::SetProps(ULONG, WORD count, CEPROPVAL* values) {
    std::lock_guard lock(m_mutex);
    if (m_deleted)
        return E_FAIL;
    return PropertyBuffer::Apply(m_record, count, values);
}

HRESULT PoomContact::OpenProperty(CEPROPID propId, DWORD access, IStream** stream) {
    if (!stream)
        return E_POINTER;
    *stream = nullptr;
    if (propId != PIMPR_PICTURE)
        return E_INVALIDARG;
    if (!(access & (GENERIC_READ | GENERIC_WRITE)))
        return E_INVALIDARG;
    std::vector<uint8_t> bytes;
    {
        std::lock_guard lock(m_mutex);
        auto found = m_record.values.find(PIMPR_PICTURE);
        if (found != m_record.values.end())
            bytes = std::get<std::vector<uint8_t>>(found->second);
    }
    *stream = PropertyStream::Create(this, std::move(bytes), (access & GENERIC_WRITE) != 0);
    return *stream ? S_OK : E_OUTOFMEMORY;
}

void PoomContact::StorePicture(std::vector<uint8_t> bytes) {
    std::lock_guard lock(m_mutex);
    if (bytes.empty())
        m_record.values.erase(PIMPR_PICTURE);
    else
        m_record.values[PIMPR_PICTURE] = std::move(bytes);
}

HRESULT PoomContact::get_DefaultItemType(int* type) {
    if (!type)
        return E_POINTER;
    *type = olContactItem;
    return S_OK;
}

HRESULT PoomContact::Save() {
    ContactRecord copy;
    {
        std::lock_guard lock(m_mutex);
        if (m_deleted)
            return E_FAIL;
        copy = m_record;
    }
    std::string error;
    if (!ContactStore::Instance().Save(copy, GetCurrentProcessId(), error)) {
        Trace("pim", "saving contact %lu failed: %s", (unsigned long)copy.oid, error.c_str());
        return E_FAIL;
    }
    std::lock_guard lock(m_mutex);
    m_record.oid = copy.oid;
    return S_OK;
}

HRESULT PoomContact::Delete() {
    CEOID oid;
    {
        std::lock_guard lock(m_mutex);
        if (m_deleted)
            return E_FAIL;
        oid = m_record.oid;
    }
    // An item never saved has nothing stored: it is only dropped.
    std::string error;
    if (oid && !ContactStore::Instance().Delete(oid, GetCurrentProcessId(), error)) {
        Trace("pim", "deleting contact %lu failed: %s", (unsigned long)oid, error.c_str());
        return E_FAIL;
    }
    std::lock_guard lock(m_mutex);
    m_deleted = true;
    return S_OK;
}

HRESULT PoomContact::AddCategory(LPCWSTR category) {
    std::u16string name;
    if (!ReadText(category, name) || !ContactCategories::IsValidName(name))
        return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    const std::u16string* current = m_record.Text(PIMPR_CATEGORIES);
    std::u16string categories = current ? *current : std::u16string();
    if (ContactCategories::Add(categories, name)) {
        if (categories.size() > kMaxContactText)
            return E_INVALIDARG;
        m_record.values[PIMPR_CATEGORIES] = std::move(categories);
    }
    return S_OK;
}

HRESULT PoomContact::RemoveCategory(LPCWSTR category) {
    std::u16string name;
    if (!ReadText(category, name))
        return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    const std::u16string* current = m_record.Text(PIMPR_CATEGORIES);
    std::u16string categories = current ? *current : std::u16string();
    if (!ContactCategories::Remove(categories, name))
        return S_FALSE; // it did not have that category
    if (categories.empty())
        m_record.values.erase(PIMPR_CATEGORIES);
    else
        m_record.values[PIMPR_CATEGORIES] = std::move(categories);
    return S_OK;
}

HRESULT PoomContact::get_Oid(LONG* oid) {
    if (!oid)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    *oid = LONG(m_record.oid);
    return S_OK;
}

HRESULT PoomContact::get_Application(IPOutlookApp** application) {
    if (!application)
        return E_POINTER;
    m_application->AddRef();
    *application = m_application;
    return S_OK;
}

HRESULT PoomContact::GetText(CEPROPID tag, BSTR* text) {
    if (!text)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    const std::u16string* value = m_record.Text(tag);
    *text = AllocString(value ? *value : std::u16string_view());
    return *text ? S_OK : E_OUTOFMEMORY;
}

HRESULT PoomContact::PutText(CEPROPID tag, LPCWSTR text) {
    std::u16string value;
    if (text && !ReadText(text, value))
        return E_INVALIDARG;
    std::lock_guard lock(m_mutex);
    if (value.empty())
        m_record.values.erase(tag);
    else
        m_record.values[tag] = std::move(value);
    return S_OK;
}

HRESULT PoomContact::get_Categories(BSTR* categories) { return GetText(PIMPR_CATEGORIES, categories); }
HRESULT PoomContact::put_Categories(LPCWSTR categories) { return PutText(PIMPR_CATEGORIES, categories); }
HRESULT PoomContact::get_FileAs(BSTR* fileAs) { return GetText(PIMPR_FILEAS, fileAs); }
HRESULT PoomContact::get_FirstName(BSTR* name) { return GetText(PIMPR_FIRST_NAME, name); }
HRESULT PoomContact::put_FirstName(LPCWSTR name) { return PutText(PIMPR_FIRST_NAME, name); }
HRESULT PoomContact::get_LastName(BSTR* name) { return GetText(PIMPR_LAST_NAME, name); }
HRESULT PoomContact::put_LastName(LPCWSTR name) { return PutText(PIMPR_LAST_NAME, name); }
HRESULT PoomContact::get_MobileTelephoneNumber(BSTR* number) {
    return GetText(PIMPR_MOBILE_TELEPHONE_NUMBER, number);
}
HRESULT PoomContact::put_MobileTelephoneNumber(LPCWSTR number) {
    return PutText(PIMPR_MOBILE_TELEPHONE_NUMBER, number);
}

} // namespace platform
