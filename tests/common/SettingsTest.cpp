#include "ce/registry.h"
#include "common/Settings.h"
#include "device/LedBank.h"
#include "support/TestDevice.h"

#include <string>

using testsupport::TestDevice;

namespace {

HKEY OpenOptions() {
    HKEY key = nullptr;
    DWORD disposition = 0;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, common::kOptionsKey, 0, nullptr, 0, 0, nullptr, &key,
                    &disposition);
    return key;
}

bool HasValue(const WCHAR* name) {
    HKEY key = OpenOptions();
    DWORD size = 0;
    bool exists = RegQueryValueExW(key, name, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS;
    RegCloseKey(key);
    return exists;
}

void SetText(const WCHAR* name, const std::u16string& text) {
    HKEY key = OpenOptions();
    RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                   static_cast<DWORD>((text.size() + 1) * 2));
    RegCloseKey(key);
}

class SettingsStore : public TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        common::ResetVibrationLedCache();
    }
};

TEST_F(SettingsStore, FreshDeviceGivesTheDefaults) {
    common::Settings settings;
    settings.Load();
    const common::SettingsRecord& r = settings.Record();
    // The factory phone has two LEDs, the second drives the vibrator.
    EXPECT_EQ(r.flags, 0x400351u);
    EXPECT_EQ(r.groupDays, 2u);
    EXPECT_EQ(r.billingDay, 1u);
    EXPECT_EQ(r.sendKeyAction, 1u);
    EXPECT_EQ(r.showSimContacts, 1u);
    EXPECT_EQ(r.handleIncomingCalls, 0u);
    EXPECT_EQ(r.pictureHeight, 160u);
    EXPECT_EQ(r.pictureWidth, 120u);
    EXPECT_EQ(r.skin[0], 0);
    EXPECT_EQ(r.hotPhone[0], 0);
    EXPECT_EQ(r.defEmailAccount[0], 0);
}

TEST_F(SettingsStore, UnchangedSaveWritesNothingAndChangedSaveWritesAll) {
    common::Settings settings;
    settings.Load();
    EXPECT_TRUE(settings.Save());
    EXPECT_FALSE(HasValue(u"Flags")) << "an unchanged record must not be written";
    settings.Record().groupDays = 3;
    EXPECT_TRUE(settings.Save());
    EXPECT_TRUE(HasValue(u"Flags"));
    EXPECT_TRUE(HasValue(u"Billingday"));
    // Remove a value behind the store's back: a second unchanged save leaves it missing.
    HKEY key = OpenOptions();
    RegDeleteValueW(key, u"Flags");
    RegCloseKey(key);
    EXPECT_TRUE(settings.Save());
    EXPECT_FALSE(HasValue(u"Flags"));
    common::Settings reloaded;
    reloaded.Load();
    EXPECT_EQ(reloaded.Record().groupDays, 3u);
}

TEST_F(SettingsStore, LongStringsAreCutToTheirFieldsAndWrongTypesIgnored) {
    SetText(u"Skin", std::u16string(200, u'S'));
    SetText(u"HotPhone", std::u16string(100, u'1'));
    SetText(u"Filter", u"Friends");
    HKEY key = OpenOptions();
    RegSetValueExW(key, u"GroupDays", 0, REG_SZ, reinterpret_cast<const BYTE*>(u"3"), 4);
    RegCloseKey(key);
    common::Settings settings;
    settings.Load();
    EXPECT_EQ(std::u16string(settings.Record().skin), std::u16string(64, u'S'));
    EXPECT_EQ(std::u16string(settings.Record().hotPhone), std::u16string(48, u'1'));
    EXPECT_EQ(std::u16string(settings.Record().filter), u"Friends");
    EXPECT_EQ(settings.Record().groupDays, 2u);
}

struct LedCase {
    const char* oem;
    int leds;
    int expected;
};

class VibrationLed : public TestDevice, public ::testing::WithParamInterface<LedCase> {
protected:
    VibrationLed() {
        m_options.oem = GetParam().oem;
        m_options.ledCount = GetParam().leds;
    }
    void SetUp() override {
        TestDevice::SetUp();
        common::ResetVibrationLedCache();
    }
};

TEST_P(VibrationLed, IsGuessedFromTheOemStringAndStored) {
    EXPECT_EQ(common::VibrationLed(), GetParam().expected);
    DWORD value = 0, size = sizeof value;
    HKEY key = OpenOptions();
    ASSERT_EQ(RegQueryValueExW(key, u"VibrateLED", nullptr, nullptr,
                               reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(static_cast<int>(value), GetParam().expected);
    common::Settings settings;
    settings.Load();
    EXPECT_EQ((settings.Record().flags & 0x400000) != 0, GetParam().expected >= 0);
}

INSTANTIATE_TEST_SUITE_P(OemStrings, VibrationLed,
                         ::testing::Values(LedCase{"HTC Touch Diamond", 5, 1},
                                           LedCase{"htc kaiser", 4, 1},
                                           LedCase{"X1i Xperia", 6, 1},
                                           LedCase{"Generic", 2, 1},
                                           LedCase{"Samsung SGH-i900", 12, 10},
                                           LedCase{"Samsung SGH-i900", 9, -1},
                                           LedCase{"HP iPAQ 910", 4, 3},
                                           LedCase{"HPiPAQ", 4, -1},
                                           LedCase{"Generic", 1, -1},
                                           LedCase{"HP iPAQ", 0, -1}));

TEST_F(SettingsStore, StoredLedNumberWinsAndPulsesSwitchItOnAndOff) {
    HKEY key = OpenOptions();
    DWORD led = 0;
    RegSetValueExW(key, u"VibrateLED", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&led), 4);
    RegCloseKey(key);
    EXPECT_EQ(common::VibrationLed(), 0);
    common::VibratePulse(1);
    auto& bank = platform::LedBank::Instance();
    EXPECT_EQ(bank.OnCounts()[0], 1);
    EXPECT_EQ(bank.States()[0], 0);
}

} // namespace
