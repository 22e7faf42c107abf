// The resident main program: start-up, the request of a second start, the message loop
// in which the frame comes and goes, and the shutdown in reverse order. One per process.
#pragma once

#include "ce/user.h"

#include <functional>
#include <string>

namespace corvane {

class Core;
class Watcher;

// KCreateFrame of the UI library.
using CreateFrameFunction = HWND (*)(DWORD startFlags, void* core);

class MainProgram {
public:
    static MainProgram& Instance();

    // The whole life of the program; returns its exit code.
    int Run(HINSTANCE instance, const WCHAR* commandLine);

    // Opens the frame on the page of `startFlags`, or switches the open frame to it.
    void OpenPage(DWORD startFlags);
    // A page request for this very thread (the Send key), dropped during a call.
    void RequestOwnPage(DWORD startFlags);

    bool CallInProgress() const { return m_callInProgress; }
    void SetCallInProgress(bool inProgress) { m_callInProgress = inProgress; }
    HWND Frame() const { return m_frame; }
    DWORD PhoneProcessId() const { return m_phoneProcessId; }
    Core* CoreObject() const { return m_core; }

private:
    bool StartUp(DWORD startFlags);
    // "CustomProfile.xml" in the folder of the program's module.
    std::u16string ProfileFilePath() const;
    // Returns the wParam of the last message.
    WPARAM MessageLoop();
    // True when the message ends the loop.
    bool HandleThreadMessage(const MSG& message);
    void ForgetFrame();
    void ShutDown();
    void RestartIfAllowed();
    // Runs `work`; a fault in it marks the program for a restart and returns false.
    bool Guarded(const std::function<void()>& work, const WCHAR* what);

    HINSTANCE m_instance = nullptr;
    HMODULE m_library = nullptr;
    HWND m_frame = nullptr;
    DWORD m_phoneProcessId = 0;
    bool m_callInProgress = false;
    bool m_restart = false;
    Core* m_core = nullptr;
    Watcher* m_watcher = nullptr;
};

} // namespace corvane
