// Exported window class functions.
#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/ProcessTable.h"
#include "kernel/Utf.h"
#include "user/UserPrivate.h"

#include <algorithm>

using namespace platform;

namespace {
// Extra window and class bytes beyond this are refused: the device caps them too.
constexpr int kMaxExtraBytes = 4096;
}

CE_API ATOM RegisterClassW(const WNDCLASSW* wndClass) {
    if (!wndClass || !wndClass->lpszClassName || IS_INTRESOURCE(wndClass->lpszClassName) ||
        !*wndClass->lpszClassName || wndClass->cbWndExtra < 0 || wndClass->cbClsExtra < 0 ||
        wndClass->cbWndExtra > kMaxExtraBytes || wndClass->cbClsExtra > kMaxExtraBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    DWORD processId = ProcessTable::CurrentProcess()->Id();
    auto lock = LockUser();
    auto windowClass = Wm().m_classes.Register(*wndClass, processId);
    if (!windowClass) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    return windowClass->Atom();
}

CE_API BOOL UnregisterClassW(LPCWSTR className, HINSTANCE) {
    DWORD processId = ProcessTable::CurrentProcess()->Id();
    auto lock = LockUser();
    auto windowClass = Wm().m_classes.Find(className, processId);
    if (!windowClass || windowClass->ProcessId() != processId) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (windowClass->m_windowCount > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    Wm().m_classes.Remove(windowClass);
    return TRUE;
}

CE_API BOOL GetClassInfoW(HINSTANCE, LPCWSTR className, LPWNDCLASSW wndClass) {
    DWORD processId = ProcessTable::CurrentProcess()->Id();
    auto lock = LockUser();
    auto windowClass = Wm().m_classes.Find(className, processId);
    if (!windowClass || !wndClass) {
        SetLastError(windowClass ? ERROR_INVALID_PARAMETER : ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    *wndClass = windowClass->Info();
    // The name stays valid as long as the class is registered.
    wndClass->lpszClassName = windowClass->Name().c_str();
    return TRUE;
}

CE_API int GetClassNameW(HWND hwnd, LPWSTR className, int maxCount) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (!className || maxCount <= 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    const std::u16string& name = window->m_class->Name();
    size_t count = std::min(name.size(), size_t(maxCount - 1));
    std::copy_n(name.data(), count, className);
    className[count] = 0;
    return int(count);
}
