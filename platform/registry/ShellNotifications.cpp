#include "registry/ShellNotifications.h"

#include "kernel/Utf.h"
#include "registry/NotificationHub.h"
#include "registry/Registry.h"

namespace platform {

namespace {

// HREGNOTIFY values are hub ids shifted past the low bits; ids are never reused, so a
// closed notification handle stays invalid.
HREGNOTIFY ToHandle(uint64_t id) { return reinterpret_cast<HREGNOTIFY>(static_cast<uintptr_t>(id << 2 | 1)); }

bool FromHandle(HREGNOTIFY handle, uint64_t& id) {
    uint64_t value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 3) != 1)
        return false;
    id = value >> 2;
    return id != 0;
}

bool IsTextComparison(REG_COMPARISONTYPE type) {
    return type == REG_CT_CONTAINS || type == REG_CT_STARTS_WITH || type == REG_CT_ENDS_WITH;
}

// The target's union member is read as text for the text-only comparisons and when
// the watched value is a string now; otherwise as a DWORD.
bool TargetIsText(REG_COMPARISONTYPE type, HKEY key, std::u16string_view subKey, std::u16string_view valueName) {
    if (IsTextComparison(type))
        return true;
    HKEY opened = nullptr;
    Registry& registry = Registry::Instance();
    if (registry.OpenKey(key, subKey, opened) != ERROR_SUCCESS)
        return false;
    bool text = false;
    registry.ReadValue(opened, valueName, [&](const RegistryValue& value) {
        text = value.type == REG_SZ || value.type == REG_EXPAND_SZ;
    });
    registry.CloseKey(opened);
    return text;
}

} // namespace

HRESULT ShellNotifications::Register(HKEY key, LPCWSTR subKey, LPCWSTR valueName,
                                     const NOTIFICATIONCONDITION* condition, Fire fire, HREGNOTIFY* result) {
    if (!fire || !result)
        return E_INVALIDARG;
    std::u16string_view sub = subKey ? std::u16string_view(subKey, StrLen(subKey)) : std::u16string_view();
    std::u16string_view name = valueName ? std::u16string_view(valueName, StrLen(valueName)) : std::u16string_view();
    NotificationHub::Root root;
    std::u16string path;
    if (LONG error = Registry::Instance().WatchTarget(key, sub, root, path); error != ERROR_SUCCESS)
        return HRESULT_FROM_WIN32(error);
    NotificationHub::Condition rule;
    if (condition) {
        if (condition->ctComparisonType < REG_CT_EQUAL || condition->ctComparisonType > REG_CT_ANYCHANGE)
            return E_INVALIDARG;
        rule.comparison = condition->ctComparisonType;
        rule.mask = condition->dwMask;
        rule.textTarget = condition->ctComparisonType != REG_CT_ANYCHANGE &&
                          TargetIsText(condition->ctComparisonType, key, sub, name);
        if (rule.textTarget && !condition->TargetValue.psz)
            return E_INVALIDARG;
        if (rule.textTarget)
            rule.targetText.assign(condition->TargetValue.psz, StrLen(condition->TargetValue.psz));
        else
            rule.targetDword = condition->TargetValue.dw;
    }
    NotificationHub& hub = NotificationHub::Instance();
    uint64_t id = hub.ReserveId();
    HREGNOTIFY handle = ToHandle(id);
    hub.WatchAs(id, root, path, name, std::move(rule),
                [handle, fire = std::move(fire)](const RegistryValue& value) { fire(handle, value); });
    *result = handle;
    return S_OK;
}

HRESULT ShellNotifications::Close(HREGNOTIFY notification) {
    uint64_t id;
    if (!FromHandle(notification, id) || !NotificationHub::Instance().Unwatch(id))
        return E_INVALIDARG;
    return S_OK;
}

} // namespace platform
