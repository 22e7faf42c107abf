// sound | sound volume: the wave volume of the device and the sound settings under
// HKCU "ControlPanel" that the sound profiles change.
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "registry/RegistryConsole.h"
#include "sound/WaveDevice.h"

namespace platform {

namespace {

struct SoundSetting {
    const char* key;
    const char* value;
};

// In the order a reader compares them: volumes, ring level, ring tone, mode, saved values.
const SoundSetting kSoundSettings[] = {
    {"ControlPanel\\Volume", "Volume"},
    {"ControlPanel\\Volume", "Ringer"},
    {"ControlPanel\\Volume", "Screen"},
    {"ControlPanel\\Volume", "Key"},
    {"ControlPanel\\SoundCategories\\Ring", "InitVol"},
    {"ControlPanel\\Sounds\\RingTone0", "Sound"},
    {"ControlPanel\\Sounds\\RingTone0", "Script"},
    {"ControlPanel\\Notifications\\ShellOverrides", "Mode"},
    {"ControlPanel\\Notifications\\ShellOverrides", "SavedVolume"},
    {"ControlPanel\\Notifications\\ShellOverrides", "SavedRingerVolume"},
    {"ControlPanel\\Notifications\\ShellOverrides", "SavedScreen"},
    {"ControlPanel\\Notifications\\ShellOverrides", "SavedKey"},
    {"ControlPanel\\Sounds\\RingTone0", "SavedSound"},
    {"ControlPanel\\Sounds\\RingTone0", "SavedScript"},
};

// One line per setting: "wave 0x99999999", then "KEY VALUE ANSWER" with the answer of
// `reg get` ("dword 0x00000003", "sz apw3r") or "missing".
CommandResult Show(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    out.Printf("wave 0x%08X", WaveDevice::Instance().Volume());
    for (const SoundSetting& setting : kSoundSettings) {
        std::string answer, error;
        if (!RegistryConsole::Get(std::string("HKCU\\") + setting.key, setting.value, answer, error))
            answer = "missing";
        out.Printf("%s %s %s", setting.key, setting.value, answer.c_str());
    }
    return CommandResult::Ok();
}

CommandResult SetVolume(const Console::Arguments& args, ConsoleOutput&) {
    int64_t volume = 0;
    if (args.size() != 1 || !Tokenizer::ParseNumber(args[0], 0, 0xFFFFFFFFLL, volume))
        return CommandResult::Usage();
    WaveDevice::Instance().SetVolume(static_cast<uint32_t>(volume));
    return CommandResult::Ok();
}

} // namespace

void RegisterSoundCommands(Console& console) {
    console.Register("sound", "", Show);
    console.Register("sound volume", "VOLUME", SetVolume);
}

} // namespace platform
