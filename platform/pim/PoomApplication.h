// The contact store's application object (CLSID_Application). Logon gives it the window
// that receives change notifications; folders and items reach the store through it.
#pragma once

#include "imaging/ComObject.h"
#include "pim/PoomDispatch.h"

#include <mutex>

namespace platform {

class PoomApplication final : public PoomDispatch<IPOutlookApp> {
public:
    // Registers the class with the COM class table (a boot step).
    static void RegisterClass();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    HRESULT Logon(HWND window) override;
    HRESULT Logoff() override;
    HRESULT get_Version(BSTR* version) override;
    HRESULT GetDefaultFolder(int folder, IFolder** result) override;
    HRESULT CreateItem(int itemType, IDispatch** item) override;
    HRESULT GetItemFromOid(CEOID oid, IDispatch** item) override;

    // The notification session of the logon, 0 when logged off.
    DWORD Session() const;

private:
    PoomApplication() = default;
    ~PoomApplication();

    bool LoggedOn() const { return Session() != 0; }

    ComRefCount m_refs;
    mutable std::mutex m_mutex;
    DWORD m_session = 0;
};

// A copy of `text` that the caller frees with CoTaskMemFree; null when out of memory.
BSTR AllocString(std::u16string_view text);

} // namespace platform
