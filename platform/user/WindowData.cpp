// Exported functions over a window's data: window longs, subclassing and text.
#include "ce/kernel.h"
#include "ce/user.h"
#include "user/UserPrivate.h"

#include <algorithm>
#include <cstring>

using namespace platform;

namespace {

bool IsPointerIndex(int index) {
    return index == GWL_WNDPROC || index == GWL_HINSTANCE || index == GWL_HWNDPARENT;
}

// Reads or writes `size` bytes of the window's extra bytes; false when out of range.
bool ExtraBytes(WindowObject& window, int index, size_t size, LONG_PTR* value, bool write) {
    if (index < 0 || size_t(index) > window.m_extra.size() ||
        window.m_extra.size() - size_t(index) < size) {
        SetLastError(ERROR_INVALID_INDEX);
        return false;
    }
    BYTE* bytes = window.m_extra.data() + index;
    if (write) {
        LONG_PTR old = 0;
        std::memcpy(&old, bytes, size);
        std::memcpy(bytes, value, size);
        *value = old;
    } else {
        *value = 0;
        std::memcpy(value, bytes, size);
    }
    return true;
}

// Applies a change of the extended style, keeping the topmost band in order.
void SetExStyleLocked(WindowObject& window, DWORD exStyle) {
    bool wasTopmost = window.IsTopmost();
    window.m_exStyle = window.IsChild() ? exStyle & ~DWORD(WS_EX_TOPMOST) : exStyle;
    if (wasTopmost != window.IsTopmost())
        Wm().m_windows.Place(window, window.IsTopmost() ? HWND_TOPMOST : HWND_NOTOPMOST);
}

LONG_PTR GetLong(HWND hwnd, int index, size_t size) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    switch (index) {
    case GWL_WNDPROC:
        return reinterpret_cast<LONG_PTR>(window->m_proc);
    case GWL_HINSTANCE:
        return reinterpret_cast<LONG_PTR>(window->m_instance);
    case GWL_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>(window->IsChild() ? window->m_parent : window->m_owner);
    case GWL_ID:
        return window->m_id;
    case GWL_STYLE:
        return LONG_PTR(LONG(window->m_style));
    case GWL_EXSTYLE:
        return LONG_PTR(LONG(window->m_exStyle));
    case GWL_USERDATA:
        return window->m_userData;
    default: {
        LONG_PTR value = 0;
        ExtraBytes(*window, index, size, &value, false);
        return size == sizeof(LONG) ? LONG_PTR(LONG(value)) : value;
    }
    }
}

LONG_PTR SetLong(HWND hwnd, int index, LONG_PTR value, size_t size) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR old = 0;
    switch (index) {
    case GWL_WNDPROC:
        old = reinterpret_cast<LONG_PTR>(window->m_proc);
        window->m_proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWL_HINSTANCE:
        old = reinterpret_cast<LONG_PTR>(window->m_instance);
        window->m_instance = reinterpret_cast<HINSTANCE>(value);
        break;
    case GWL_HWNDPARENT: {
        // Changes the owner of a pop-up; a child keeps its parent.
        old = reinterpret_cast<LONG_PTR>(window->m_owner);
        HWND owner = reinterpret_cast<HWND>(value);
        if (owner == hwnd || (owner && !Wm().m_windows.Find(owner))) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        if (!window->IsChild())
            window->m_owner = owner;
        break;
    }
    case GWL_ID:
        old = window->m_id;
        window->m_id = value;
        break;
    case GWL_STYLE:
        // As on the device, WS_VISIBLE and WS_DISABLED change without messages here.
        old = LONG_PTR(LONG(window->m_style));
        window->m_style = DWORD(value);
        break;
    case GWL_EXSTYLE:
        old = LONG_PTR(LONG(window->m_exStyle));
        SetExStyleLocked(*window, DWORD(value));
        break;
    case GWL_USERDATA:
        old = window->m_userData;
        window->m_userData = value;
        break;
    default:
        if (!ExtraBytes(*window, index, size, &value, true))
            return 0;
        old = size == sizeof(LONG) ? LONG_PTR(LONG(value)) : value;
        break;
    }
    SetLastError(ERROR_SUCCESS);
    return old;
}

} // namespace

// The 32-bit forms refuse the indices that hold a pointer; GWL_USERDATA keeps its low
// 32 bits there, as on 64-bit desktop systems. Use the ...Ptr forms for pointers.
CE_API LONG GetWindowLongW(HWND hwnd, int index) {
    if (IsPointerIndex(index)) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return LONG(GetLong(hwnd, index, sizeof(LONG)));
}

CE_API LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    if (IsPointerIndex(index)) {
        SetLastError(ERROR_INVALID_INDEX);
        return 0;
    }
    return LONG(SetLong(hwnd, index, value, sizeof(LONG)));
}

CE_API LONG_PTR GetWindowLongPtrW(HWND hwnd, int index) { return GetLong(hwnd, index, sizeof(LONG_PTR)); }

CE_API LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value) {
    return SetLong(hwnd, index, value, sizeof(LONG_PTR));
}

CE_API LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!proc)
        return 0;
    return proc(hwnd, message, wParam, lParam);
}

CE_API BOOL SetWindowTextW(HWND hwnd, LPCWSTR text) {
    if (!IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)) ? TRUE : FALSE;
}

// Another thread's window answers from its stored text, so that reading a title never
// waits for a thread that does not read its messages.
CE_API int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount) {
    if (!text || maxCount <= 0)
        return 0;
    DWORD self = CurrentThreadId();
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            text[0] = 0;
            return 0;
        }
        if (window->m_threadId != self) {
            size_t count = std::min(window->m_text.size(), size_t(maxCount - 1));
            std::copy_n(window->m_text.data(), count, text);
            text[count] = 0;
            return int(count);
        }
    }
    text[0] = 0;
    return int(SendMessageW(hwnd, WM_GETTEXT, WPARAM(maxCount), reinterpret_cast<LPARAM>(text)));
}

CE_API int GetWindowTextLengthW(HWND hwnd) {
    DWORD self = CurrentThreadId();
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (window->m_threadId != self)
            return int(window->m_text.size());
    }
    return int(SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0));
}
