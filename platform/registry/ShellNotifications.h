// The shell's value notifications (RegistryNotifyCallback, RegistryNotifyWindow,
// RegistryCloseNotification) over the NotificationHub: HKEY and NOTIFICATIONCONDITION
// in, HREGNOTIFY out. Every notification kind is a `Fire` function, so the window
// variant only supplies a function that posts its message.
#pragma once

#include "ce/regext.h"
#include "registry/RegistryValue.h"

#include <functional>

namespace platform {

class ShellNotifications {
public:
    // Receives the notification's own handle and the new value (an empty REG_NONE
    // value when it was deleted). Runs on the notification thread, no lock held.
    using Fire = std::function<void(HREGNOTIFY, const RegistryValue&)>;

    // Watches `valueName` of `key` + `subKey` (the key need not exist yet). The
    // condition is copied; `condition` null means any change.
    static HRESULT Register(HKEY key, LPCWSTR subKey, LPCWSTR valueName,
                            const NOTIFICATIONCONDITION* condition, Fire fire, HREGNOTIFY* result);
    static HRESULT Close(HREGNOTIFY notification);
};

} // namespace platform
