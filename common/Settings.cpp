#include "common/Settings.h"

#include "ce/kernel.h"
#include "ce/nled.h"
#include "ce/registry.h"
#include "ce/sysinfo.h"
#include "ce/user.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <cwctype>
#include <string>
#include <string_view>

namespace common {

const WCHAR kProductKey[] = u"Software\\Tavik\\Dialora";
const WCHAR kOptionsKey[] = u"Software\\Tavik\\Dialora\\Options";

namespace {

enum class Kind { Number, Text };

struct Field {
    const WCHAR* name;
    Kind kind;
    size_t offset;
    size_t capacity; // characters including the terminator, for texts
};

#define NUMBER(name, member) {u##name, Kind::Number, offsetof(SettingsRecord, member), 0}
#define TEXT(name, member)                                                                          \
    {u##name, Kind::Text, offsetof(SettingsRecord, member),                                        \
     sizeof(SettingsRecord::member) / sizeof(WCHAR)}

// The values in the order in which they are read and written.
const Field kFields[] = {
    NUMBER("Flags", flags),
    NUMBER("GroupDays", groupDays),
    NUMBER("HandleIncomingCalls", handleIncomingCalls),
    NUMBER("SendKeyAction", sendKeyAction),
    NUMBER("ShowSIMContacts", showSimContacts),
    NUMBER("DisplayName", displayName),
    NUMBER("CallHistAction", callHistAction),
    TEXT("HotPhone", hotPhone),
    TEXT("Filter", filter),
    TEXT("DefEmailAccount", defEmailAccount),
    TEXT("Skin", skin),
    NUMBER("SaveImageW", pictureWidth),
    NUMBER("SaveImageH", pictureHeight),
    NUMBER("Billingday", billingDay),
};

#undef NUMBER
#undef TEXT

DWORD& NumberOf(SettingsRecord& record, const Field& field) {
    return *reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(&record) + field.offset);
}

WCHAR* TextOf(SettingsRecord& record, const Field& field) {
    return reinterpret_cast<WCHAR*>(reinterpret_cast<BYTE*>(&record) + field.offset);
}

void ReadField(HKEY key, SettingsRecord& record, const Field& field) {
    DWORD type = 0;
    if (field.kind == Kind::Number) {
        DWORD value = 0, size = sizeof value;
        if (RegQueryValueExW(key, field.name, nullptr, &type, reinterpret_cast<BYTE*>(&value),
                             &size) == ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value)
            NumberOf(record, field) = value;
        return;
    }
    // A text longer than its field is cut to the field, never refused.
    DWORD size = 0;
    if (RegQueryValueExW(key, field.name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_SZ)
        return;
    std::u16string buffer(size / sizeof(WCHAR) + 1, u'\0');
    size = static_cast<DWORD>(buffer.size() * sizeof(WCHAR));
    if (RegQueryValueExW(key, field.name, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()),
                         &size) != ERROR_SUCCESS)
        return;
    WCHAR* target = TextOf(record, field);
    size_t length = std::min(std::char_traits<char16_t>::length(buffer.c_str()), field.capacity - 1);
    std::memcpy(target, buffer.data(), length * sizeof(WCHAR));
    target[length] = 0;
}

bool WriteField(HKEY key, SettingsRecord& record, const Field& field) {
    if (field.kind == Kind::Number) {
        DWORD value = NumberOf(record, field);
        return RegSetValueExW(key, field.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                              sizeof value) == ERROR_SUCCESS;
    }
    WCHAR* text = TextOf(record, field);
    text[field.capacity - 1] = 0;
    DWORD bytes = static_cast<DWORD>((std::char_traits<char16_t>::length(text) + 1) * sizeof(WCHAR));
    return RegSetValueExW(key, field.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), bytes) ==
           ERROR_SUCCESS;
}

bool StartsWithNoCase(const std::u16string& text, const char16_t* prefix) {
    size_t n = std::char_traits<char16_t>::length(prefix);
    if (text.size() < n)
        return false;
    for (size_t i = 0; i < n; ++i)
        if (std::towupper(text[i]) != std::towupper(prefix[i]))
            return false;
    return true;
}

// Which LED drives the vibrator, judged from the OEM string and the number of LEDs.
int GuessVibrationLed() {
    WCHAR oem[256] = {};
    if (!SystemParametersInfoW(SPI_GETOEMINFO, sizeof oem, oem, 0))
        oem[0] = 0;
    oem[255] = 0;
    std::u16string oemText(oem);
    NLED_COUNT_INFO count{};
    int leds = NLedGetDeviceInfo(NLED_COUNT_INFO_ID, &count) ? static_cast<int>(count.cLeds) : 0;
    if (leds == 2 || StartsWithNoCase(oemText, u"HTC") || StartsWithNoCase(oemText, u"X1i"))
        return 1;
    if (leds > 9 && oemText.find(u"SGH") != std::u16string::npos)
        return 10;
    if (leds < 3)
        return -1;
    return StartsWithNoCase(oemText, u"HP ") ? 3 : -1;
}

bool g_ledKnown = false;
int g_led = -1;

} // namespace

bool SameSettings(const SettingsRecord& a, const SettingsRecord& b) {
    for (const Field& field : kFields) {
        auto& left = const_cast<SettingsRecord&>(a);
        auto& right = const_cast<SettingsRecord&>(b);
        if (field.kind == Kind::Number) {
            if (NumberOf(left, field) != NumberOf(right, field))
                return false;
        } else if (std::u16string_view(TextOf(left, field)).substr(0, field.capacity - 1) !=
                   std::u16string_view(TextOf(right, field)).substr(0, field.capacity - 1)) {
            return false;
        }
    }
    return true;
}

SettingsRecord Settings::Defaults() {
    SettingsRecord record;
    if (VibrationLed() >= 0)
        record.flags |= SettingsFlag::kVibrateOnTap;
    record.pictureHeight = 160 * static_cast<DWORD>(GetSystemMetrics(SM_CXBORDER));
    record.pictureWidth = (record.pictureHeight * 3 + 2) / 4;
    return record;
}

void Settings::Load() {
    m_record = Defaults();
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kOptionsKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        for (const Field& field : kFields)
            ReadField(key, m_record, field);
        RegCloseKey(key);
    }
    m_snapshot = m_record;
}

bool Settings::Save() {
    bool ok = true;
    if (!SameSettings(m_record, m_snapshot)) {
        HKEY key = nullptr;
        DWORD disposition = 0;
        ok = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kOptionsKey, 0, nullptr, 0, 0, nullptr, &key,
                             &disposition) == ERROR_SUCCESS;
        for (const Field& field : kFields)
            ok = ok && WriteField(key, m_record, field);
        if (key)
            RegCloseKey(key);
    }
    m_snapshot = m_record;
    return ok;
}

int VibrationLed() {
    if (g_ledKnown)
        return g_led;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kOptionsKey, 0, nullptr, 0, 0, nullptr, &key,
                        &disposition) != ERROR_SUCCESS)
        return -1;
    DWORD value = 0, size = sizeof value, type = 0;
    if (RegQueryValueExW(key, u"VibrateLED", nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD) {
        g_led = static_cast<int>(value);
    } else {
        g_led = GuessVibrationLed();
        value = static_cast<DWORD>(g_led);
        RegSetValueExW(key, u"VibrateLED", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
    g_ledKnown = true;
    return g_led;
}

void ResetVibrationLedCache() { g_ledKnown = false; }

void VibratePulse(DWORD milliseconds) {
    int led = VibrationLed();
    if (led < 0)
        return;
    NLED_SETTINGS_INFO settings{};
    settings.LedNum = static_cast<UINT>(led);
    settings.OffOnBlink = 1;
    NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings);
    Sleep(milliseconds);
    settings.OffOnBlink = 0;
    NLedSetDevice(NLED_SETTINGS_INFO_ID, &settings);
}

} // namespace common
