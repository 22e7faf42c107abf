// The program, window, registry, file and notification commands through Console::Execute:
// their argument handling, answer formats and refusals.
#include "ce/files.h"
#include "ce/kernel.h"
#include "ce/nled.h"
#include "ce/regext.h"
#include "ce/registry.h"
#include "ce/user.h"
#include "console/DeviceCommands.h"
#include "kernel/WaitHub.h"
#include "support/TestDevice.h"

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

using platform::Console;

namespace {

using Lines = std::vector<std::string>;

class DeviceCommands : public testsupport::TestDevice {
protected:
    DeviceCommands() { m_options.installFrom = DIALORA_TEST_MODULES_DIR; }
    void SetUp() override {
        TestDevice::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    Lines Answer(const std::string& line) { return m_console.Execute(line).lines; }
    // The status line of the answer.
    std::string Status(const std::string& line) { return Answer(line).back(); }

    Console m_console;
};

TEST_F(DeviceCommands, UsageErrorsNameTheCommand) {
    struct Case {
        const char* line;
        const char* usage;
    };
    const Case cases[] = {
        {"run", "run [--wait] NAME [ARGS...]"},
        {"run --wait", "run [--wait] NAME [ARGS...]"},
        {"ps extra", "ps"},
        {"windows extra", "windows"},
        {"find-window", "find-window CLASS [TITLE]"},
        {"find-window a b c", "find-window CLASS [TITLE]"},
        {"post Cls 1 2", "post CLASS MSG WPARAM LPARAM"},
        {"post Cls 0x1FFFFFFFF 0 0", "post CLASS MSG WPARAM LPARAM"},
        {"post Cls 1 0x100000000 0", "post CLASS MSG WPARAM LPARAM"},
        {"post Cls 1 0 -0x80000001", "post CLASS MSG WPARAM LPARAM"},
        {"post-thread Cls x 0 0", "post-thread CLASS MSG WPARAM LPARAM"},
        {"reg get HKLM\\A", "reg get KEY VALUE"},
        {"reg set HKLM\\A v dword", "reg set KEY VALUE dword|sz|binary|multi_sz DATA"},
        {"reg delete", "reg delete KEY [VALUE]"},
        {"push onlyone", "push HOSTFILE DEVICEPATH"},
        {"pull a", "pull DEVICEPATH HOSTFILE"},
        {"ls", "ls DEVICEPATH"},
        {"rm", "rm DEVICEPATH"},
        {"beeps now", "beeps"},
        {"leds 1", "leds"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Answer(c.line), (Lines{std::string("ERROR usage: ") + c.usage})) << c.line;
}

TEST_F(DeviceCommands, RunStartsByPathAndWaitReportsTheExitCode) {
    // Counter returns its start count plus 100 times the length of its command line.
    EXPECT_EQ(Answer(R"(run --wait "\Program Files\Tavik Dialora\Counter.exe" ab)"),
              (Lines{"exit 0xC9", "OK"}));
    // An argument with blanks reaches the program in quotes: "a b" is 5 characters.
    EXPECT_EQ(Answer(R"(run --wait "\Program Files\Tavik Dialora\Counter.exe" "a b")"),
              (Lines{"exit 0x1F5", "OK"}));
    Lines started = Answer(R"(run "\Program Files\Tavik Dialora\Counter.exe" wait)");
    ASSERT_EQ(started.size(), 2u);
    EXPECT_EQ(started[0].rfind("pid ", 0), 0u);
    std::string pid = started[0].substr(4);
    Lines listed = Answer("ps");
    EXPECT_EQ(listed, (Lines{pid + " Counter.exe \"wait\"", "OK"}));
    HANDLE go = CreateEventW(nullptr, TRUE, FALSE, u"FixtureGo");
    SetEvent(go);
    platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(3000));
    CloseHandle(go);
    EXPECT_EQ(Answer("ps"), (Lines{"OK"}));
}

TEST_F(DeviceCommands, RunRefusesWhatIsNoProgram) {
    EXPECT_EQ(Answer(R"(run \Windows\missing.exe)"),
              (Lines{R"(ERROR file not found: \Windows\missing.exe)"}));
    EXPECT_EQ(Answer(":Nothing"), (Lines{"ERROR unknown command: :Nothing"}));
    EXPECT_EQ(Answer("run :Nothing"), (Lines{"ERROR file not found: :Nothing"}));
    EXPECT_EQ(Answer(R"(run "\My Documents\notes.txt")"),
              (Lines{R"(ERROR not a program: \My Documents\notes.txt)"}));
    EXPECT_EQ(Answer(R"(run ..\..\bin\sh)"), (Lines{R"(ERROR path leaves the device: ..\..\bin\sh)"}));
}

LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_APP)
        SetWindowLongPtrW(window, GWL_USERDATA, LONG_PTR(wParam + lParam));
    return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(DeviceCommands, WindowsAreListedInZOrderAndFoundByClassAndTitle) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CountingProc;
    windowClass.lpszClassName = u"Probe Class";
    ASSERT_TRUE(RegisterClassW(&windowClass));
    HWND low = CreateWindowExW(0, u"Probe Class", u"say \"hi\"\nthere", WS_POPUP | WS_VISIBLE, 1, 2,
                               30, 40, nullptr, nullptr, nullptr, nullptr);
    HWND top = CreateWindowExW(WS_EX_TOPMOST, u"Probe Class", u"top", WS_POPUP | WS_DISABLED, 0, 0,
                               10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(low && top);
    char lowText[32], topText[32];
    std::snprintf(lowText, sizeof lowText, "0x%08" PRIXPTR, reinterpret_cast<uintptr_t>(low));
    std::snprintf(topText, sizeof topText, "0x%08" PRIXPTR, reinterpret_cast<uintptr_t>(top));
    std::string pid = std::to_string(GetCurrentProcessId());
    EXPECT_EQ(Answer("windows"),
              (Lines{std::string(topText) + " \"Probe Class\" \"top\" pid=" + pid +
                         " visible=0 enabled=0 topmost=1 0,0,10,10",
                     std::string(lowText) + " \"Probe Class\" \"say \"\"hi\"\"?there\" pid=" + pid +
                         " visible=1 enabled=1 topmost=0 1,2,30,40",
                     "OK"}));
    EXPECT_EQ(Answer("find-window \"probe class\""), (Lines{topText, "OK"}));
    EXPECT_EQ(Answer("find-window \"Probe Class\" TOP"), (Lines{topText, "OK"}));
    EXPECT_EQ(Answer("find-window \"Probe Class\" nothing"), (Lines{"none", "OK"}));
    EXPECT_EQ(Answer("find-window Missing"), (Lines{"none", "OK"}));

    // Posts go to the first window of the class; 32-bit parameters as on the device.
    EXPECT_EQ(Status("post \"Probe Class\" 0x8001 -1 2"), "OK");
    MSG message{};
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, top);
    EXPECT_EQ(message.message, 0x8001u);
    EXPECT_EQ(message.wParam, WPARAM(0xFFFFFFFFu));
    EXPECT_EQ(message.lParam, 2);
    EXPECT_EQ(Status("post-thread \"Probe Class\" 0x8002 1 0xFFFFFFFF"), "OK");
    ASSERT_TRUE(PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(message.hwnd, nullptr);
    EXPECT_EQ(message.lParam, -1);
    EXPECT_EQ(Answer("post Missing 0x8001 0 0"), (Lines{"ERROR no window of class Missing"}));
    DestroyWindow(low);
    DestroyWindow(top);
}

TEST_F(DeviceCommands, MessagesThatCarryPointersAreNotPosted) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.lpszClassName = u"Target";
    ASSERT_TRUE(RegisterClassW(&windowClass));
    HWND window = CreateWindowExW(0, u"Target", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    // WM_SETTEXT, WM_TIMER (a callback), WM_WINDOWPOSCHANGED with a made-up address.
    for (const char* line : {"post Target 0x000C 0 0x1234", "post Target 0x0113 1 0x401000",
                             "post-thread Target 0x0047 0 0x1000"})
        EXPECT_EQ(Status(line).rfind("ERROR message carries a pointer", 0), 0u) << line;
    // Without a pointer the same message is harmless (a WM_SETTINGCHANGE of the screen).
    EXPECT_EQ(Status("post Target 0x001A 0 0"), "OK");
    DestroyWindow(window);
}

TEST_F(DeviceCommands, RegistryValuesRoundTripAndMissingOnesAnswerNone) {
    EXPECT_EQ(Status(R"(reg set HKLM\Software\Probe Count dword 0x2A)"), "OK");
    EXPECT_EQ(Answer(R"(reg get HKLM\Software\Probe Count)"), (Lines{"dword 0x0000002A", "OK"}));
    EXPECT_EQ(Status(R"(reg set HKCU\Software\Probe Name sz "two words")"), "OK");
    EXPECT_EQ(Answer(R"(reg get hkcu\software\probe name)"), (Lines{"sz two words", "OK"}));
    EXPECT_EQ(Status(R"(reg set HKLM\Software\Probe Bytes binary 00ff10)"), "OK");
    EXPECT_EQ(Answer(R"(reg get HKLM\Software\Probe Bytes)"), (Lines{"binary 00ff10", "OK"}));
    DWORD count = 0;
    EXPECT_TRUE(SUCCEEDED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"Software\\Probe", u"Count", &count)));
    EXPECT_EQ(count, 42u);
    EXPECT_EQ(Status(R"(reg delete HKLM\Software\Probe Count)"), "OK");
    EXPECT_EQ(Answer(R"(reg get HKLM\Software\Probe Count)"), (Lines{"none", "OK"}));
    EXPECT_EQ(Status(R"(reg delete HKLM\Software\Probe)"), "OK");
    EXPECT_EQ(Answer(R"(reg get HKLM\Software\Probe Bytes)"), (Lines{"none", "OK"}));
    EXPECT_EQ(Answer(R"(reg get HKXX\Software v)"), (Lines{"ERROR unknown root key"}));
    EXPECT_EQ(Answer(R"(reg set HKLM\Software\Probe v dword ten)"), (Lines{"ERROR bad type or data"}));
}

std::string ReadAll(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST_F(DeviceCommands, FilesGoBackAndForthAndStayInsideTheDevice) {
    std::filesystem::path host = m_folder / "host.bin";
    std::string content("line one\n\0binary", 16);
    std::ofstream(host, std::ios::binary) << content;
    EXPECT_EQ(Status("push " + host.string() + R"( "\My Documents\Note.bin")"), "OK");
    // A folder as the target keeps the host file's name.
    EXPECT_EQ(Status("push " + host.string() + R"( "\my documents")"), "OK");
    EXPECT_EQ(Answer(R"(ls "\MY DOCUMENTS")"), (Lines{"host.bin 16", "Note.bin 16", "OK"}));
    EXPECT_EQ(Answer(R"(ls "\My Documents\note.bin")"), (Lines{"Note.bin 16", "OK"}));
    Lines root = Answer(R"(ls \)");
    EXPECT_NE(std::find(root.begin(), root.end(), "\"My Documents\\\""), root.end());
    EXPECT_NE(std::find(root.begin(), root.end(), "Windows\\"), root.end());

    std::filesystem::path back = m_folder / "back.bin";
    EXPECT_EQ(Status(R"(pull "\My Documents\NOTE.BIN" )" + back.string()), "OK");
    EXPECT_EQ(ReadAll(back), content);
    EXPECT_EQ(Status(R"(rm "\My Documents\note.bin")"), "OK");
    EXPECT_EQ(Answer(R"(ls "\My Documents\note.bin")"),
              (Lines{R"(ERROR file not found: \My Documents\note.bin)"}));
    EXPECT_EQ(Answer(R"(rm "\My Documents")"), (Lines{R"(ERROR folder not empty: \My Documents)"}));

    // Nothing outside the device folder can be reached.
    EXPECT_EQ(Answer(R"(ls ..\..)"), (Lines{R"(ERROR path leaves the device: ..\..)"}));
    EXPECT_EQ(Answer("push " + host.string() + R"( \..\escaped.bin)"),
              (Lines{R"(ERROR path leaves the device: \..\escaped.bin)"}));
    EXPECT_EQ(Answer(R"(pull ..\registry.reg )" + back.string()),
              (Lines{R"(ERROR path leaves the device: ..\registry.reg)"}));
    std::filesystem::create_symlink(m_folder, m_device->FsRoot() / "link");
    EXPECT_EQ(Answer(R"(rm \link\host.bin)"), (Lines{R"(ERROR access denied: \link\host.bin)"}));
    EXPECT_TRUE(std::filesystem::exists(host));
    EXPECT_EQ(Answer("push " + (m_folder / "missing").string() + R"( \a.bin)"),
              (Lines{"ERROR no such host file: " + (m_folder / "missing").string()}));
}

TEST_F(DeviceCommands, PushAndRmFollowTheDeviceRules) {
    std::filesystem::path host = m_folder / "host.txt";
    std::ofstream(host) << "new";
    ASSERT_EQ(Status(R"(push )" + host.string() + R"( \Temp\locked.txt)"), "OK");
    HANDLE open = CreateFileW(u"\\Temp\\locked.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(open, INVALID_HANDLE_VALUE);
    EXPECT_EQ(Answer(R"(push )" + host.string() + R"( \Temp\locked.txt)"),
              (Lines{R"(ERROR sharing violation: \Temp\locked.txt)"}));
    EXPECT_EQ(Answer(R"(rm \Temp\locked.txt)"), (Lines{R"(ERROR sharing violation: \Temp\locked.txt)"}));
    CloseHandle(open);
    ASSERT_TRUE(SetFileAttributesW(u"\\Temp\\locked.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Answer(R"(push )" + host.string() + R"( \Temp\locked.txt)"),
              (Lines{R"(ERROR access denied: \Temp\locked.txt)"}));
    EXPECT_EQ(Answer(R"(rm \Temp\locked.txt)"), (Lines{R"(ERROR access denied: \Temp\locked.txt)"}));
    EXPECT_EQ(Answer(R"(push )" + host.string() + R"( \NoFolder\a.txt)"),
              (Lines{R"(ERROR path not found: \NoFolder\a.txt)"}));
    EXPECT_EQ(Answer(R"(rm \)"), (Lines{R"(ERROR access denied: \)"}));
}

TEST_F(DeviceCommands, BeepsAreDrainedAndLedsListed) {
    MessageBeep(MB_ICONEXCLAMATION);
    MessageBeep(0xFFFFFFFF);
    MessageBeep(0x77);
    EXPECT_EQ(Answer("beeps"),
              (Lines{"0x00000030 MB_ICONEXCLAMATION", "0xFFFFFFFF simple", "0x00000077", "OK"}));
    EXPECT_EQ(Answer("beeps"), (Lines{"OK"}));
    NLED_SETTINGS_INFO led{};
    led.LedNum = 1;
    led.OffOnBlink = 2;
    ASSERT_TRUE(NLedSetDevice(NLED_SETTINGS_INFO_ID, &led));
    EXPECT_EQ(Answer("leds"), (Lines{"0 off", "1 blink", "OK"}));
}

} // namespace
