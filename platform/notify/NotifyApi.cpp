// CeRunAppAtTime: timed wake-ups on the device clock.
#include "ce/kernel.h"
#include "ce/notify.h"
#include "kernel/Utf.h"
#include "notify/WakeupTable.h"

#include <string_view>

using platform::WakeupTable;

namespace {

constexpr std::u16string_view kNamedEventPrefix = NAMED_EVENT_PREFIX_TEXT;

// The event name after the named-event prefix; empty when `appName` is no such path.
std::u16string NamedEventOf(std::u16string_view appName) {
    if (appName.size() <= kNamedEventPrefix.size() ||
        platform::FoldCase(appName.substr(0, kNamedEventPrefix.size())) !=
            platform::FoldCase(kNamedEventPrefix))
        return {};
    return std::u16string(appName.substr(kNamedEventPrefix.size()));
}

} // namespace

CE_API BOOL CeRunAppAtTime(LPCWSTR appName, const SYSTEMTIME* time) {
    if (!appName || !*appName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::u16string eventName = NamedEventOf(appName);
    if (eventName.empty()) {
        // FIXME: starting a program at a time needs the notification database of the
        // platform; only named events can be woken so far.
        SetLastError(ERROR_NOT_SUPPORTED);
        return FALSE;
    }
    if (!time) {
        // Removing a wake-up that is not registered is not an error.
        WakeupTable::Instance().Remove(eventName);
        return TRUE;
    }
    FILETIME local;
    if (!SystemTimeToFileTime(time, &local)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    int64_t ticks = int64_t((uint64_t(local.dwHighDateTime) << 32) | local.dwLowDateTime);
    WakeupTable::Instance().Set(eventName, ticks);
    return TRUE;
}
