#include "ce/files.h"
#include "ce/kernel.h"
#include "support/TestDevice.h"

#include <fstream>
#include <string>

using testsupport::TestDevice;

namespace {

// A device with the test modules installed into "\Program Files\Tavik Dialora".
class Modules : public TestDevice {
protected:
    Modules() { m_options.installFrom = DIALORA_TEST_MODULES_DIR; }

    static std::u16string FileNameOf(HMODULE module) {
        WCHAR path[MAX_PATH] = {};
        GetModuleFileNameW(module, path, MAX_PATH);
        return path;
    }
    using IncrementFn = int (*)();
    static int Increment(HMODULE module) {
        auto fn = reinterpret_cast<IncrementFn>((void*)GetProcAddressW(module, u"HelperIncrement"));
        return fn ? fn() : -1;
    }
};

TEST_F(Modules, BareNamesAreSearchedInTheProgramFolderThenWindows) {
    // Host threads belong to the kernel process, whose program lives in "\Windows".
    EXPECT_EQ(LoadLibraryW(u"Helper"), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_MOD_NOT_FOUND);
    ASSERT_TRUE(CopyFileW(u"\\Program Files\\Tavik Dialora\\Helper.dll", u"\\Windows\\Helper.dll", TRUE));
    HMODULE fromWindows = LoadLibraryW(u"helper");
    ASSERT_NE(fromWindows, nullptr);
    EXPECT_EQ(FileNameOf(fromWindows), u"\\Windows\\Helper.dll");
    // A device path is taken as given, in any case, and reported in its real spelling.
    HMODULE installed = LoadLibraryW(u"\\PROGRAM FILES\\tavik dialora\\HELPER");
    ASSERT_NE(installed, nullptr);
    EXPECT_NE(installed, fromWindows);
    EXPECT_EQ(FileNameOf(installed), u"\\Program Files\\Tavik Dialora\\Helper.dll");
    // Two files, two instances: their counters are separate.
    EXPECT_EQ(Increment(fromWindows), 1);
    EXPECT_EQ(Increment(installed), 1);
    EXPECT_EQ(GetModuleHandleW(u"HELPER.DLL"), fromWindows);
    EXPECT_TRUE(FreeLibrary(fromWindows));
    EXPECT_TRUE(FreeLibrary(installed));
}

TEST_F(Modules, LoadsAreCountedAndTheLastFreeUnloads) {
    HMODULE first = LoadLibraryW(u"\\Program Files\\Tavik Dialora\\Helper.dll");
    HMODULE second = LoadLibraryW(u"\\Program Files\\Tavik Dialora\\Helper.dll");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(Increment(first), 1);
    EXPECT_EQ(Increment(second), 2);
    EXPECT_TRUE(FreeLibrary(first));
    EXPECT_EQ(Increment(first), 3);
    EXPECT_TRUE(FreeLibrary(first));
    // Gone: the stale handle is refused, and a new load starts from fresh globals.
    EXPECT_EQ(GetProcAddressW(first, u"HelperIncrement"), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_HANDLE);
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetModuleHandleW(u"Helper"), nullptr);
    HMODULE again = LoadLibraryW(u"\\Program Files\\Tavik Dialora\\Helper.dll");
    EXPECT_EQ(Increment(again), 1);
    FreeLibrary(again);
}

TEST_F(Modules, ProceduresAreFoundByNameAndOrdinalInTheModuleOnly) {
    HMODULE helper = LoadLibraryW(u"\\Program Files\\Tavik Dialora\\Helper.dll");
    ASSERT_NE(helper, nullptr);
    EXPECT_NE(GetProcAddressA(helper, "HelperIncrement"), nullptr);
    using SecretFn = int (*)();
    auto secret = reinterpret_cast<SecretFn>((void*)GetProcAddressW(helper, MAKEINTRESOURCEW(240)));
    ASSERT_NE(secret, nullptr);
    EXPECT_EQ(secret(), 240);
    // Unknown names, a function exported by ordinal only, an unused ordinal, and a
    // platform function the module merely uses.
    const LPCWSTR missing[] = {u"NoSuchFunction", u"Secret", MAKEINTRESOURCEW(241), u"CreateFileW"};
    for (LPCWSTR name : missing) {
        SetLastError(0);
        EXPECT_EQ(GetProcAddressW(helper, name), nullptr);
        EXPECT_EQ(GetLastError(), (DWORD)ERROR_PROC_NOT_FOUND);
    }
    FreeLibrary(helper);
}

TEST_F(Modules, TheKernelProcessHasAProgramModuleAndFilesThatAreNoModulesAreRefused) {
    HMODULE program = GetModuleHandleW(nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(FileNameOf(program), u"\\Windows\\nk.exe");
    EXPECT_FALSE(FreeLibrary(reinterpret_cast<HMODULE>(0x1234)));
    HANDLE text = CreateFileW(u"\\Windows\\Text.dll", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    DWORD written = 0;
    WriteFile(text, "not a module", 12, &written, nullptr);
    CloseHandle(text);
    EXPECT_EQ(LoadLibraryW(u"Text"), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_BAD_EXE_FORMAT);
    // A short buffer gets a truncated, terminated name.
    WCHAR small[4];
    EXPECT_EQ(GetModuleFileNameW(program, small, 4), 3u);
    EXPECT_EQ(std::u16string(small), u"\\Wi");
}

TEST_F(Modules, InstallCopiesOnlyChangedFilesAtBoot) {
    auto installed = m_device->FsRoot() / "Program Files" / "Tavik Dialora" / "Helper.dll";
    ASSERT_TRUE(std::filesystem::exists(installed));
    auto stamp = std::filesystem::last_write_time(installed);
    { std::ofstream(installed, std::ios::app) << "tampered"; }
    std::filesystem::last_write_time(installed, stamp);
    Reboot();
    // Same time but another size: the build's file is back.
    EXPECT_EQ(std::filesystem::file_size(installed),
              std::filesystem::file_size(std::filesystem::path(DIALORA_TEST_MODULES_DIR) / "Helper.dll"));
}

} // namespace
