// The wave device keeps its volume, takes over the stored system volume at boot, and the
// `sound` command shows it with the sound settings of a fresh phone.
#include "ce/mmsystem.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "console/DeviceCommands.h"
#include "support/TestDevice.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

class WaveVolume : public testsupport::TestDevice {
protected:
    std::vector<std::string> Answer(const std::string& line) {
        platform::Console console;
        platform::RegisterDeviceCommands(console);
        return console.Execute(line).lines;
    }
    bool Shows(const std::vector<std::string>& lines, const std::string& line) {
        return std::find(lines.begin(), lines.end(), line) != lines.end();
    }
};

TEST_F(WaveVolume, KeepsTheVolumeOfDeviceZeroOnly) {
    DWORD volume = 0;
    ASSERT_EQ(waveOutGetVolume(nullptr, &volume), MMSYSERR_NOERROR);
    // A fresh phone plays at its stored system volume.
    EXPECT_EQ(volume, 0x99999999u);
    EXPECT_EQ(waveOutSetVolume(nullptr, 0x12345678), MMSYSERR_NOERROR);
    ASSERT_EQ(waveOutGetVolume(nullptr, &volume), MMSYSERR_NOERROR);
    EXPECT_EQ(volume, 0x12345678u);
    HWAVEOUT other = reinterpret_cast<HWAVEOUT>(1);
    EXPECT_EQ(waveOutSetVolume(other, 0), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutGetVolume(other, &volume), MMSYSERR_INVALHANDLE);
    EXPECT_EQ(waveOutGetVolume(nullptr, nullptr), MMSYSERR_INVALPARAM);
    EXPECT_EQ(volume, 0x12345678u);
    EXPECT_EQ(waveOutGetNumDevs(), 1u);
}

TEST_F(WaveVolume, BootTakesOverTheStoredSystemVolume) {
    RegistrySetDWORD(HKEY_CURRENT_USER, u"ControlPanel\\Volume", u"Volume", 0x44444444);
    waveOutSetVolume(nullptr, 0);
    Reboot();
    DWORD volume = 0;
    ASSERT_EQ(waveOutGetVolume(nullptr, &volume), MMSYSERR_NOERROR);
    EXPECT_EQ(volume, 0x44444444u);
}

TEST_F(WaveVolume, SoundCommandShowsTheLevelCountingFactorySettings) {
    auto lines = Answer("sound");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "wave 0x99999999");
    EXPECT_EQ(lines.back(), "OK");
    for (const char* expected : {
             "ControlPanel\\Volume Volume dword 0x99999999",
             "ControlPanel\\Volume Ringer dword 0x00000003",
             "ControlPanel\\Volume Screen dword 0x00000001",
             "ControlPanel\\Volume Key dword 0x00000001",
             "ControlPanel\\SoundCategories\\Ring InitVol dword 0x00000003",
             "ControlPanel\\Sounds\\RingTone0 Sound sz \\Windows\\Ring.wav",
             "ControlPanel\\Sounds\\RingTone0 Script sz apw3r",
             "ControlPanel\\Notifications\\ShellOverrides Mode dword 0x00000000",
             "ControlPanel\\Notifications\\ShellOverrides SavedRingerVolume missing",
             "ControlPanel\\Sounds\\RingTone0 SavedScript missing",
         })
        EXPECT_TRUE(Shows(lines, expected)) << expected;
}

TEST_F(WaveVolume, SoundVolumeSetsTheWaveVolume) {
    EXPECT_EQ(Answer("sound volume 0x00FF00FF"), (std::vector<std::string>{"OK"}));
    EXPECT_EQ(Answer("sound").front(), "wave 0x00FF00FF");
    EXPECT_EQ(Answer("sound volume 0x100000000").back().rfind("ERROR usage", 0), 0u);
    EXPECT_EQ(Answer("sound volume").back().rfind("ERROR usage", 0), 0u);
}

} // namespace
