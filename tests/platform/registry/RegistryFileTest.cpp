#include "ce/regext.h"
#include "registry/Registry.h"
#include "registry/RegistryFile.h"
#include "support/TestDevice.h"

#include <fstream>
#include <sstream>

using platform::RegistryFile;
using platform::RegistryKey;
using platform::RegistryRoots;
using platform::RegistryValue;
using testsupport::TestDevice;

namespace {

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

RegistryKey* Make(RegistryRoots& roots, std::u16string_view path) {
    bool created;
    return roots.machine->CreatePath(path, created);
}

TEST(RegistryFileFormat, RoundTripKeepsEveryValueByteForByte) {
    RegistryRoots roots;
    RegistryKey* key = Make(roots, u"Software\\Tricky ]Name [x]\\Ünïcødé \U0001F600");
    key->SetValue(u"", RegistryValue::Text(u"default"));
    key->SetValue(u"quote\"back\\slash", RegistryValue::Text(u"C:\\x \"y\"\ttab\r\nline\x7f\U0001F600"));
    key->SetValue(u"lone", RegistryValue::Text(std::u16string(1, char16_t(0xD800)) + u"x"));
    key->SetValue(u"odd sz", RegistryValue{REG_SZ, {0x41, 0x00, 0x42}});
    key->SetValue(u"embedded nul", RegistryValue::Text(std::u16string(u"a\0b", 3)));
    key->SetValue(u"short dword", RegistryValue{REG_DWORD, {1, 2}});
    key->SetValue(u"dword", RegistryValue::Dword(0xDEADBEEF));
    key->SetValue(u"expand", RegistryValue::Text(u"%windir%", REG_EXPAND_SZ));
    key->SetValue(u"none", RegistryValue{REG_NONE, {}});
    key->SetValue(u"odd type", RegistryValue{0x12345678, {9}});
    RegistryValue big{REG_BINARY, {}};
    for (int i = 0; i < 300; ++i)
        big.data.push_back(static_cast<uint8_t>(i));
    key->SetValue(u"big", big);
    bool created;
    roots.user->CreatePath(u"Empty\\Key", created);
    roots.user->SetValue(u"root value", RegistryValue::Dword(1));

    std::string text = RegistryFile::Serialize(roots, false);
    RegistryRoots parsed;
    RegistryFile::Error error;
    ASSERT_TRUE(RegistryFile::Parse(text, parsed, error)) << error.line << ": " << error.reason << "\n" << text;
    EXPECT_TRUE(parsed == roots) << text;
    EXPECT_EQ(RegistryFile::Serialize(parsed, false), text);
    EXPECT_NE(text.find("\"dword\"=dword:deadbeef\n"), std::string::npos);
    EXPECT_NE(text.find("\"lone\"=\"\\ud800x\"\n"), std::string::npos);
}

TEST(RegistryFileFormat, DamagedInputIsRefusedWithItsLine) {
    struct Case {
        const char* text;
        size_t line;
    } cases[] = {
        {"", 0},
        {"REGEDIT5\n", 1},
        {"REGEDIT4\n\"v\"=dword:00000001\n", 2},                       // value outside a key
        {"REGEDIT4\n[HKEY_NOWHERE\\x]\n", 2},                           // unknown root
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x\n", 2},                      // unterminated section
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\a\\\\b]\n", 2},                // empty key name
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=\"bad \\q escape\"\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=\"\\u12\"\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=\"unterminated\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=dword:0000001\n", 3}, // seven digits
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=hex:01,0\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=hex:01,02,\\\n", 3}, // continuation at the end
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=hex:01,\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=hex(zz):01\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=\"a\" trailing\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"\"=\"empty name\"\n", 3},
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\n\"v\"=\"\xff\xfe\"\n", 3}, // not UTF-8
        {"REGEDIT4\n[HKEY_LOCAL_MACHINE\\x]\nv=1\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RegistryRoots roots;
        RegistryFile::Error error;
        EXPECT_FALSE(RegistryFile::Parse(c.text, roots, error));
        EXPECT_EQ(error.line, c.line == 0 ? 0u : c.line) << error.reason;
    }
}

TEST(RegistryFileFormat, AcceptsCommentsBlankLinesCrLfAndContinuations) {
    const char* text = "\xEF\xBB\xBFREGEDIT4\r\n; comment\r\n\r\n[HKEY_CURRENT_USER\\A]\r\n"
                       "\"v\"=hex:01,02,\\\r\n  03\r\n@=\"d\"\r\n";
    RegistryRoots roots;
    RegistryFile::Error error;
    ASSERT_TRUE(RegistryFile::Parse(text, roots, error)) << error.reason;
    RegistryKey* key = roots.user->FindPath(u"a");
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(*key->FindValue(u"V"), (RegistryValue{REG_BINARY, {1, 2, 3}}));
    EXPECT_EQ(key->FindValue(u"")->AsText(), u"d");
}

class RegistryPersistence : public TestDevice {
protected:
    std::filesystem::path File() const { return m_device->RegistryFile(); }
    static DWORD Get(HKEY root, const char16_t* key, const char16_t* name, HRESULT* result = nullptr) {
        DWORD value = 0xFFFFFFFF;
        HRESULT hr = RegistryGetDWORD(root, key, name, &value);
        if (result)
            *result = hr;
        return value;
    }
};

TEST_F(RegistryPersistence, ValuesSurviveARebootAndVolatileKeysDoNot) {
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", u"Skin", 7), S_OK);
    ASSERT_EQ(RegistrySetString(HKEY_CURRENT_USER, u"Software\\Text", u"Name", u"Ünïcødé \"q\""), S_OK);
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", 0x10000), S_OK);
    ASSERT_EQ(RegistrySetDWORD(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count", 3), S_OK);
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Extra", u"x", 1), S_OK);
    Reboot();
    EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora\\Options", u"Skin"), 7u);
    WCHAR text[32];
    ASSERT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"Software\\Text", u"Name", text, 32), S_OK);
    EXPECT_EQ(std::u16string(text), u"Ünïcødé \"q\"");
    // Phone state starts from the factory values again.
    EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status"), 0u);
    EXPECT_EQ(Get(HKEY_CURRENT_USER, u"System\\State\\Phone", u"Missed Call Count"), 0u);
    HRESULT hr;
    Get(HKEY_LOCAL_MACHINE, u"System\\State\\Extra", u"x", &hr);
    EXPECT_EQ(hr, HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
    std::string file = ReadFile(File());
    EXPECT_EQ(file.find("System\\State"), std::string::npos) << file;
    EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora", u"LangID"), 1033u);
}

TEST_F(RegistryPersistence, ChangesAreSavedSoonWithoutAShutdown) {
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Soon", u"v", 5), S_OK);
    bool saved = false;
    for (int i = 0; i < 100 && !saved; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        saved = ReadFile(File()).find("[HKEY_LOCAL_MACHINE\\Software\\Soon]\n\"v\"=dword:00000005") != std::string::npos;
    }
    EXPECT_TRUE(saved);
}

TEST_F(RegistryPersistence, AFailedSaveLeavesTheOldFileIntact) {
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Atomic", u"v", 1), S_OK);
    ASSERT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    std::string before = ReadFile(File());
    // A folder where the temporary file belongs makes the write fail, even for root.
    auto temporary = File();
    temporary += ".tmp";
    std::filesystem::create_directory(temporary);
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Atomic", u"v", 2), S_OK);
    EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_CANTWRITE);
    EXPECT_EQ(ReadFile(File()), before);
    // Once the obstacle is gone the change is still pending and gets written.
    std::filesystem::remove(temporary);
    EXPECT_EQ(RegFlushKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    EXPECT_NE(ReadFile(File()).find("\"v\"=dword:00000002"), std::string::npos);
}

TEST_F(RegistryPersistence, ADamagedFileIsSetAsideAndFactoryValuesReturn) {
    ASSERT_EQ(RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora", u"LangID", 1031), S_OK);
    m_device->Shutdown();
    std::string damaged = ReadFile(File()) + "\"broken\"=hex:0\n";
    WriteFile(File(), damaged);
    Reboot();
    EXPECT_EQ(Get(HKEY_LOCAL_MACHINE, u"Software\\Tavik\\Dialora", u"LangID"), 1033u);
    WCHAR text[64];
    ASSERT_EQ(RegistryGetString(HKEY_LOCAL_MACHINE, u"Software\\Microsoft\\Shell\\Rai\\:Corvane", u"1", text, 64), S_OK);
    EXPECT_EQ(std::u16string(text), u"\\Program Files\\Tavik Dialora\\Corvane.exe");
    int setAside = 0;
    for (const auto& entry : std::filesystem::directory_iterator(File().parent_path())) {
        if (entry.path().filename().string().starts_with("registry.reg.corrupt-")) {
            ++setAside;
            EXPECT_EQ(ReadFile(entry.path()), damaged);
        }
    }
    EXPECT_EQ(setAside, 1);
    EXPECT_TRUE(platform::Registry::Instance().IsPersistent());
}

TEST_F(RegistryPersistence, StringReadsAreTerminatedAndTruncationIsReported) {
    const BYTE raw[] = {'a', 0, 'b', 0, 'c'}; // odd size, no terminator
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Raw", 0, nullptr, 0, 0, nullptr, &key, nullptr), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"v", 0, REG_SZ, raw, sizeof raw), ERROR_SUCCESS);
    RegCloseKey(key);
    WCHAR text[8];
    std::fill(std::begin(text), std::end(text), u'#');
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"Software\\Raw", u"v", text, 8), S_OK);
    EXPECT_EQ(std::u16string(text), u"ab");
    EXPECT_EQ(RegistryGetString(HKEY_CURRENT_USER, u"Software\\Raw", u"v", text, 2),
              HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_EQ(std::u16string(text), u"a");
    Reboot(); // the odd value survives the file byte for byte
    BYTE back[8];
    DWORD size = sizeof back;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Raw", 0, 0, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegQueryValueExW(key, u"v", nullptr, nullptr, back, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::vector<BYTE>(back, back + size), std::vector<BYTE>(raw, raw + sizeof raw));
    RegCloseKey(key);
}

} // namespace
