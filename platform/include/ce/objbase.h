// The component object model of the device: IUnknown, the per-thread initialisation and
// in-process class creation. Classes are registered with the platform's class table at boot.
#pragma once

#include "ce/types.h"
#include "ce/winerror.h"

#define COINIT_MULTITHREADED 0x0
#define COINIT_APARTMENTTHREADED 0x2
#define CLSCTX_INPROC_SERVER 0x1

struct IUnknown {
    virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
    virtual ULONG AddRef() = 0;
    virtual ULONG Release() = 0;

protected:
    ~IUnknown() = default; // objects are destroyed through Release only
};
typedef IUnknown* LPUNKNOWN;

extern "C" const IID IID_IUnknown;

// Counted per thread: every successful call needs a matching CoUninitialize.
CE_API HRESULT CoInitializeEx(LPVOID reserved, DWORD flags);
CE_API void CoUninitialize();
// Fails with CO_E_NOTINITIALIZED on a thread that did not call CoInitializeEx.
CE_API HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                LPVOID* object);
CE_API LPVOID CoTaskMemAlloc(SIZE_T size);
CE_API void CoTaskMemFree(LPVOID block);
