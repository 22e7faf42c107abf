// Exported hot key and keyboard input functions. Key events go through the InputRouter:
// a registered hot key wins over the focus and becomes WM_HOTKEY for its window (or
// thread); other keys become WM_KEYDOWN/WM_KEYUP for the focus window, or the active
// window when nothing has the focus.
#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "user/UserPrivate.h"

using namespace platform;

CE_API BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey) {
    DWORD self = CurrentThreadId();
    auto lock = LockUser();
    if (hwnd) {
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (window->m_threadId != self) {
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
            return FALSE;
        }
    }
    if (virtualKey == 0 || virtualKey > 0xFF) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!Wm().m_input.AddHotKey(HotKey{hwnd, self, id, modifiers, virtualKey})) {
        SetLastError(ERROR_HOTKEY_ALREADY_REGISTERED);
        return FALSE;
    }
    return TRUE;
}

CE_API BOOL UnregisterHotKey(HWND hwnd, int id) {
    DWORD self = CurrentThreadId();
    auto lock = LockUser();
    if (hwnd && !Wm().m_windows.Find(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (!Wm().m_input.RemoveHotKey(hwnd, self, id)) {
        SetLastError(ERROR_HOTKEY_NOT_REGISTERED);
        return FALSE;
    }
    return TRUE;
}

CE_API BOOL UnregisterFunc1(UINT modifiers, UINT virtualKey) {
    auto lock = LockUser();
    // Nothing holding the key is not an error: the key is free either way.
    Wm().m_input.RemoveCombination(modifiers, virtualKey);
    return TRUE;
}

CE_API void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, DWORD_PTR) {
    auto lock = LockUser();
    auto routed = Wm().m_input.RouteKey(virtualKey, scanCode, (flags & KEYEVENTF_KEYUP) != 0,
                                        Wm().m_focus, Wm().m_active);
    if (!routed) {
        Trace("user", "key 0x%02x has no window to go to", virtualKey);
        return;
    }
    if (routed->dropped)
        return;
    if (routed->hwnd) {
        if (WindowObject* window = Wm().m_windows.Find(routed->hwnd))
            PostLocked(*window->m_queue, routed->hwnd, routed->message, routed->wParam, routed->lParam);
        return;
    }
    // A hot key registered without a window goes to its thread.
    lock.unlock();
    PostThreadMessageW(routed->threadId, routed->message, routed->wParam, routed->lParam);
}

CE_API SHORT GetKeyState(int virtualKey) {
    auto lock = LockUser();
    const InputRouter& input = Wm().m_input;
    return SHORT((input.IsDown(virtualKey) ? 0x8000 : 0) | (input.IsToggled(virtualKey) ? 1 : 0));
}

CE_API SHORT GetAsyncKeyState(int virtualKey) {
    auto lock = LockUser();
    return SHORT(Wm().m_input.IsDown(virtualKey) ? 0x8000 : 0);
}
