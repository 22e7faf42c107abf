// The hidden watcher window `KIncCallWnd`: the window by which the other deliverables
// find the resident program, the receiver of their private messages and of the phone
// state, and the owner of the Send key while it is taken over.
#pragma once

#include "ce/regext.h"
#include "ce/user.h"

namespace corvane {

class MainProgram;

class Watcher {
public:
    static constexpr int kSendKeyHotKeyId = 7;

    // Registers the class and creates the hidden window; null on failure.
    static Watcher* Create(HINSTANCE instance, MainProgram& program);
    // Destroys the window; the state is freed on WM_DESTROY.
    void Destroy();
    static void UnregisterWindowClass(HINSTANCE instance);

    HWND Window() const { return m_window; }

    // Takes the Send key from the platform, or gives it back.
    void TakeSendKey();
    void ReleaseSendKey();

private:
    explicit Watcher(MainProgram& program) : m_program(program) {}
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);

    void OnCreate();
    void OnDestroy();
    void OnPhoneStatus(DWORD status);
    void OnSettingsChanged();
    void OnHotKey(WPARAM id, LPARAM lParam);

    MainProgram& m_program;
    HWND m_window = nullptr;
    HREGNOTIFY m_statusNotification = nullptr;
    bool m_sendKeyTaken = false;
};

} // namespace corvane
