#include "apps/PlatformPrograms.h"

#include "apps/PhoneProgram.h"
#include "apps/ShellProgram.h"
#include "kernel/BuiltinPrograms.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"
#include "user/WindowManager.h"

#include <chrono>

namespace platform {

namespace {

// How long boot waits for a platform program's window.
constexpr auto kStartTimeout = std::chrono::seconds(10);

// Starts `imagePath` and waits until a top-level window of `windowClass` exists.
bool StartAndWait(const char16_t* imagePath, const char16_t* windowClass, std::string& error) {
    DWORD code = 0;
    auto started = ProcessLauncher::Start(imagePath, u"", ProcessLauncher::kShowDefault, false, code);
    if (!started) {
        error = "cannot start " + ToUtf8(imagePath) + " (error " + std::to_string(code) + ")";
        return false;
    }
    auto deadline = std::chrono::steady_clock::now() + kStartTimeout;
    auto& windows = WindowManager::Instance();
    // Idleness alone is not enough: a program that ended early is idle too.
    while (!windows.FindTopLevel(windowClass, std::nullopt)) {
        DWORD exitCode = 0;
        if (ProcessLauncher::WaitForExit(started->process, 0, exitCode)) {
            error = ToUtf8(imagePath) + " ended at start with exit code " + std::to_string(exitCode);
            return false;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            error = ToUtf8(imagePath) + " made no " + ToUtf8(windowClass) + " window in time";
            return false;
        }
        WaitHub::Instance().WaitIdle(std::chrono::milliseconds(200));
    }
    Trace("apps", "%s started as process %lu", ToUtf8(imagePath).c_str(),
          (unsigned long)started->process->Id());
    return true;
}

} // namespace

void PlatformPrograms::Register() {
    BuiltinPrograms::Register(ShellProgram::kImagePath, [](HINSTANCE instance, LPWSTR commandLine, int) {
        return ShellProgram::Main(instance, commandLine);
    });
    BuiltinPrograms::Register(PhoneProgram::kImagePath, [](HINSTANCE instance, LPWSTR commandLine, int) {
        return PhoneProgram::Main(instance, commandLine);
    });
}

bool PlatformPrograms::Start(std::string& error) {
    // The shell first: the phone application and the main program place themselves
    // below its task bar.
    return StartAndWait(ShellProgram::kImagePath, u"HHTaskBar", error) &&
           StartAndWait(PhoneProgram::kImagePath, u"MSCProg", error);
}

} // namespace platform
