// The record of user options shared by every deliverable, kept under HKEY_LOCAL_MACHINE
// "Software\Tavik\Dialora\Options". The main program embeds one in its core object and
// the UI library reads and writes that very record in place.
#pragma once

#include "ce/types.h"

namespace common {

namespace SettingsFlag {
constexpr DWORD kGroupByContact = 0x1;
constexpr DWORD kLastViewFavorites = 0x2;
constexpr DWORD kLastViewCallHistory = 0x4;
constexpr DWORD kFavoritesFaceView = 0x10;
constexpr DWORD kContactsFaceView = 0x20;
constexpr DWORD kLetterBarVisible = 0x40;
constexpr DWORD kShowExtensions = 0x80;
constexpr DWORD kConfirmDelete = 0x100;
constexpr DWORD kShowOwnReplies = 0x200;
constexpr DWORD kWholeHistory = 0x400;
constexpr DWORD kFilterByCategory = 0x1000;
constexpr DWORD kFilterByCompany = 0x2000;
constexpr DWORD kHotKeyCallsBestFriend = 0x10000;
constexpr DWORD kHotKeyCallsIce = 0x20000;
constexpr DWORD kComposeMms = 0x100000;
constexpr DWORD kFullScreenCallerPicture = 0x200000;
constexpr DWORD kVibrateOnTap = 0x400000;
constexpr DWORD kKeepDefaultNumber = 0x800000;
constexpr DWORD kStartOnFacebookFriends = 0x2000000;
constexpr DWORD kDefault = 0x351;
} // namespace SettingsFlag

// The options, in their stored order. Strings are always terminated.
struct SettingsRecord {
    DWORD flags = SettingsFlag::kDefault;
    DWORD pictureWidth = 0;
    DWORD pictureHeight = 0;
    DWORD groupDays = 2;
    DWORD billingDay = 1;
    DWORD sendKeyAction = 1;
    DWORD displayName = 0;
    DWORD callHistAction = 0;
    DWORD handleIncomingCalls = 0;
    DWORD showSimContacts = 1;
    WCHAR defEmailAccount[261] = {};
    WCHAR filter[65] = {};
    WCHAR skin[65] = {};
    WCHAR hotPhone[49] = {};
};

bool SameSettings(const SettingsRecord& a, const SettingsRecord& b);

// The record with the snapshot taken at the last load or save.
class Settings {
public:
    // Fills the record with the defaults, then reads every value that exists.
    void Load();
    // Writes every value, but only when the record differs from the snapshot. Returns
    // false when a value could not be written.
    bool Save();

    SettingsRecord& Record() { return m_record; }
    const SettingsRecord& Record() const { return m_record; }

    static SettingsRecord Defaults();

private:
    SettingsRecord m_record;
    SettingsRecord m_snapshot;
};

// Number of the notification LED that drives the vibrator, or -1 for none; determined
// from the OEM string and the LED count on first use and stored as "VibrateLED".
int VibrationLed();
// Forgets the cached LED number (the next call reads the registry again).
void ResetVibrationLedCache();
// Switches the vibrator on for `milliseconds`, when a vibration LED is known.
void VibratePulse(DWORD milliseconds);

extern const WCHAR kOptionsKey[];
extern const WCHAR kProductKey[];

} // namespace common
