// RegistryNotifyWindow: a registry watch whose change is posted to a window, with the
// watched value as wParam (0 when it is not a DWORD or was deleted) and the caller's
// user data as lParam.
#include "ce/regext.h"
#include "ce/user.h"
#include "registry/RegistryValue.h"
#include "registry/ShellNotifications.h"

CE_API HRESULT RegistryNotifyWindow(HKEY key, LPCWSTR subKey, LPCWSTR valueName, HWND window,
                                    UINT message, DWORD userData,
                                    NOTIFICATIONCONDITION* condition, HREGNOTIFY* notification) {
    if (!window || !IsWindow(window))
        return E_INVALIDARG;
    return platform::ShellNotifications::Register(
        key, subKey, valueName, condition,
        [window, message, userData](HREGNOTIFY, const platform::RegistryValue& value) {
            PostMessageW(window, message, static_cast<WPARAM>(value.AsDword()),
                         static_cast<LPARAM>(userData));
        },
        notification);
}
