#include "ce/files.h"
#include "ce/kernel.h"
#include "ce/registry.h"
#include "ce/resource.h"
#include "common/Language.h"
#include "resource/MuiFile.h"
#include "support/TestDevice.h"

#include <string>

using testsupport::TestDevice;

namespace {

void WriteDeviceFile(const WCHAR* path, const std::string& bytes) {
    HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

void SetLanguageId(DWORD id) {
    HKEY key = nullptr;
    DWORD disposition = 0;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora", 0, nullptr, 0, 0, nullptr,
                    &key, &disposition);
    RegSetValueExW(key, u"LangID", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&id), 4);
    RegCloseKey(key);
}

// The program's own strings stand in a data module "\App\App.exe"; translations beside it.
class Language : public TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        CreateDirectoryW(u"\\App", nullptr);
        WriteDeviceFile(u"\\App\\App.exe",
                        platform::MuiFile::Serialize({{1, u"Hello"}, {2, u"%d calls from %s"},
                                                      {3, u"A longer English sentence"}}));
        m_own = LoadLibraryExW(u"\\App\\App.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(m_own, nullptr);
    }
    void TearDown() override {
        common::FreeLanguage();
        FreeLibrary(m_own);
        TestDevice::TearDown();
    }
    std::u16string Text(UINT id, int size = 64) {
        std::u16string buffer(size, u'#');
        common::LoadText(id, buffer.data(), size);
        return std::u16string(buffer.c_str());
    }
    HMODULE m_own = nullptr;
};

TEST_F(Language, EnglishUsesTheOwnStringsWithoutLookingForAFile) {
    WriteDeviceFile(u"\\App\\App.0409.mui", platform::MuiFile::Serialize({{1, u"Other"}}));
    common::LoadLanguage(m_own, u"Dialora", nullptr);
    EXPECT_EQ(common::LanguageId(), 1033);
    EXPECT_EQ(common::LanguageModule(), m_own);
    EXPECT_EQ(Text(1), u"Hello");
    EXPECT_EQ(Text(99), u"");
}

TEST_F(Language, ChosenLanguageFileIsUsed) {
    SetLanguageId(0x0407);
    WriteDeviceFile(u"\\App\\App.0407.mui", platform::MuiFile::Serialize({{1, u"Hallo"}}));
    common::LoadLanguage(m_own, u"Dialora", nullptr);
    EXPECT_EQ(common::LanguageId(), 0x0407);
    EXPECT_NE(common::LanguageModule(), m_own);
    EXPECT_EQ(Text(1), u"Hallo");
    EXPECT_EQ(Text(3), u"") << "a string missing from the language file is empty";
}

TEST_F(Language, MissingFileFallsBackToTheEnglishFileAndThenToTheOwnStrings) {
    SetLanguageId(0x0407);
    WriteDeviceFile(u"\\App\\App.0409.mui", platform::MuiFile::Serialize({{1, u"Hi"}}));
    common::LoadLanguage(m_own, u"Dialora", nullptr);
    EXPECT_EQ(common::LanguageId(), 1033);
    EXPECT_EQ(Text(1), u"Hi");
    common::FreeLanguage();
    DeleteFileW(u"\\App\\App.0409.mui");
    common::LoadLanguage(m_own, u"Dialora", nullptr);
    EXPECT_EQ(common::LanguageId(), 1033);
    EXPECT_EQ(common::LanguageModule(), m_own);
    EXPECT_EQ(Text(1), u"Hello");
}

TEST_F(Language, LongStringsAreCutAndTerminated) {
    common::LoadLanguage(m_own, u"Dialora", nullptr);
    // The loader is given one character less than the buffer holds.
    EXPECT_EQ(Text(3, 8), u"A long");
    EXPECT_EQ(Text(3, 1), u"");
}

TEST_F(Language, TranslationWithOtherConversionsIsNotUsed) {
    SetLanguageId(0x0407);
    WriteDeviceFile(u"\\App\\App.0407.mui",
                    platform::MuiFile::Serialize({{1, u"Hallo %s"}, {2, u"%s Anrufe von %d"}}));
    common::LoadLanguage(m_own, u"Dialora", nullptr);
    EXPECT_EQ(Text(1), u"Hello") << "a conversion the English string lacks";
    EXPECT_EQ(Text(2), u"%d calls from %s") << "conversions in another order";
}

TEST(LanguageConversions, CompareOnlyWhatPrintfReads) {
    EXPECT_TRUE(common::SameConversions(u"%d of %s", u"%5d von %-10s"));
    EXPECT_TRUE(common::SameConversions(u"100%% sure", u"ganz sicher"));
    EXPECT_FALSE(common::SameConversions(u"%d", u"%s"));
    EXPECT_FALSE(common::SameConversions(u"%d", u"%ld"));
    EXPECT_FALSE(common::SameConversions(u"%*d", u"%d"));
    EXPECT_FALSE(common::SameConversions(u"%s", u"%s %s"));
    EXPECT_TRUE(common::SameConversions(u"trailing %", u"am Ende %"));
}

TEST(MuiFileFormat, RoundTripsAndRefusesDamagedFiles) {
    platform::MuiFile::Strings strings{{7, u"Sieben"}, {65535, u""}, {1, u"\u00e4\u20ac"}};
    std::string bytes = platform::MuiFile::Serialize(strings);
    auto parsed = platform::MuiFile::Parse(bytes);
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, strings);
    EXPECT_FALSE(platform::MuiFile::Parse(bytes.substr(0, bytes.size() - 1)));
    EXPECT_FALSE(platform::MuiFile::Parse(bytes + "x"));
    std::string hugeCount = bytes;
    hugeCount[11] = '\x7F';
    EXPECT_FALSE(platform::MuiFile::Parse(hugeCount));
    EXPECT_FALSE(platform::MuiFile::Parse("DLRMUI1"));
}

} // namespace
