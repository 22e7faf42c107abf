// The platform's sound settings under HKEY_CURRENT_USER "ControlPanel" as a sound profile
// changes them: the volumes, the first ring level, the ring tone and script, the
// notification mode, and the values saved while a silent profile or an overriding ring
// tone and script are in force. Registry reads that fail leave the value untouched;
// writes are not checked (the platform keeps what it can).
#pragma once

#include "ce/types.h"
#include "common/ProfileRecord.h"

namespace corvane {

class SoundSettings {
public:
    // Notification modes of the shell.
    static constexpr DWORD kModeNormal = 0;
    static constexpr DWORD kModeVibrate = 1;
    static constexpr DWORD kModeSilent = 2;
    // A ringer value up to this is a level (0 to 5), above it a wave volume.
    static constexpr DWORD kMaxRingerLevel = 255;

    // Writes the settings of `record` and saves or restores what it overrides.
    static void Apply(const common::ProfileRecord& record);
    // Writes "SavedScript" back to "Script" when it exists and is not empty.
    static void RestoreRingScript();

private:
    static void ApplySounding(const common::ProfileRecord& record);
    static void ApplyQuiet(const common::ProfileRecord& record);
    static void ApplyScript(const common::ProfileRecord& record);
    // Restores "Ringer", "Screen" and "Key" from their saved values; returns the ringer
    // value in force afterwards, or -1 when there is none.
    static int64_t RestoreVolumes();
};

} // namespace corvane
