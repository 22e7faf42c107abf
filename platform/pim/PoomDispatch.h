// The automation part of the object model's interfaces. Programs call the store through
// its vtables; late binding by name is not offered, and says so.
#pragma once

#include "ce/pimstore.h"

#define DISP_E_MEMBERNOTFOUND ((HRESULT)0x80020003L)
#define DISP_E_UNKNOWNNAME ((HRESULT)0x80020006L)

namespace platform {

template <class Interface>
class PoomDispatch : public Interface {
public:
    HRESULT GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, void** typeInfo) override {
        if (typeInfo)
            *typeInfo = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetIDsOfNames(REFIID, LPWSTR*, UINT, LCID, LONG*) override { return DISP_E_UNKNOWNNAME; }
    HRESULT Invoke(LONG, REFIID, LCID, WORD, void*, void*, void*, UINT*) override {
        return DISP_E_MEMBERNOTFOUND;
    }
};

} // namespace platform
