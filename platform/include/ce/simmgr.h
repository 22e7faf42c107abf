// The SIM Manager: the SIM card's phonebook and capabilities. Results are HRESULTs:
// S_OK, or one of the SIM_E_ codes below (E_INVALIDARG / E_POINTER for bad arguments).
#pragma once

#include "ce/types.h"
#include "ce/winerror.h"

CE_DECLARE_HANDLE(HSIM);
typedef HSIM* LPHSIM;

// SimInitialize flags. Card notifications are not delivered by this platform: asking
// for them fails with SIM_E_UNSUPPORTED instead of silently never calling back.
#define SIM_INIT_NONE 0x00000000u
#define SIM_INIT_SIMCARD_NOTIFICATIONS 0x00000001u

// Called with SIM notifications (not delivered by this platform; see above).
typedef void (*SIMCALLBACK)(DWORD dwNotifyCode, const void* lpData, DWORD dwDataSize,
                            DWORD dwParam);

// Phonebook storages.
#define SIM_PBSTORAGE_EMERGENCY 0x00000001u
#define SIM_PBSTORAGE_FIXEDDIALING 0x00000002u
#define SIM_PBSTORAGE_LASTDIALING 0x00000004u
#define SIM_PBSTORAGE_OWNNUMBERS 0x00000008u
#define SIM_PBSTORAGE_SIM 0x00000010u

// SimWritePhonebookEntry: store at the first free location.
#define SIM_PBINDEX_FIRSTAVAILABLE 0xFFFFFFFFu

// Capability types of SimGetDevCaps.
#define SIM_CAPSTYPE_PBENTRYLENGTH 0x00000001u
#define SIM_CAPSTYPE_PBSTORELOCATIONS 0x00000002u
#define SIM_CAPSTYPE_LOCKFACILITIES 0x00000004u
#define SIM_CAPSTYPE_PBINDEXRANGE 0x00000008u
#define SIM_CAPSTYPE_LOCKINGPWDLENGTHS 0x00000010u
#define SIM_CAPSTYPE_MSGMEMORYLOCATIONS 0x00000020u
#define SIM_CAPSTYPE_ALL 0x0000003Fu

// SIMCAPS.dwParams: which fields are valid.
#define SIM_PARAM_CAPS_PBSTORAGES 0x00000001u
#define SIM_PARAM_CAPS_PBEMAXADDRESSLENGTH 0x00000002u
#define SIM_PARAM_CAPS_PBEMAXTEXTLENGTH 0x00000004u
#define SIM_PARAM_CAPS_PBEMININDEX 0x00000008u
#define SIM_PARAM_CAPS_PBEMAXINDEX 0x00000010u
#define SIM_PARAM_CAPS_LOCKFACILITIES 0x00000020u
#define SIM_PARAM_CAPS_LOCKINGPWDLENGTH 0x00000040u
#define SIM_PARAM_CAPS_READMSGSTORAGES 0x00000080u
#define SIM_PARAM_CAPS_WRITEMSGSTORAGES 0x00000100u
#define SIM_PARAM_CAPS_ALL 0x000001FFu

#define SIM_NUMLOCKFACILITIES 10

struct SIMLOCKINGPWDLENGTH {
    DWORD dwFacility;
    DWORD dwPasswordLength;
};

// 124 bytes, as on the device (no pointers). Set cbSize to sizeof(SIMCAPS).
struct SIMCAPS {
    DWORD cbSize;
    DWORD dwParams;
    DWORD dwPBStorages;
    DWORD dwMinPBIndex;
    DWORD dwMaxPBIndex;
    DWORD dwMaxPBEAddressLength;
    DWORD dwMaxPBETextLength;
    DWORD dwLockFacilities;
    DWORD dwReadMsgStorages;
    DWORD dwWriteMsgStorages;
    DWORD dwNumLockingPwdLengths;
    SIMLOCKINGPWDLENGTH rgLockingPwdLengths[SIM_NUMLOCKFACILITIES];
};
typedef SIMCAPS* LPSIMCAPS;
static_assert(sizeof(SIMCAPS) == 124, "SIMCAPS keeps the device's layout");

#define MAX_LENGTH_ADDRESS 256
#define MAX_LENGTH_PHONEBOOKENTRYTEXT 256

// SIMPHONEBOOKENTRY.dwParams: which fields are valid.
#define SIM_PARAM_PBE_ADDRESS 0x00000001u
#define SIM_PARAM_PBE_ADDRESS_TYPE 0x00000002u
#define SIM_PARAM_PBE_NUMPLAN 0x00000004u
#define SIM_PARAM_PBE_TEXT 0x00000008u
#define SIM_PARAM_PBE_ALL 0x0000000Fu

// Address types and numbering plans of an entry.
#define SIM_ADDRTYPE_UNKNOWN 0x00000000u
#define SIM_ADDRTYPE_INTERNATIONAL 0x00000001u
#define SIM_ADDRTYPE_NATIONAL 0x00000002u
#define SIM_NUMPLAN_UNKNOWN 0x00000000u
#define SIM_NUMPLAN_TELEPHONE 0x00000001u

// 1040 bytes, as on the device (no pointers). Set cbSize to sizeof(SIMPHONEBOOKENTRY).
// Texts are always terminated within their arrays.
struct SIMPHONEBOOKENTRY {
    DWORD cbSize;
    DWORD dwParams;
    WCHAR lpszAddress[MAX_LENGTH_ADDRESS];
    DWORD dwAddressType;
    DWORD dwNumPlan;
    WCHAR lpszText[MAX_LENGTH_PHONEBOOKENTRYTEXT];
};
typedef SIMPHONEBOOKENTRY* LPSIMPHONEBOOKENTRY;
static_assert(sizeof(SIMPHONEBOOKENTRY) == 1040, "SIMPHONEBOOKENTRY keeps the device's layout");

// Error codes. Not ready: SIM_E_RADIOOFF, SIM_E_SIMPINREQUIRED (try again when the
// registry value "Radio Ready State" under HKLM "System\State\Phone" changes). No usable
// SIM: SIM_E_NOSIM, SIM_E_SIMWRONG, SIM_E_SIMNOTINSERTED.
#define SIM_E_NOSIM ((HRESULT)0x88000064L)
#define SIM_E_UNSUPPORTED ((HRESULT)0x88000067L)
#define SIM_E_BADPARAM ((HRESULT)0x88000068L)
#define SIM_E_RADIOOFF ((HRESULT)0x8800006BL)
#define SIM_E_SIMPINREQUIRED ((HRESULT)0x88000123L)
#define SIM_E_SIMFAILURE ((HRESULT)0x88000201L)
#define SIM_E_SIMWRONG ((HRESULT)0x88000203L)
#define SIM_E_SIMNOTINSERTED ((HRESULT)0x88000207L)
#define SIM_E_MEMORYFULL ((HRESULT)0x88000343L)
#define SIM_E_INVALIDINDEX ((HRESULT)0x88000344L)
#define SIM_E_NOTFOUND ((HRESULT)0x88000345L)
#define SIM_E_INVALIDTEXTSTRING ((HRESULT)0x88000346L)
#define SIM_E_INVALIDDIALSTRING ((HRESULT)0x88000347L)

// Opens the SIM. `dwFlags` SIM_INIT_NONE; fails with SIM_E_NOSIM when no SIM is inserted.
CE_API HRESULT SimInitialize(DWORD dwFlags, SIMCALLBACK lpfnCallBack, DWORD dwParam,
                             LPHSIM lphSim);
CE_API HRESULT SimDeinitialize(HSIM hSim);
// `lpSimCaps->cbSize` must be at least sizeof(SIMCAPS). SIM_CAPSTYPE_PBINDEXRANGE gives
// the lowest and highest used location of the SIM phonebook (dwMinPBIndex >
// dwMaxPBIndex when it is empty); the other types give the SIM's fixed capabilities.
CE_API HRESULT SimGetDevCaps(HSIM hSim, DWORD dwCapsType, LPSIMCAPS lpSimCaps);
// Used and total locations of a phonebook storage.
CE_API HRESULT SimGetPhonebookStatus(HSIM hSim, DWORD dwLocation, LPDWORD lpdwUsed,
                                     LPDWORD lpdwTotal);
// A location without an entry gives SIM_E_NOTFOUND; one outside the SIM's range
// SIM_E_INVALIDINDEX. `lpPhonebookEntry->cbSize` must be sizeof(SIMPHONEBOOKENTRY).
CE_API HRESULT SimReadPhonebookEntry(HSIM hSim, DWORD dwLocation, DWORD dwIndex,
                                     LPSIMPHONEBOOKENTRY lpPhonebookEntry);
// Stores an entry at `dwIndex` (replacing what is there) or at the first free location
// (SIM_PBINDEX_FIRSTAVAILABLE; SIM_E_MEMORYFULL when there is none). The text holds at
// most SIMCAPS.dwMaxPBETextLength characters and no control characters
// (SIM_E_INVALIDTEXTSTRING); the address is a dial string of digits, "+*#pw," and the
// blanks, hyphens, dots and parentheses people write, at most dwMaxPBEAddressLength
// characters (SIM_E_INVALIDDIALSTRING).
CE_API HRESULT SimWritePhonebookEntry(HSIM hSim, DWORD dwLocation, DWORD dwIndex,
                                      LPSIMPHONEBOOKENTRY lpPhonebookEntry);
// Deleting an empty location gives SIM_E_NOTFOUND.
CE_API HRESULT SimDeletePhonebookEntry(HSIM hSim, DWORD dwLocation, DWORD dwIndex);
