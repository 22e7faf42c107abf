// The shell's registry state functions: read and write single values, and be told
// when a watched value changes (from any thread or process, or the device console).
#pragma once

#include "ce/registry.h"

typedef enum tagREG_COMPARISONTYPE {
    REG_CT_EQUAL,
    REG_CT_NOT_EQUAL,
    REG_CT_GREATER,
    REG_CT_GREATER_OR_EQUAL,
    REG_CT_LESS,
    REG_CT_LESS_OR_EQUAL,
    REG_CT_CONTAINS,
    REG_CT_STARTS_WITH,
    REG_CT_ENDS_WITH,
    REG_CT_ANYCHANGE
} REG_COMPARISONTYPE;

// A notification fires when the watched value changes and the condition holds for the
// new value. DWORD values are masked with `dwMask` before they are compared with
// `TargetValue.dw`; strings compare with `TargetValue.psz` without regard to case.
typedef struct _NOTIFICATIONCONDITION {
    REG_COMPARISONTYPE ctComparisonType;
    DWORD dwMask;
    union {
        LPCWSTR psz;
        DWORD dw;
    } TargetValue;
} NOTIFICATIONCONDITION;

typedef BYTE* PBYTE;

// Flags of the application-launching notification variant.
#define RNAF_NONAMEONCMDLINE 0x00000001u

// Runs on the platform's notification thread. `pData` is the new value (null with
// `cbData` 0 when the value or its key was deleted).
typedef void (*REGISTRYNOTIFYCALLBACK)(HREGNOTIFY hNotify, DWORD dwUserData, const PBYTE pData,
                                       const UINT cbData);

CE_API HRESULT RegistryGetDWORD(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD* pdwData);
// Copies at most `cchData` characters, terminator included; a longer value is truncated
// and gives HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER).
CE_API HRESULT RegistryGetString(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName,
                                 LPWSTR pszData, UINT cchData);
// Creates the key when it is missing.
CE_API HRESULT RegistrySetDWORD(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD dwData);
CE_API HRESULT RegistrySetString(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName,
                                 LPCWSTR pszData);
// `pCondition` null means any change.
CE_API HRESULT RegistryNotifyCallback(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName,
                                      REGISTRYNOTIFYCALLBACK pfnRegistryNotifyCallback,
                                      DWORD dwUserData, NOTIFICATIONCONDITION* pCondition,
                                      HREGNOTIFY* phNotify);
// Posts `msg` to `hWnd` with wParam = the new DWORD value (0 for other types or a
// deleted value) and lParam = `dwUserData`.
CE_API HRESULT RegistryNotifyWindow(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, HWND hWnd,
                                    UINT msg, DWORD dwUserData, NOTIFICATIONCONDITION* pCondition,
                                    HREGNOTIFY* phNotify);
// After it returns the callback of `hNotify` is not called again.
CE_API HRESULT RegistryCloseNotification(HREGNOTIFY hNotify);
