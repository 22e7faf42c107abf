// The Reg*W functions of the device: argument checks and buffer conventions of Win32
// over the Registry's tree operations.
#include "ce/registry.h"
#include "kernel/Utf.h"
#include "registry/Registry.h"

#include <algorithm>
#include <cstring>

using platform::Registry;
using platform::RegistryValue;

namespace {

std::u16string_view View(LPCWSTR text) { return text ? std::u16string_view(text, platform::StrLen(text)) : std::u16string_view(); }

// Copies `name` with its terminator into a buffer of `*length` characters; on success
// `*length` receives the length without the terminator.
LONG CopyName(const std::u16string& name, LPWSTR buffer, LPDWORD length) {
    if (!buffer || !length)
        return ERROR_INVALID_PARAMETER;
    if (*length <= name.size())
        return ERROR_MORE_DATA;
    std::copy(name.begin(), name.end(), buffer);
    buffer[name.size()] = u'\0';
    *length = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Win32's data convention: size query with a null buffer, ERROR_MORE_DATA with the
// size needed when the buffer is too small.
LONG CopyData(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (type)
        *type = value.type;
    if (!dataSize)
        return ERROR_SUCCESS;
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (data && *dataSize < needed) {
        *dataSize = needed;
        return ERROR_MORE_DATA;
    }
    if (data && needed)
        std::memcpy(data, value.data.data(), needed);
    *dataSize = needed;
    return ERROR_SUCCESS;
}

} // namespace

CE_API LONG RegOpenKeyExW(HKEY key, LPCWSTR subKey, DWORD options, REGSAM desired, PHKEY result) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    return Registry::Instance().OpenKey(key, View(subKey), *result);
}

CE_API LONG RegCreateKeyExW(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                            REGSAM desired, LPSECURITY_ATTRIBUTES security, PHKEY result,
                            LPDWORD disposition) {
    if (!result)
        return ERROR_INVALID_PARAMETER;
    DWORD how = 0;
    LONG error = Registry::Instance().CreateKey(key, View(subKey), *result, how);
    if (error == ERROR_SUCCESS && disposition)
        *disposition = how;
    return error;
}

CE_API LONG RegCloseKey(HKEY key) { return Registry::Instance().CloseKey(key); }

CE_API LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) {
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    LONG copied = ERROR_SUCCESS;
    LONG error = Registry::Instance().ReadValue(key, View(valueName), [&](const RegistryValue& value) {
        copied = CopyData(value, type, data, dataSize);
    });
    return error != ERROR_SUCCESS ? error : copied;
}

CE_API LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD reserved, DWORD type, const BYTE* data,
                           DWORD dataSize) {
    if (!data && dataSize)
        return ERROR_INVALID_PARAMETER;
    // A short DWORD would make every reader read past the value.
    if (type == REG_DWORD && dataSize != sizeof(DWORD))
        return ERROR_INVALID_PARAMETER;
    if (dataSize > platform::RegistryKey::kMaxValueSize)
        return ERROR_INVALID_PARAMETER;
    RegistryValue value;
    value.type = type;
    if (dataSize)
        value.data.assign(data, data + dataSize);
    return Registry::Instance().SetValue(key, View(valueName), std::move(value));
}

CE_API LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    return Registry::Instance().DeleteValue(key, View(valueName));
}

CE_API LONG RegDeleteKeyW(HKEY key, LPCWSTR subKey) {
    if (View(subKey).find_first_not_of(u'\\') == std::u16string_view::npos)
        return ERROR_INVALID_PARAMETER;
    return Registry::Instance().DeleteKey(key, View(subKey));
}

CE_API LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, LPDWORD nameLength, LPDWORD reserved,
                          LPWSTR keyClass, LPDWORD classLength, LPFILETIME lastWriteTime) {
    std::u16string found;
    if (LONG error = Registry::Instance().EnumKey(key, index, found); error != ERROR_SUCCESS)
        return error;
    if (LONG error = CopyName(found, name, nameLength); error != ERROR_SUCCESS)
        return error;
    if (keyClass && classLength && *classLength > 0)
        keyClass[0] = u'\0';
    if (classLength)
        *classLength = 0;
    if (lastWriteTime)
        *lastWriteTime = FILETIME{};
    return ERROR_SUCCESS;
}

CE_API LONG RegEnumValueW(HKEY key, DWORD index, LPWSTR valueName, LPDWORD valueNameLength,
                          LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (data && !dataSize)
        return ERROR_INVALID_PARAMETER;
    LONG copied = ERROR_SUCCESS;
    LONG error = Registry::Instance().EnumValue(key, index, [&](const std::u16string& name, const RegistryValue& value) {
        copied = CopyName(name, valueName, valueNameLength);
        LONG dataError = CopyData(value, type, data, dataSize);
        if (copied == ERROR_SUCCESS)
            copied = dataError;
    });
    return error != ERROR_SUCCESS ? error : copied;
}

CE_API LONG RegQueryInfoKeyW(HKEY key, LPWSTR keyClass, LPDWORD classLength, LPDWORD reserved,
                             LPDWORD subKeys, LPDWORD maxSubKeyLength, LPDWORD maxClassLength,
                             LPDWORD values, LPDWORD maxValueNameLength, LPDWORD maxValueLength,
                             LPDWORD securityDescriptor, LPFILETIME lastWriteTime) {
    Registry::KeyInfo info;
    if (LONG error = Registry::Instance().QueryInfo(key, info); error != ERROR_SUCCESS)
        return error;
    if (keyClass && classLength && *classLength > 0)
        keyClass[0] = u'\0';
    auto put = [](LPDWORD target, DWORD value) {
        if (target)
            *target = value;
    };
    put(classLength, 0);
    put(subKeys, info.subKeys);
    put(maxSubKeyLength, info.maxSubKeyLength);
    put(maxClassLength, 0);
    put(values, info.values);
    put(maxValueNameLength, info.maxValueNameLength);
    put(maxValueLength, info.maxValueLength);
    put(securityDescriptor, 0);
    if (lastWriteTime)
        *lastWriteTime = FILETIME{};
    return ERROR_SUCCESS;
}

CE_API LONG RegFlushKey(HKEY key) {
    HKEY probe = nullptr;
    // The key must be valid even though the whole registry is written.
    if (LONG error = Registry::Instance().OpenKey(key, {}, probe); error != ERROR_SUCCESS)
        return error;
    Registry::Instance().CloseKey(probe);
    return Registry::Instance().Flush();
}
