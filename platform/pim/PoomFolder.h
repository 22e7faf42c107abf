// A default folder: the contacts folder (10) with its item collection, or the infrared
// folder (102) that beams the contacts added to it. Its IItem holds the folder's
// notification setting (PIMPR_FOLDERNOTIFICATIONS) for the application's session.
#pragma once

#include "imaging/ComObject.h"
#include "pim/PoomDispatch.h"

#include <mutex>
#include <vector>

namespace platform {

class PoomApplication;

class PoomFolder final : public PoomDispatch<IFolder>, public PoomDispatch<IItem> {
public:
    // Null when out of memory. The folder holds a reference on `application`.
    static IFolder* Create(PoomApplication* application, int folder);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    // IFolder
    HRESULT get_Items(IPOutlookItemCollection** items) override;
    HRESULT get_DefaultItemType(int* type) override;
    HRESULT get_Application(IPOutlookApp** application) override;
    HRESULT AddItemToInfraredFolder(int itemType, IDispatch* item) override;
    HRESULT SendToInfrared() override;
    HRESULT ReceiveFromInfrared(IPOutlookItemCollection** items) override;

    // IItem: only the folder's notification property is readable and writable.
    HRESULT GetProps(const CEPROPID* propIds, ULONG flags, WORD count, CEPROPVAL** buffer,
                     ULONG* bufferSize, HANDLE heap) override;
    HRESULT SetProps(ULONG flags, WORD count, CEPROPVAL* values) override;
    HRESULT OpenProperty(CEPROPID propId, DWORD access, IStream** stream) override;
    HRESULT Save() override;
    HRESULT Delete() override;
    HRESULT AddCategory(LPCWSTR category) override;
    HRESULT RemoveCategory(LPCWSTR category) override;
    HRESULT get_Oid(LONG* oid) override;

private:
    PoomFolder(PoomApplication* application, int folder);
    ~PoomFolder();

    ComRefCount m_refs;
    PoomApplication* m_application; // referenced
    int m_folder;
    std::mutex m_mutex;
    std::vector<CEOID> m_toBeam; // infrared folder: contacts added, not sent yet
};

} // namespace platform
