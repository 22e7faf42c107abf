#include "corvane/SoundSettings.h"

#include "ce/mmsystem.h"
#include "ce/regext.h"
#include "ce/registry.h"

#include <optional>
#include <string>

namespace corvane {

namespace {

constexpr WCHAR kVolumeKey[] = u"ControlPanel\\Volume";
constexpr WCHAR kRingCategoryKey[] = u"ControlPanel\\SoundCategories\\Ring";
constexpr WCHAR kRingToneKey[] = u"ControlPanel\\Sounds\\RingTone0";
constexpr WCHAR kOverridesKey[] = u"ControlPanel\\Notifications\\ShellOverrides";

// A ring tone is a file path; a longer text is not one this engine wrote or can restore.
constexpr UINT kMaxTextLength = 1024;

// The volume values and where each is saved while a silent profile is in force.
struct SavedVolume {
    const WCHAR* value;
    const WCHAR* saved;
};
constexpr SavedVolume kSavedVolumes[] = {
    {u"Ringer", u"SavedRingerVolume"},
    {u"Screen", u"SavedScreen"},
    {u"Key", u"SavedKey"},
};

std::optional<DWORD> ReadNumber(const WCHAR* key, const WCHAR* name) {
    DWORD value = 0;
    if (FAILED(RegistryGetDWORD(HKEY_CURRENT_USER, key, name, &value)))
        return std::nullopt;
    return value;
}

void WriteNumber(const WCHAR* key, const WCHAR* name, DWORD value) {
    RegistrySetDWORD(HKEY_CURRENT_USER, key, name, value);
}

// A text that was cut to the buffer counts as unreadable: writing it back would change it.
std::optional<std::u16string> ReadText(const WCHAR* key, const WCHAR* name) {
    WCHAR buffer[kMaxTextLength + 1] = {};
    if (RegistryGetString(HKEY_CURRENT_USER, key, name, buffer, kMaxTextLength + 1) != S_OK)
        return std::nullopt;
    return std::u16string(buffer);
}

void WriteText(const WCHAR* key, const WCHAR* name, const std::u16string& text) {
    RegistrySetString(HKEY_CURRENT_USER, key, name, text.c_str());
}

void DeleteValue(const WCHAR* key, const WCHAR* name) {
    HKEY opened = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, 0, &opened) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(opened, name);
    RegCloseKey(opened);
}

bool IsSpecialTone(const std::u16string& tone) { return !tone.empty() && tone[0] == u'*'; }

// "*vibrate" in any case at the start of the ring tone.
bool IsVibrateTone(const std::u16string& tone) {
    static constexpr char16_t kVibrate[] = u"vibrate";
    if (tone.size() < 8 || tone[0] != u'*')
        return false;
    for (size_t i = 0; i < 7; ++i) {
        char16_t c = tone[i + 1];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (c != kVibrate[i])
            return false;
    }
    return true;
}

} // namespace

void SoundSettings::Apply(const common::ProfileRecord& record) {
    if (record.systemVolume != 0 || record.ringVolume != 0)
        ApplySounding(record);
    else
        ApplyQuiet(record);
    ApplyScript(record);
}

int64_t SoundSettings::RestoreVolumes() {
    int64_t ringer = -1;
    if (auto current = ReadNumber(kVolumeKey, u"Ringer"))
        ringer = *current;
    for (const SavedVolume& volume : kSavedVolumes) {
        auto saved = ReadNumber(kOverridesKey, volume.saved);
        if (!saved || *saved == 0)
            continue;
        WriteNumber(kVolumeKey, volume.value, *saved);
        DeleteValue(kOverridesKey, volume.saved);
        if (volume.value == kSavedVolumes[0].value)
            ringer = *saved;
    }
    return ringer;
}

void SoundSettings::ApplySounding(const common::ProfileRecord& record) {
    if (auto saved = ReadText(kRingToneKey, u"SavedSound"); saved && !IsSpecialTone(*saved))
        WriteText(kRingToneKey, u"Sound", *saved);
    waveOutSetVolume(nullptr, record.systemVolume);
    int64_t ringer = RestoreVolumes();
    WriteNumber(kVolumeKey, u"Volume", record.systemVolume);
    // A device without a ringer value is taken to count in levels, as most do.
    bool countsLevels = ringer <= int64_t(kMaxRingerLevel);
    if (!countsLevels)
        WriteNumber(kVolumeKey, u"Ringer", record.ringVolume);
    else if (record.initialRingLevel >= 0)
        WriteNumber(kVolumeKey, u"Ringer", DWORD(record.initialRingLevel));
    // A profile without a first ring level (any negative level) keeps the ringer level it
    // found (restored or current); writing it would turn into a level of 0xFFFFFFFF.
    if (record.initialRingLevel >= 0)
        WriteNumber(kRingCategoryKey, u"InitVol", DWORD(record.initialRingLevel));
    WriteNumber(kOverridesKey, u"Mode", kModeNormal);
}

void SoundSettings::ApplyQuiet(const common::ProfileRecord& record) {
    DWORD mode = kModeSilent;
    if (record.ringTone) {
        if (auto current = ReadText(kRingToneKey, u"Sound"); current && !IsSpecialTone(*current))
            WriteText(kRingToneKey, u"SavedSound", *current);
        WriteText(kRingToneKey, u"Sound", *record.ringTone);
        if (IsVibrateTone(*record.ringTone))
            mode = kModeVibrate;
    }
    waveOutSetVolume(nullptr, 0);
    WriteNumber(kOverridesKey, u"SavedVolume", 0);
    WriteNumber(kVolumeKey, u"Volume", 0);
    // A zero value is not saved, so a second silent profile keeps the first saved value.
    for (const SavedVolume& volume : kSavedVolumes) {
        if (auto current = ReadNumber(kVolumeKey, volume.value); current && *current != 0)
            WriteNumber(kOverridesKey, volume.saved, *current);
        WriteNumber(kVolumeKey, volume.value, 0);
    }
    WriteNumber(kRingCategoryKey, u"InitVol", 0);
    WriteNumber(kOverridesKey, u"Mode", mode);
}

void SoundSettings::ApplyScript(const common::ProfileRecord& record) {
    if (!record.ringScript) {
        RestoreRingScript();
        return;
    }
    if (auto current = ReadText(kRingToneKey, u"Script"))
        WriteText(kRingToneKey, u"SavedScript", *current);
    WriteText(kRingToneKey, u"Script", *record.ringScript);
}

void SoundSettings::RestoreRingScript() {
    if (auto saved = ReadText(kRingToneKey, u"SavedScript"); saved && !saved->empty())
        WriteText(kRingToneKey, u"Script", *saved);
}

} // namespace corvane
