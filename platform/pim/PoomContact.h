// A contact item: a copy of the stored record that SetProps, the categories and the
// picture stream change and Save writes back in one transaction. Items may be used from
// several threads; one lock guards the copy.
#pragma once

#include "imaging/ComObject.h"
#include "pim/ContactRecord.h"
#include "pim/PoomDispatch.h"

#include <mutex>

namespace platform {

class PoomApplication;

class PoomContact final : public PoomDispatch<IContact>, public PoomDispatch<IItem> {
public:
    // A new item over `record` (oid 0: not saved yet), as its IDispatch; null when out of
    // memory. The item holds a reference on `application`.
    static IDispatch* Create(PoomApplication* application, ContactRecord record);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    // IItem
    HRESULT GetProps(const CEPROPID* propIds, ULONG flags, WORD count, CEPROPVAL** buffer,
                     ULONG* bufferSize, HANDLE heap) override;
    HRESULT SetProps(ULONG flags, WORD count, CEPROPVAL* values) override;
    HRESULT OpenProperty(CEPROPID propId, DWORD access, IStream** stream) override;
    HRESULT get_DefaultItemType(int* type) override;
    // IItem and IContact
    HRESULT Save() override;
    HRESULT Delete() override;
    HRESULT AddCategory(LPCWSTR category) override;
    HRESULT RemoveCategory(LPCWSTR category) override;
    HRESULT get_Oid(LONG* oid) override;
    HRESULT get_Application(IPOutlookApp** application) override;
    // IContact
    HRESULT get_Categories(BSTR* categories) override;
    HRESULT put_Categories(LPCWSTR categories) override;
    HRESULT get_FileAs(BSTR* fileAs) override;
    HRESULT get_FirstName(BSTR* name) override;
    HRESULT put_FirstName(LPCWSTR name) override;
    HRESULT get_LastName(BSTR* name) override;
    HRESULT put_LastName(LPCWSTR name) override;
    HRESULT get_MobileTelephoneNumber(BSTR* number) override;
    HRESULT put_MobileTelephoneNumber(LPCWSTR number) override;

    // The picture stream's commit: replaces (or with no bytes removes) the picture.
    void StorePicture(std::vector<uint8_t> bytes);

private:
    PoomContact(PoomApplication* application, ContactRecord record);
    ~PoomContact();

    HRESULT GetText(CEPROPID tag, BSTR* text);
    HRESULT PutText(CEPROPID tag, LPCWSTR text);

    ComRefCount m_refs;
    PoomApplication* m_application; // referenced
    std::mutex m_mutex;
    ContactRecord m_record;
    bool m_deleted = false;
};

} // namespace platform
