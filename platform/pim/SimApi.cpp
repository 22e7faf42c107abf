// The exported SIM Manager functions over the SIM card. A handle is a kernel object of
// the handle table, so a handle of an earlier boot or one already closed is refused.
// The card's state decides first: absent gives SIM_E_NOSIM, not ready SIM_E_RADIOOFF.
#include "ce/kernel.h"
#include "ce/simmgr.h"
#include "kernel/HandleTable.h"
#include "kernel/Utf.h"
#include "pim/SimCard.h"

#include <algorithm>

namespace platform {

namespace {

class SimHandle : public KernelObject {
public:
    ObjectType Type() const override { return ObjectType::Other; }
};

// S_OK for an open SIM handle, else E_HANDLE.
HRESULT CheckHandle(HSIM sim) {
    auto handle = reinterpret_cast<HANDLE>(sim);
    if (!std::dynamic_pointer_cast<SimHandle>(HandleTable::Instance().Lookup(handle)))
        return E_HANDLE;
    return S_OK;
}

// S_OK when the handle is open, the card inserted and ready, and `storage` the SIM's.
HRESULT CheckUsable(HSIM sim, DWORD storage = SIM_PBSTORAGE_SIM) {
    if (HRESULT result = CheckHandle(sim); FAILED(result))
        return result;
    switch (SimCard::Instance().State()) {
    case SimState::Absent: return SIM_E_NOSIM;
    case SimState::NotReady: return SIM_E_RADIOOFF;
    case SimState::Ready: break;
    }
    return storage == SIM_PBSTORAGE_SIM ? S_OK : SIM_E_UNSUPPORTED;
}

// Copies `text` into `target` (`capacity` units), always terminated.
void CopyText(std::u16string_view text, WCHAR* target, size_t capacity) {
    size_t length = std::min(text.size(), capacity - 1);
    std::copy_n(text.data(), length, target);
    target[length] = 0;
}

// The text of a fixed array, which need not be terminated.
std::u16string TextOf(const WCHAR* text, size_t capacity) {
    return std::u16string(text, std::find(text, text + capacity, u'\0'));
}

void FillFixedCaps(SIMCAPS& caps) {
    caps.dwParams |= SIM_PARAM_CAPS_PBSTORAGES | SIM_PARAM_CAPS_PBEMAXADDRESSLENGTH |
                     SIM_PARAM_CAPS_PBEMAXTEXTLENGTH;
    caps.dwPBStorages = SIM_PBSTORAGE_SIM;
    caps.dwMaxPBEAddressLength = DWORD(SimCard::kMaxNumberLength);
    caps.dwMaxPBETextLength = DWORD(SimCard::kMaxNameLength);
}

} // namespace

} // namespace platform

using platform::CheckUsable;
using platform::SimCard;

CE_API HRESULT SimInitialize(DWORD dwFlags, SIMCALLBACK, DWORD, LPHSIM lphSim) {
    if (!lphSim)
        return E_POINTER;
    *lphSim = nullptr;
    if (dwFlags & SIM_INIT_SIMCARD_NOTIFICATIONS)
        return SIM_E_UNSUPPORTED;
    if (dwFlags != SIM_INIT_NONE)
        return E_INVALIDARG;
    if (SimCard::Instance().State() == platform::SimState::Absent)
        return SIM_E_NOSIM;
    HANDLE handle = platform::HandleTable::Instance().Insert(std::make_shared<platform::SimHandle>());
    *lphSim = reinterpret_cast<HSIM>(handle);
    return S_OK;
}

CE_API HRESULT SimDeinitialize(HSIM hSim) {
    if (FAILED(platform::CheckHandle(hSim)))
        return E_HANDLE;
    platform::HandleTable::Instance().Close(reinterpret_cast<HANDLE>(hSim));
    return S_OK;
}

CE_API HRESULT SimGetDevCaps(HSIM hSim, DWORD dwCapsType, LPSIMCAPS lpSimCaps) {
    if (!lpSimCaps)
        return E_POINTER;
    if (lpSimCaps->cbSize < sizeof(SIMCAPS) || (dwCapsType & ~SIM_CAPSTYPE_ALL) || !dwCapsType)
        return E_INVALIDARG;
    if (HRESULT result = CheckUsable(hSim); FAILED(result))
        return result;
    SIMCAPS caps{};
    caps.cbSize = sizeof(SIMCAPS);
    if (dwCapsType & (SIM_CAPSTYPE_PBENTRYLENGTH | SIM_CAPSTYPE_PBSTORELOCATIONS))
        platform::FillFixedCaps(caps);
    if (dwCapsType & SIM_CAPSTYPE_PBINDEXRANGE) {
        DWORD used = 0;
        if (HRESULT result = SimCard::Instance().UsedRange(caps.dwMinPBIndex, caps.dwMaxPBIndex, used);
            FAILED(result))
            return result;
        caps.dwParams |= SIM_PARAM_CAPS_PBEMININDEX | SIM_PARAM_CAPS_PBEMAXINDEX;
    }
    // Lock facilities and message storages: this SIM has none, so those fields stay 0
    // and are still marked valid when asked for.
    if (dwCapsType & SIM_CAPSTYPE_LOCKFACILITIES)
        caps.dwParams |= SIM_PARAM_CAPS_LOCKFACILITIES;
    if (dwCapsType & SIM_CAPSTYPE_LOCKINGPWDLENGTHS)
        caps.dwParams |= SIM_PARAM_CAPS_LOCKINGPWDLENGTH;
    if (dwCapsType & SIM_CAPSTYPE_MSGMEMORYLOCATIONS)
        caps.dwParams |= SIM_PARAM_CAPS_READMSGSTORAGES | SIM_PARAM_CAPS_WRITEMSGSTORAGES;
    *lpSimCaps = caps;
    return S_OK;
}

CE_API HRESULT SimGetPhonebookStatus(HSIM hSim, DWORD dwLocation, LPDWORD lpdwUsed,
                                     LPDWORD lpdwTotal) {
    if (!lpdwUsed || !lpdwTotal)
        return E_POINTER;
    if (HRESULT result = CheckUsable(hSim, dwLocation); FAILED(result))
        return result;
    DWORD min = 0, max = 0;
    if (HRESULT result = SimCard::Instance().UsedRange(min, max, *lpdwUsed); FAILED(result))
        return result;
    *lpdwTotal = SimCard::kLastLocation - SimCard::kFirstLocation + 1;
    return S_OK;
}

CE_API HRESULT SimReadPhonebookEntry(HSIM hSim, DWORD dwLocation, DWORD dwIndex,
                                     LPSIMPHONEBOOKENTRY lpPhonebookEntry) {
    if (!lpPhonebookEntry)
        return E_POINTER;
    if (lpPhonebookEntry->cbSize != sizeof(SIMPHONEBOOKENTRY))
        return E_INVALIDARG;
    if (HRESULT result = CheckUsable(hSim, dwLocation); FAILED(result))
        return result;
    platform::SimEntry entry;
    if (HRESULT result = SimCard::Instance().Read(dwIndex, entry); FAILED(result))
        return result;
    SIMPHONEBOOKENTRY& out = *lpPhonebookEntry;
    out.dwParams = SIM_PARAM_PBE_ALL;
    platform::CopyText(entry.number, out.lpszAddress, MAX_LENGTH_ADDRESS);
    platform::CopyText(entry.name, out.lpszText, MAX_LENGTH_PHONEBOOKENTRYTEXT);
    bool international = !entry.number.empty() && entry.number[0] == u'+';
    out.dwAddressType = international ? SIM_ADDRTYPE_INTERNATIONAL : SIM_ADDRTYPE_UNKNOWN;
    out.dwNumPlan = SIM_NUMPLAN_TELEPHONE;
    return S_OK;
}

CE_API HRESULT SimWritePhonebookEntry(HSIM hSim, DWORD dwLocation, DWORD dwIndex,
                                      LPSIMPHONEBOOKENTRY lpPhonebookEntry) {
    if (!lpPhonebookEntry)
        return E_POINTER;
    const SIMPHONEBOOKENTRY& in = *lpPhonebookEntry;
    if (in.cbSize != sizeof(SIMPHONEBOOKENTRY) || !(in.dwParams & SIM_PARAM_PBE_ADDRESS))
        return E_INVALIDARG;
    if (HRESULT result = CheckUsable(hSim, dwLocation); FAILED(result))
        return result;
    std::u16string number = platform::TextOf(in.lpszAddress, MAX_LENGTH_ADDRESS);
    std::u16string name = (in.dwParams & SIM_PARAM_PBE_TEXT)
                              ? platform::TextOf(in.lpszText, MAX_LENGTH_PHONEBOOKENTRYTEXT)
                              : std::u16string();
    // An international address given without its "+" gets it, so it reads back dialable.
    if ((in.dwParams & SIM_PARAM_PBE_ADDRESS_TYPE) && in.dwAddressType == SIM_ADDRTYPE_INTERNATIONAL &&
        !number.empty() && number[0] != u'+')
        number.insert(number.begin(), u'+');
    DWORD stored = 0;
    return SimCard::Instance().Write(dwIndex, name, number, stored);
}

CE_API HRESULT SimDeletePhonebookEntry(HSIM hSim, DWORD dwLocation, DWORD dwIndex) {
    if (HRESULT result = CheckUsable(hSim, dwLocation); FAILED(result))
        return result;
    return SimCard::Instance().Delete(dwIndex);
}
