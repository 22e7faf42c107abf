#include "ce/files.h"
#include "ce/kernel.h"
#include "ce/shell.h"
#include "kernel/BuiltinPrograms.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/Utf.h"
#include "shell/LaunchNames.h"
#include "support/TestDevice.h"

#include <fstream>
#include <sstream>
#include <string>

using testsupport::TestDevice;

namespace {

constexpr const char16_t* kCounter = u"\\Program Files\\Tavik Dialora\\Counter.exe";

class Processes : public TestDevice {
protected:
    Processes() { m_options.installFrom = DIALORA_TEST_MODULES_DIR; }
    void TearDown() override {
        platform::LaunchNames::SetResolver(nullptr);
        TestDevice::TearDown();
    }

    // Runs `program` with `arguments` to its end; returns its exit code.
    static DWORD Run(LPCWSTR program, LPCWSTR arguments) {
        PROCESS_INFORMATION info{};
        if (!CreateProcessW(program, arguments, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            nullptr, &info))
            return 0xDEAD0000u | GetLastError();
        DWORD code = 0;
        EXPECT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
        EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
        CloseHandle(info.hProcess);
        CloseHandle(info.hThread);
        return code;
    }

    static bool ImageMapped(const std::string& name) {
        std::ifstream maps("/proc/self/maps");
        std::stringstream text;
        text << maps.rdbuf();
        return text.str().find(name) != std::string::npos;
    }
};

TEST_F(Processes, TwoInstancesOfOneProgramHaveTheirOwnGlobals) {
    PROCESS_INFORMATION first{}, second{};
    ASSERT_TRUE(CreateProcessW(kCounter, u"wait", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &first));
    ASSERT_TRUE(CreateProcessW(kCounter, u"wait", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &second));
    EXPECT_NE(first.dwProcessId, second.dwProcessId);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(first.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    HANDLE go = CreateEventW(nullptr, TRUE, TRUE, u"FixtureGo");
    SetEvent(go); // the programs may have made the event already
    HANDLE both[2] = {first.hProcess, second.hProcess};
    ASSERT_EQ(WaitForMultipleObjects(2, both, TRUE, 10000), WAIT_OBJECT_0);
    for (HANDLE process : both) {
        ASSERT_TRUE(GetExitCodeProcess(process, &code));
        EXPECT_EQ(code, 1u);
        CloseHandle(process);
    }
    CloseHandle(first.hThread);
    CloseHandle(second.hThread);
    CloseHandle(go);
    // Each process's modules were unloaded when it ended.
    EXPECT_FALSE(ImageMapped("Counter.exe"));
}

TEST_F(Processes, CommandLinesReachWinMainWithoutTheProgramName) {
    struct Case {
        LPCWSTR application;
        LPCWSTR commandLine;
        DWORD exitCode;
    };
    const Case cases[] = {
        {kCounter, u"abc", 301},
        {kCounter, nullptr, 1},
        {u"\\program files\\tavik dialora\\counter", u"", 1}, // ".exe" appended, any case
        {nullptr, u"\"\\Program Files\\Tavik Dialora\\Counter.exe\" ab", 201},
        {nullptr, u"\\Program Files\\Tavik Dialora\\Counter.exe abcd", 401},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Run(c.application, c.commandLine), c.exitCode)
            << platform::ToUtf8(c.commandLine ? c.commandLine : u"");
}

TEST_F(Processes, AProgramSeesItsOwnModuleAndSearchesItsFolderFirst) {
    EXPECT_EQ(Run(kCounter, u"name"), 0u);
    ASSERT_TRUE(CopyFileW(u"\\Program Files\\Tavik Dialora\\Helper.dll", u"\\Windows\\Helper.dll", TRUE));
    EXPECT_EQ(Run(kCounter, u"helper"), 10u);
    ASSERT_TRUE(DeleteFileW(u"\\Program Files\\Tavik Dialora\\Helper.dll"));
    EXPECT_EQ(Run(kCounter, u"helper"), 20u);
}

TEST_F(Processes, ProgramsThatCannotRunAreRefused) {
    HANDLE text = CreateFileW(u"\\Windows\\Bogus.exe", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    CloseHandle(text);
    struct Case {
        LPCWSTR program;
        DWORD error;
    };
    const Case cases[] = {
        {u"\\Program Files\\Tavik Dialora\\NoMain.exe", ERROR_BAD_EXE_FORMAT},
        {u"\\Windows\\Bogus.exe", ERROR_BAD_EXE_FORMAT},
        {u"\\Windows\\Missing.exe", ERROR_FILE_NOT_FOUND},
        {u"\\NoFolder\\Missing.exe", ERROR_PATH_NOT_FOUND},
        {u"\\..\\Counter.exe", ERROR_BAD_PATHNAME},
    };
    for (const Case& c : cases) {
        PROCESS_INFORMATION info{};
        EXPECT_FALSE(CreateProcessW(c.program, nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                    nullptr, nullptr, &info));
        EXPECT_EQ(GetLastError(), c.error) << platform::ToUtf8(c.program);
    }
}

TEST_F(Processes, PlatformProgramsRunTheirRegisteredEntry) {
    platform::BuiltinPrograms::Register(u"\\Windows\\fixture.exe",
                                        [](HINSTANCE instance, LPWSTR commandLine, int show) {
                                            WCHAR path[MAX_PATH] = {};
                                            GetModuleFileNameW(instance, path, MAX_PATH);
                                            bool named = std::u16string_view(path) == u"\\Windows\\fixture.exe";
                                            return named && show == SW_SHOW ? int(platform::StrLen(commandLine)) : -1;
                                        });
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(u"\\Windows\\FIXTURE.EXE", &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    EXPECT_EQ(Run(u"fixture", u"four"), 4u); // a bare name is found in "\Windows"
}

TEST_F(Processes, ProcessHandlesOpenWaitAndCannotBeTerminated) {
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(kCounter, u"wait", nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, &info));
    HANDLE opened = OpenProcess(PROCESS_ALL_ACCESS, FALSE, info.dwProcessId);
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(GetProcessIdOfThread(info.hThread), info.dwProcessId);
    EXPECT_FALSE(TerminateProcess(opened, 3));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_NOT_SUPPORTED);
    EXPECT_EQ(WaitForSingleObject(opened, 20), WAIT_TIMEOUT);
    HANDLE go = CreateEventW(nullptr, TRUE, TRUE, u"FixtureGo");
    SetEvent(go); // the programs may have made the event already
    EXPECT_EQ(WaitForSingleObject(opened, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(opened, &code));
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, info.dwProcessId), nullptr);
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
    for (HANDLE h : {opened, info.hProcess, info.hThread, go})
        CloseHandle(h);
}

TEST_F(Processes, ShellExecuteStartsLaunchNamesAndPaths) {
    platform::LaunchNames::SetResolver([](std::u16string_view name) -> std::optional<std::u16string> {
        if (name == u":Counter")
            return std::u16string(kCounter) + u" ab";
        return std::nullopt;
    });
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = u":Counter";
    info.lpParameters = u"cd";
    info.nShow = SW_SHOW;
    ASSERT_TRUE(ShellExecuteExW(&info));
    EXPECT_GT(reinterpret_cast<INT_PTR>(info.hInstApp), 32);
    ASSERT_NE(info.hProcess, nullptr);
    ASSERT_EQ(WaitForSingleObject(info.hProcess, 10000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    EXPECT_EQ(code, 501u); // "ab cd"
    CloseHandle(info.hProcess);

    struct Case {
        LPCWSTR file;
        DWORD error;
        INT_PTR instApp;
    };
    const Case failures[] = {
        {u":Unknown", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\Windows\\Missing.exe", ERROR_FILE_NOT_FOUND, SE_ERR_FNF},
        {u"\\Program Files\\Tavik Dialora\\Helper.dll", ERROR_NO_ASSOCIATION, SE_ERR_NOASSOC},
    };
    for (const Case& c : failures) {
        info.lpFile = c.file;
        EXPECT_FALSE(ShellExecuteExW(&info));
        EXPECT_EQ(GetLastError(), c.error);
        EXPECT_EQ(reinterpret_cast<INT_PTR>(info.hInstApp), c.instApp);
        EXPECT_EQ(info.hProcess, nullptr);
    }
    info.cbSize = 12;
    EXPECT_FALSE(ShellExecuteExW(&info));
    EXPECT_EQ(GetLastError(), (DWORD)ERROR_INVALID_PARAMETER);
}

TEST_F(Processes, TheConsoleCanStartAndWaitWithoutHandles) {
    DWORD error = 0;
    auto started = platform::ProcessLauncher::Start(kCounter, u"xyz", SW_SHOW, false, error);
    ASSERT_TRUE(started);
    DWORD code = 0;
    ASSERT_TRUE(platform::ProcessLauncher::WaitForExit(started->process, 10000, code));
    EXPECT_EQ(code, 301u);
}

} // namespace

namespace {

DWORD WINAPI EndAtOnce(LPVOID) { return 7; }

} // namespace

// A thread the device's own callers start (a test, the host) belongs to the device's
// process; its end does not end that process, whose program stays known.
TEST_F(Processes, ThreadsOfTheDevicesOwnProcessEndWithoutEndingIt) {
    WCHAR before[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileNameW(nullptr, before, MAX_PATH), 0u);
    DWORD process = GetCurrentProcessId();
    for (int round = 0; round < 2; ++round) {
        HANDLE thread = CreateThread(nullptr, 0, EndAtOnce, nullptr, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
        DWORD code = 0;
        EXPECT_TRUE(GetExitCodeThread(thread, &code));
        EXPECT_EQ(code, 7u);
        CloseHandle(thread);
    }
    WCHAR after[MAX_PATH] = {};
    EXPECT_GT(GetModuleFileNameW(nullptr, after, MAX_PATH), 0u);
    EXPECT_EQ(std::u16string(after), std::u16string(before));
    EXPECT_EQ(GetCurrentProcessId(), process);
}
