// The exported MessageBoxW: shows a box, disables its owner and runs a message loop of its
// own until a button is pressed (stylus, keys or the console's `answer`), the box is
// destroyed or WM_QUIT arrives, which the box passes on to the caller's loop.
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/MessageBoxWindow.h"
#include "user/MessageBoxes.h"
#include "user/UserPrivate.h"

using namespace platform;

namespace {

// The top-level window that owns `hwnd` (a child's top-level window).
HWND OwnerRoot(HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    for (int depth = 0; window && window->IsChild() && depth < 256; ++depth)
        window = Wm().m_windows.Find(window->m_parent);
    return window ? window->m_handle : nullptr;
}

struct LoopEnd {
    bool quit = false;
    int quitCode = 0;
};

LoopEnd RunModalLoop(MessageBoxWindow& box) {
    LoopEnd end;
    while (!box.Result() && IsWindow(box.Handle())) {
        MSG msg;
        if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
            end.quit = true;
            end.quitCode = int(msg.wParam);
            break;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return end;
}

} // namespace

CE_API int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    if (MessageBoxes::Buttons(type).empty()) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (owner && !IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    owner = owner ? OwnerRoot(owner) : nullptr;
    MessageBoxWindow box(text ? text : u"", caption ? caption : u"Error", type);
    if (!box.Create(owner)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    MessageBoxes::Add(OpenMessageBox{box.Handle(), caption ? caption : u"Error", text ? text : u"", type});
    bool disabled = owner && IsWindowEnabled(owner) && !EnableWindow(owner, FALSE);
    if (type & MB_ICONMASK)
        MessageBeep(type & MB_ICONMASK);
    ShowWindow(box.Handle(), SW_SHOW);
    SetFocus(box.Handle());
    LoopEnd end = RunModalLoop(box);
    MessageBoxes::Remove(box.Handle());
    // The owner is enabled before the box goes, so that activation returns to it.
    if (disabled)
        EnableWindow(owner, TRUE);
    int result = box.Result() ? box.Result() : MessageBoxes::CancelResult(type);
    if (IsWindow(box.Handle()))
        DestroyWindow(box.Handle());
    if (owner && IsWindow(owner))
        SetForegroundWindow(owner);
    if (end.quit)
        PostQuitMessage(end.quitCode);
    return result;
}
