// The sound-profile engine on a booted device: what each profile writes to the sound
// settings, what it saves and brings back, "LastProfile", the custom profile of the
// profile file and the decline rule the call watcher reads.
#include "ce/mmsystem.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "common/ProfileFile.h"
#include "common/Settings.h"
#include "corvane/BuiltinProfiles.h"
#include "corvane/ProfileEngine.h"
#include "support/TestDevice.h"

#include <optional>
#include <string>

using common::ProfileRecord;
using corvane::ProfileEngine;

namespace {

constexpr WCHAR kVolume[] = u"ControlPanel\\Volume";
constexpr WCHAR kRing[] = u"ControlPanel\\SoundCategories\\Ring";
constexpr WCHAR kTone[] = u"ControlPanel\\Sounds\\RingTone0";
constexpr WCHAR kOverrides[] = u"ControlPanel\\Notifications\\ShellOverrides";
constexpr WCHAR kProfileFile[] = u"\\Temp\\CustomProfile.xml";

enum Index { kNormal, kSilent, kMeeting, kLoud, kDecline, kCustom };

std::optional<DWORD> Number(HKEY root, const WCHAR* key, const WCHAR* name) {
    DWORD value = 0;
    if (FAILED(RegistryGetDWORD(root, key, name, &value)))
        return std::nullopt;
    return value;
}

std::optional<DWORD> Number(const WCHAR* key, const WCHAR* name) {
    return Number(HKEY_CURRENT_USER, key, name);
}

std::optional<std::u16string> Text(const WCHAR* key, const WCHAR* name) {
    WCHAR buffer[300] = {};
    if (FAILED(RegistryGetString(HKEY_CURRENT_USER, key, name, buffer, 300)))
        return std::nullopt;
    return std::u16string(buffer);
}

std::optional<DWORD> LastProfile() {
    return Number(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile");
}

DWORD WaveVolume() {
    DWORD volume = 0;
    waveOutGetVolume(nullptr, &volume);
    return volume;
}

class ProfileEngineTest : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        m_engine.emplace(kProfileFile);
    }
    void TearDown() override {
        m_engine.reset();
        TestDevice::TearDown();
    }

    static void WriteCustom(const ProfileRecord& base) {
        ASSERT_TRUE(common::WriteProfileFile(kProfileFile, base, {}));
    }

    std::optional<ProfileEngine> m_engine;
};

TEST_F(ProfileEngineTest, SilentThenNormalBringsBackToneAndVolumes) {
    RegistrySetDWORD(HKEY_CURRENT_USER, kVolume, u"Screen", 2);
    RegistrySetDWORD(HKEY_CURRENT_USER, kVolume, u"Key", 2);
    ASSERT_TRUE(m_engine->ApplyByIndex(kSilent));
    EXPECT_EQ(Text(kTone, u"Sound"), u"*none*");
    EXPECT_EQ(Text(kTone, u"SavedSound"), u"\\Windows\\Ring.wav");
    EXPECT_EQ(Text(kTone, u"Script"), u"af3");
    EXPECT_EQ(Text(kTone, u"SavedScript"), u"apw3r");
    for (const WCHAR* name : {u"Volume", u"Ringer", u"Screen", u"Key"})
        EXPECT_EQ(Number(kVolume, name), 0u);
    EXPECT_EQ(Number(kOverrides, u"SavedRingerVolume"), 3u);
    EXPECT_EQ(Number(kOverrides, u"SavedScreen"), 2u);
    EXPECT_EQ(Number(kOverrides, u"SavedKey"), 2u);
    EXPECT_EQ(Number(kRing, u"InitVol"), 0u);
    EXPECT_EQ(WaveVolume(), 0u);

    ASSERT_TRUE(m_engine->ApplyByIndex(kNormal));
    EXPECT_EQ(Text(kTone, u"Sound"), u"\\Windows\\Ring.wav");
    EXPECT_EQ(Text(kTone, u"Script"), u"apw3r");
    EXPECT_EQ(Number(kVolume, u"Volume"), 0x99999999u);
    EXPECT_EQ(Number(kVolume, u"Ringer"), 3u);
    EXPECT_EQ(Number(kVolume, u"Screen"), 2u);
    EXPECT_EQ(Number(kVolume, u"Key"), 2u);
    for (const WCHAR* name : {u"SavedRingerVolume", u"SavedScreen", u"SavedKey"})
        EXPECT_FALSE(Number(kOverrides, name).has_value());
    EXPECT_EQ(Number(kOverrides, u"Mode"), 0u);
    EXPECT_EQ(WaveVolume(), 0x99999999u);
    EXPECT_EQ(LastProfile(), DWORD(kNormal));
}

struct ModeCase {
    int index;
    DWORD mode;
    const char16_t* sound;
    DWORD ringer;
};

TEST_F(ProfileEngineTest, EachBuiltinProfileSetsItsModeToneAndRinger) {
    const ModeCase cases[] = {
        {kMeeting, 1, u"*vibrate*", 0}, {kSilent, 2, u"*none*", 0}, {kDecline, 2, u"*none*", 0},
        // Sounding profiles leave the tone; a level-counting ringer gets the first ring level.
        {kLoud, 0, u"\\Windows\\Ring.wav", 5}, {kNormal, 0, u"\\Windows\\Ring.wav", 3},
    };
    for (const ModeCase& c : cases) {
        SCOPED_TRACE(c.index);
        ASSERT_TRUE(m_engine->ApplyByIndex(c.index));
        EXPECT_EQ(Number(kOverrides, u"Mode"), c.mode);
        EXPECT_EQ(Text(kTone, u"Sound"), c.sound);
        EXPECT_EQ(Number(kVolume, u"Ringer"), c.ringer);
        EXPECT_EQ(LastProfile(), DWORD(c.index));
    }
}

TEST_F(ProfileEngineTest, LoudWritesALevelOrAWaveVolumeAsTheRingerCounts) {
    // Level 3 of a level-counting ringer becomes Loud's first ring level.
    ASSERT_TRUE(m_engine->ApplyByIndex(kLoud));
    EXPECT_EQ(Number(kVolume, u"Ringer"), 5u);
    EXPECT_EQ(Number(kRing, u"InitVol"), 5u);
    EXPECT_EQ(Number(kVolume, u"Volume"), 0xFFFFFFFFu);
    // A ringer kept as a wave volume gets Loud's ring volume.
    RegistrySetDWORD(HKEY_CURRENT_USER, kVolume, u"Ringer", 0x66666666);
    ASSERT_TRUE(m_engine->ApplyByIndex(kLoud));
    EXPECT_EQ(Number(kVolume, u"Ringer"), 0xFFFFFFFFu);
}

TEST_F(ProfileEngineTest, SilentTwiceKeepsTheFirstSavedValues) {
    ASSERT_TRUE(m_engine->ApplyByIndex(kSilent));
    ASSERT_TRUE(m_engine->ApplyByIndex(kSilent));
    EXPECT_EQ(Number(kOverrides, u"SavedRingerVolume"), 3u);
    EXPECT_EQ(Number(kOverrides, u"SavedScreen"), 1u);
    EXPECT_EQ(Text(kTone, u"SavedSound"), u"\\Windows\\Ring.wav");
    // The script was restored before the second apply, so the user's own one stays saved.
    EXPECT_EQ(Text(kTone, u"SavedScript"), u"apw3r");
    ASSERT_TRUE(m_engine->ApplyByIndex(kNormal));
    EXPECT_EQ(Number(kVolume, u"Screen"), 1u);
    EXPECT_EQ(Text(kTone, u"Sound"), u"\\Windows\\Ring.wav");
}

TEST_F(ProfileEngineTest, RefusedIndexesChangeNothing) {
    ASSERT_TRUE(m_engine->ApplyByIndex(kMeeting));
    // Index 5 without a profile file; indexes beyond the table.
    for (int64_t index : {int64_t(kCustom), int64_t(6), int64_t(-2), int64_t(0x100000000)}) {
        SCOPED_TRACE(index);
        EXPECT_FALSE(m_engine->ApplyByIndex(index));
        EXPECT_EQ(LastProfile(), DWORD(kMeeting));
        EXPECT_EQ(Number(kOverrides, u"Mode"), 1u);
        EXPECT_EQ(Text(kTone, u"Sound"), u"*vibrate*");
    }
    // A damaged "LastProfile" is refused as well, and stays as it is.
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile", 9);
    EXPECT_FALSE(m_engine->ApplyByIndex(corvane::kLastProfileIndex));
    EXPECT_EQ(LastProfile(), 9u);
    EXPECT_EQ(Number(kOverrides, u"Mode"), 1u);
}

TEST_F(ProfileEngineTest, LastProfileIsAppliedByMinusOne) {
    // A fresh device has none: nothing is applied.
    EXPECT_FALSE(m_engine->ApplyByIndex(corvane::kLastProfileIndex));
    EXPECT_EQ(Number(kOverrides, u"Mode"), 0u);
    RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile", kMeeting);
    ASSERT_TRUE(m_engine->ApplyByIndex(corvane::kLastProfileIndex));
    EXPECT_EQ(Number(kOverrides, u"Mode"), 1u);
    EXPECT_EQ(LastProfile(), DWORD(kMeeting));
}

TEST_F(ProfileEngineTest, ACustomProfileWithoutRingLevelKeepsTheRinger) {
    // -1 means no first ring level; any other negative level from the file reads the same.
    for (int level : {-1, -2, -1000}) {
        SCOPED_TRACE(level);
        ProfileRecord custom;
        custom.name = u"Mine";
        custom.systemVolume = 0x77777777;
        custom.ringVolume = 0x77777777;
        custom.initialRingLevel = level;
        custom.ringScript = u"p";
        WriteCustom(custom);
        ASSERT_TRUE(m_engine->ApplyByIndex(kSilent));
        ASSERT_TRUE(m_engine->ApplyByIndex(kCustom));
        EXPECT_EQ(m_engine->CurrentName(), u"Mine");
        // The ringer saved by Silent comes back; the level is neither written as a ringer
        // level nor as InitVol.
        EXPECT_EQ(Number(kVolume, u"Ringer"), 3u);
        EXPECT_EQ(Number(kRing, u"InitVol"), 0u);
        EXPECT_EQ(Number(kVolume, u"Volume"), 0x77777777u);
        EXPECT_EQ(Text(kTone, u"Script"), u"p");
        EXPECT_EQ(LastProfile(), DWORD(kCustom));
    }
}

TEST_F(ProfileEngineTest, ShutdownRestoresTheRingScript) {
    ASSERT_TRUE(m_engine->ApplyByIndex(kMeeting));
    EXPECT_EQ(Text(kTone, u"Script"), u"av1w1r");
    m_engine->Shutdown();
    EXPECT_EQ(Text(kTone, u"Script"), u"apw3r");
}

TEST_F(ProfileEngineTest, TellsTheDeclineRuleOfTheCurrentProfile) {
    EXPECT_FALSE(m_engine->CurrentDeclineRule().has_value());
    ASSERT_TRUE(m_engine->ApplyByIndex(kDecline));
    auto rule = m_engine->CurrentDeclineRule();
    ASSERT_TRUE(rule.has_value());
    EXPECT_EQ(rule->action, common::DeclineAction::Decline);
    ASSERT_TRUE(m_engine->ApplyByIndex(kNormal));
    EXPECT_FALSE(m_engine->CurrentDeclineRule().has_value());

    ProfileRecord custom;
    custom.name = u"Busy";
    custom.ringTone = u"*none*";
    custom.declineMode = common::DeclineMode::AllCalls;
    custom.declineAction = common::DeclineAction::DeclineWithSms;
    custom.declineText = u"In a meeting";
    WriteCustom(custom);
    ASSERT_TRUE(m_engine->ApplyByIndex(kCustom));
    rule = m_engine->CurrentDeclineRule();
    ASSERT_TRUE(rule.has_value());
    EXPECT_EQ(rule->action, common::DeclineAction::DeclineWithSms);
    EXPECT_EQ(rule->text, u"In a meeting");
}

} // namespace
