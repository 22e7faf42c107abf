#include "ce/registry.h"
#include "registry/RegistryConsole.h"
#include "support/TestDevice.h"

#include <cstring>
#include <string>
#include <vector>

using testsupport::TestDevice;

namespace {

class RegistryApi : public TestDevice {
protected:
    HKEY Create(HKEY base, const char16_t* path, DWORD* disposition = nullptr) {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyExW(base, path, 0, nullptr, 0, 0, nullptr, &key, disposition), ERROR_SUCCESS);
        return key;
    }
    static LONG SetText(HKEY key, const char16_t* name, std::u16string_view text, DWORD type = REG_SZ) {
        return RegSetValueExW(key, name, 0, type, reinterpret_cast<const BYTE*>(text.data()),
                              static_cast<DWORD>((text.size() + 1) * 2));
    }
    static LONG SetDword(HKEY key, const char16_t* name, DWORD value) {
        return RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
    }
};

TEST_F(RegistryApi, CreateReportsDispositionAndBuildsNestedPaths) {
    DWORD disposition = 0;
    HKEY deep = Create(HKEY_LOCAL_MACHINE, u"Software\\Test\\A\\B\\C", &disposition);
    EXPECT_EQ(disposition, REG_CREATED_NEW_KEY);
    HKEY again = Create(HKEY_LOCAL_MACHINE, u"software\\TEST\\a\\b\\c", &disposition);
    EXPECT_EQ(disposition, REG_OPENED_EXISTING_KEY);
    HKEY middle = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test\\A", 0, 0, &middle), ERROR_SUCCESS);
    EXPECT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Test\\Missing", 0, 0, &middle), ERROR_FILE_NOT_FOUND);
    // Names that the registry file could not hold are refused.
    HKEY bad = nullptr;
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, u"Software\\Bad\nName", 0, nullptr, 0, 0, nullptr, &bad, nullptr),
              ERROR_INVALID_PARAMETER);
    std::u16string tooLong(256, u'x');
    EXPECT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, tooLong.c_str(), 0, nullptr, 0, 0, nullptr, &bad, nullptr),
              ERROR_INVALID_PARAMETER);
    RegCloseKey(deep);
    RegCloseKey(again);
    RegCloseKey(middle);
}

TEST_F(RegistryApi, QueryReportsTypesAndSizesAndMoreData) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Sizes");
    ASSERT_EQ(SetText(key, u"Text", u"abc"), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"Number", 10), ERROR_SUCCESS);
    const BYTE blob[] = {1, 2, 3, 4, 5};
    ASSERT_EQ(RegSetValueExW(key, u"Blob", 0, REG_BINARY, blob, 5), ERROR_SUCCESS);
    const char16_t multi[] = u"A\0BC\0";
    ASSERT_EQ(RegSetValueExW(key, u"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExW(key, u"Empty", 0, REG_NONE, nullptr, 0), ERROR_SUCCESS);

    struct Case {
        const char16_t* name;
        DWORD type;
        DWORD size;
    } cases[] = {{u"Text", REG_SZ, 8}, {u"Number", REG_DWORD, 4}, {u"Blob", REG_BINARY, 5},
                 {u"Multi", REG_MULTI_SZ, sizeof multi}, {u"Empty", REG_NONE, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name, c.name + std::char_traits<char16_t>::length(c.name)));
        DWORD type = 99, size = 0;
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, &type, nullptr, &size), ERROR_SUCCESS);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(size, c.size);
        if (c.size == 0)
            continue;
        std::vector<BYTE> small(c.size - 1, 0xEE);
        DWORD smallSize = c.size - 1;
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, nullptr, small.data(), &smallSize), ERROR_MORE_DATA);
        EXPECT_EQ(smallSize, c.size);
        std::vector<BYTE> exact(c.size);
        DWORD exactSize = c.size;
        EXPECT_EQ(RegQueryValueExW(key, c.name, nullptr, nullptr, exact.data(), &exactSize), ERROR_SUCCESS);
    }
    DWORD number = 0, size = 4;
    EXPECT_EQ(RegQueryValueExW(key, u"Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&number), &size), ERROR_SUCCESS);
    EXPECT_EQ(number, 10u);
    EXPECT_EQ(RegQueryValueExW(key, u"Nothing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    BYTE buffer[4];
    EXPECT_EQ(RegQueryValueExW(key, u"Number", nullptr, nullptr, buffer, nullptr), ERROR_INVALID_PARAMETER);
    // A DWORD must be four bytes; anything else would make readers overrun it.
    EXPECT_EQ(RegSetValueExW(key, u"Short", 0, REG_DWORD, blob, 2), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegSetValueExW(key, u"Null", 0, REG_BINARY, nullptr, 3), ERROR_INVALID_PARAMETER);
    RegCloseKey(key);
}

TEST_F(RegistryApi, NamesIgnoreCaseButKeepTheirSpelling) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\CaseTest\\MixedCase");
    ASSERT_EQ(SetDword(key, u"ValueOne", 1), ERROR_SUCCESS);
    ASSERT_EQ(SetDword(key, u"VALUEONE", 2), ERROR_SUCCESS); // same value, new data
    DWORD count = 0;
    ASSERT_EQ(RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                               nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(count, 1u);
    char16_t name[32];
    DWORD nameLength = 32, value = 0, size = 4;
    ASSERT_EQ(RegEnumValueW(key, 0, name, &nameLength, nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size),
              ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, nameLength), u"ValueOne");
    EXPECT_EQ(value, 2u);
    HKEY parent = nullptr;
    ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, u"SOFTWARE\\casetest", 0, 0, &parent), ERROR_SUCCESS);
    nameLength = 32;
    ASSERT_EQ(RegEnumKeyExW(parent, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(std::u16string(name, nameLength), u"MixedCase");
    RegCloseKey(parent);
    RegCloseKey(key);
}

TEST_F(RegistryApi, EnumerationOrderBufferSizesAndEnd) {
    HKEY key = Create(HKEY_CURRENT_USER, u"Software\\Enum");
    for (const char16_t* sub : {u"charlie", u"Alpha", u"bravo"})
        RegCloseKey(Create(key, sub));
    for (const char16_t* value : {u"z", u"y", u"x"})
        SetDword(key, value, 1);
    std::vector<std::u16string> keys, values;
    char16_t name[16];
    DWORD length = 16;
    for (DWORD i = 0; RegEnumKeyExW(key, i, name, &(length = 16), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i)
        keys.emplace_back(name, length);
    for (DWORD i = 0; RegEnumValueW(key, i, name, &(length = 16), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS; ++i)
        values.emplace_back(name, length);
    // Subkeys in name order without regard to case, values in the order they were made.
    EXPECT_EQ(keys, (std::vector<std::u16string>{u"Alpha", u"bravo", u"charlie"}));
    EXPECT_EQ(values, (std::vector<std::u16string>{u"z", u"y", u"x"}));
    EXPECT_EQ(RegEnumKeyExW(key, 3, name, &(length = 16), nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueW(key, 3, name, &(length = 16), nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    // "charlie" needs 8 characters with its terminator.
    EXPECT_EQ(RegEnumKeyExW(key, 2, name, &(length = 7), nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(RegEnumKeyExW(key, 2, name, &(length = 8), nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(length, 7u);
    DWORD subKeys = 0, maxSub = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSub, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(subKeys, 3u);
    EXPECT_EQ(maxSub, 7u);
    RegCloseKey(key);
}

TEST_F(RegistryApi, StaleHandlesFailCleanly) {
    HKEY key = Create(HKEY_LOCAL_MACHINE, u"Software\\Stale\\Child\\Grandchild");
    HKEY parent = Create(HKEY_LOCAL_MACHINE, u"Software\\Stale");
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_INVALID_HANDLE);
    // The slot is reused by the next key: the old handle must not reach it.
    HKEY reused = Create(HKEY_LOCAL_MACHINE, u"Software\\Other");
    EXPECT_EQ(SetDword(key, u"v", 1), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExW(reinterpret_cast<HKEY>(static_cast<uintptr_t>(0x1234)), u"v", nullptr, nullptr, nullptr, nullptr),
              ERROR_INVALID_HANDLE);

    HKEY grandchild = Create(HKEY_LOCAL_MACHINE, u"Software\\Stale\\Child\\Grandchild");
    ASSERT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u"Software\\Stale\\Child"), ERROR_SUCCESS);
    EXPECT_EQ(SetDword(grandchild, u"v", 1), ERROR_KEY_DELETED);
    HKEY unused = nullptr;
    EXPECT_EQ(RegOpenKeyExW(parent, u"Child\\Grandchild", 0, 0, &unused), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegCloseKey(grandchild), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyW(HKEY_LOCAL_MACHINE, u""), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegCloseKey(HKEY_LOCAL_MACHINE), ERROR_SUCCESS);
    RegCloseKey(parent);
    RegCloseKey(reused);
}

TEST_F(RegistryApi, ClassesRootIsPartOfTheMachineHive) {
    HKEY key = Create(HKEY_CLASSES_ROOT, u".vcf");
    SetText(key, nullptr, u"vcard");
    RegCloseKey(key);
    std::string answer, error;
    ASSERT_TRUE(platform::RegistryConsole::Get("HKLM\\Software\\Classes\\.VCF", "", answer, error)) << error;
    EXPECT_EQ(answer, "sz vcard");
}

TEST_F(RegistryApi, ConsoleFormatsAndParsesEveryType) {
    using platform::RegistryConsole;
    struct Case {
        const char* type;
        const char* data;
        const char* answer;
    } cases[] = {
        {"dword", "10", "dword 0x0000000A"},        {"dword", "0xFFFFFFFF", "dword 0xFFFFFFFF"},
        {"sz", "\\Program Files\\x", "sz \\Program Files\\x"}, {"binary", "00ff10", "binary 00ff10"},
        {"binary", "", "binary "},                   {"multi_sz", "A|B", "multi_sz A|B"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data);
        std::string answer, error;
        ASSERT_TRUE(RegistryConsole::Set("HKCU\\Software\\Console", "v", c.type, c.data, error)) << error;
        ASSERT_TRUE(RegistryConsole::Get("hkcu\\software\\console", "V", answer, error)) << error;
        EXPECT_EQ(answer, c.answer);
    }
    std::string error, answer;
    for (auto [type, data] : {std::pair{"dword", "4294967296"}, {"dword", "12x"}, {"binary", "abc"}, {"float", "1"}})
        EXPECT_FALSE(RegistryConsole::Set("HKCU\\Software\\Console", "v", type, data, error)) << type << " " << data;
    EXPECT_FALSE(RegistryConsole::Set("HKXX\\Software", "v", "dword", "1", error));
    EXPECT_TRUE(RegistryConsole::DeleteValue("HKCU\\Software\\Console", "v", error));
    EXPECT_FALSE(RegistryConsole::Get("HKCU\\Software\\Console", "v", answer, error));
    EXPECT_TRUE(RegistryConsole::DeleteKey("HKCU\\Software\\Console", error));
    EXPECT_FALSE(RegistryConsole::DeleteKey("HKCU\\Software\\Console", error));
    ASSERT_TRUE(RegistryConsole::Get("HKLM\\System\\State\\Phone", "Status", answer, error));
    EXPECT_EQ(answer, "dword 0x00000000");
}

} // namespace
