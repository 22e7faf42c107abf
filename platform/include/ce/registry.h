// Registry API of the device: two hives (HKEY_LOCAL_MACHINE, HKEY_CURRENT_USER) of keys
// and typed values. Names compare without regard to case and keep their spelling. The
// functions return a Win32 error code (ERROR_SUCCESS on success); they do not set the
// last error.
#pragma once

#include "ce/types.h"
#include "ce/winerror.h"

typedef HKEY* PHKEY;
typedef DWORD REGSAM;

// Predefined keys, sign-extended as on 64-bit Win32 so they never collide with an
// opened key's handle. HKEY_CLASSES_ROOT is HKEY_LOCAL_MACHINE "Software\Classes".
#define HKEY_CLASSES_ROOT ((HKEY)(ULONG_PTR)((LONG)0x80000000))
#define HKEY_CURRENT_USER ((HKEY)(ULONG_PTR)((LONG)0x80000001))
#define HKEY_LOCAL_MACHINE ((HKEY)(ULONG_PTR)((LONG)0x80000002))

#define REG_NONE 0u
#define REG_SZ 1u
#define REG_EXPAND_SZ 2u
#define REG_BINARY 3u
#define REG_DWORD 4u
#define REG_DWORD_LITTLE_ENDIAN 4u
#define REG_DWORD_BIG_ENDIAN 5u
#define REG_LINK 6u
#define REG_MULTI_SZ 7u

#define REG_OPTION_NON_VOLATILE 0x00000000u
#define REG_OPTION_VOLATILE 0x00000001u

#define REG_CREATED_NEW_KEY 0x00000001u
#define REG_OPENED_EXISTING_KEY 0x00000002u

#define KEY_QUERY_VALUE 0x0001u
#define KEY_SET_VALUE 0x0002u
#define KEY_CREATE_SUB_KEY 0x0004u
#define KEY_ENUMERATE_SUB_KEYS 0x0008u
#define KEY_NOTIFY 0x0010u
#define KEY_READ 0x00020019u
#define KEY_WRITE 0x00020006u
#define KEY_EXECUTE KEY_READ
#define KEY_ALL_ACCESS 0x000F003Fu

CE_API LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result);
// `disposition` receives REG_CREATED_NEW_KEY or REG_OPENED_EXISTING_KEY; missing parent
// keys along `subKey` are created too.
CE_API LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass,
                            DWORD options, REGSAM desired, LPSECURITY_ATTRIBUTES security,
                            PHKEY result, LPDWORD disposition);
CE_API LONG RegCloseKey(HKEY key);
// With `data` null, `*dataSize` receives the size in bytes; a buffer that is too small
// gives ERROR_MORE_DATA with the size needed in `*dataSize`.
CE_API LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type,
                             LPBYTE data, LPDWORD dataSize);
CE_API LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type,
                           const BYTE* data, DWORD dataSize);
CE_API LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);
// Deletes the key together with all of its subkeys.
CE_API LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey);
// `nameLength` holds the buffer size in characters (terminator included) and receives
// the name's length without the terminator. The class is always empty and the last
// write time zero.
CE_API LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength,
                          LPDWORD reserved, LPWSTR keyClass, LPDWORD classLength,
                          LPFILETIME lastWriteTime);
CE_API LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength,
                          LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize);
CE_API LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved,
                             LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength,
                             LPDWORD values, LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                             LPDWORD securityDescriptor, LPFILETIME lastWriteTime);
// Writes the registry file now.
CE_API LONG RegFlushKey(HKEY key);
