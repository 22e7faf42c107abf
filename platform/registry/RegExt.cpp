// The shell's registry state functions. RegistryNotifyWindow is defined with the window
// manager (it posts a message); it registers through ShellNotifications like the
// callback variant below.
#include "ce/regext.h"
#include "kernel/Utf.h"
#include "registry/Registry.h"
#include "registry/ShellNotifications.h"

#include <algorithm>

using platform::Registry;
using platform::RegistryValue;

namespace {

std::u16string_view View(LPCWSTR text) { return text ? std::u16string_view(text, platform::StrLen(text)) : std::u16string_view(); }

// Reads one value of `key` + `subKey` into `out`.
LONG ReadOne(HKEY key, LPCWSTR subKey, LPCWSTR valueName, RegistryValue& out) {
    Registry& registry = Registry::Instance();
    HKEY opened = nullptr;
    if (LONG error = registry.OpenKey(key, View(subKey), opened); error != ERROR_SUCCESS)
        return error;
    LONG error = registry.ReadValue(opened, View(valueName), [&](const RegistryValue& value) { out = value; });
    registry.CloseKey(opened);
    return error;
}

HRESULT WriteOne(HKEY key, LPCWSTR subKey, LPCWSTR valueName, RegistryValue value) {
    Registry& registry = Registry::Instance();
    HKEY opened = nullptr;
    DWORD disposition = 0;
    if (LONG error = registry.CreateKey(key, View(subKey), opened, disposition); error != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(error);
    LONG error = registry.SetValue(opened, View(valueName), std::move(value));
    registry.CloseKey(opened);
    return HRESULT_FROM_WIN32(error);
}

} // namespace

CE_API HRESULT RegistryGetDWORD(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD* pdwData) {
    if (!pdwData)
        return E_INVALIDARG;
    RegistryValue value;
    if (LONG error = ReadOne(hKey, pszSubKey, pszValueName, value); error != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(error);
    if (value.type != REG_DWORD || value.data.size() != sizeof(DWORD))
        return E_INVALIDARG;
    *pdwData = value.AsDword();
    return S_OK;
}

CE_API HRESULT RegistryGetString(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, LPWSTR pszData,
                                 UINT cchData) {
    if (!pszData || cchData == 0)
        return E_INVALIDARG;
    pszData[0] = u'\0';
    RegistryValue value;
    if (LONG error = ReadOne(hKey, pszSubKey, pszValueName, value); error != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(error);
    if (value.type != REG_SZ && value.type != REG_EXPAND_SZ)
        return E_INVALIDARG;
    // The stored bytes may lack a terminator: AsText stops at the data's end.
    std::u16string text = value.AsText();
    size_t copied = std::min<size_t>(text.size(), cchData - 1);
    std::copy_n(text.begin(), copied, pszData);
    pszData[copied] = u'\0';
    return copied < text.size() ? HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER) : S_OK;
}

CE_API HRESULT RegistrySetDWORD(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, DWORD dwData) {
    return WriteOne(hKey, pszSubKey, pszValueName, RegistryValue::Dword(dwData));
}

CE_API HRESULT RegistrySetString(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName, LPCWSTR pszData) {
    if (!pszData)
        return E_INVALIDARG;
    return WriteOne(hKey, pszSubKey, pszValueName, RegistryValue::Text(View(pszData)));
}

CE_API HRESULT RegistryNotifyCallback(HKEY hKey, LPCWSTR pszSubKey, LPCWSTR pszValueName,
                                      REGISTRYNOTIFYCALLBACK pfnRegistryNotifyCallback, DWORD dwUserData,
                                      NOTIFICATIONCONDITION* pCondition, HREGNOTIFY* phNotify) {
    if (!pfnRegistryNotifyCallback)
        return E_INVALIDARG;
    auto fire = [pfnRegistryNotifyCallback, dwUserData](HREGNOTIFY handle, const RegistryValue& value) {
        // The callback gets its own copy: it may keep or change the bytes.
        std::vector<uint8_t> bytes = value.data;
        pfnRegistryNotifyCallback(handle, dwUserData, bytes.empty() ? nullptr : bytes.data(),
                                  static_cast<UINT>(bytes.size()));
    };
    return platform::ShellNotifications::Register(hKey, pszSubKey, pszValueName, pCondition, fire, phNotify);
}

CE_API HRESULT RegistryCloseNotification(HREGNOTIFY hNotify) { return platform::ShellNotifications::Close(hNotify); }
