// Exported COM functions: per-thread initialisation, class creation, task memory.
#include "ce/objbase.h"
#include "com/ComClassTable.h"

#include <cstdlib>

using namespace platform;

extern "C" const IID IID_IUnknown = {0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace {
thread_local int t_initCount = 0;
}

CE_API HRESULT CoInitializeEx(LPVOID reserved, DWORD flags) {
    if (flags & ~DWORD(COINIT_APARTMENTTHREADED))
        return E_INVALIDARG;
    return ++t_initCount == 1 ? S_OK : S_FALSE;
}

CE_API void CoUninitialize() {
    if (t_initCount > 0)
        --t_initCount;
}

CE_API HRESULT CoCreateInstance(REFCLSID clsid, LPUNKNOWN outer, DWORD context, REFIID iid,
                                LPVOID* object) {
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (t_initCount == 0)
        return CO_E_NOTINITIALIZED;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    if (!(context & CLSCTX_INPROC_SERVER))
        return REGDB_E_CLASSNOTREG;
    return ComClassTable::Instance().Create(clsid, iid, object);
}

CE_API LPVOID CoTaskMemAlloc(SIZE_T size) { return std::malloc(size ? size : 1); }

CE_API void CoTaskMemFree(LPVOID block) { std::free(block); }
