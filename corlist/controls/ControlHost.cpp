#include "corlist/controls/ControlHost.h"

#include "corlist/controls/ScreenBuilder.h"

#include "ce/kernel.h"

#include <mutex>

namespace corlist {

namespace {

std::mutex g_classLock;

ATOM RegisterHostClass(HINSTANCE instance) {
    WNDCLASSW windowClass{};
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = &ControlHost::WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = ControlHost::kClassName;
    return RegisterClassW(&windowClass);
}

} // namespace

bool RegisterControlHostClass() {
    std::lock_guard lock(g_classLock);
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (GetClassInfoW(instance, ControlHost::kClassName, &existing) && existing.lpfnWndProc == &ControlHost::WindowProcedure)
        return true;
    if (!RegisterHostClass(instance)) {
        // A class left behind by an earlier instance of the library is replaced.
        UnregisterClassW(ControlHost::kClassName, instance);
        if (!RegisterHostClass(instance))
            return false;
    }
    return true;
}

ControlHost::~ControlHost() {
    Destroy();
}

bool ControlHost::Create(Skin& skin, const char* descriptor, const ControlTableRow* table, HWND parent, DWORD style,
                         const RECT& rect) {
    if (!RegisterControlHostClass())
        return false;
    HWND window = CreateWindowExW(0, kClassName, u"", style & ~WS_VISIBLE, rect.left, rect.top, rect.right - rect.left,
                                  rect.bottom - rect.top, parent, nullptr, GetModuleHandleW(nullptr), this);
    if (!window)
        return false;
    SetWindow(window);
    SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(this));
    OnSize();
    if (!BuildScreen(Screen(), *this, nullptr, skin, descriptor, table, 0)) {
        Destroy();
        return false;
    }
    if (style & WS_VISIBLE)
        SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
    return true;
}

void ControlHost::Destroy() {
    ReleaseScreen();
    if (HWND window = Window()) {
        SetWindowLongPtrW(window, GWL_USERDATA, 0);
        DestroyWindow(window);
        SetWindow(nullptr);
    }
}

LRESULT CALLBACK ControlHost::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* host = reinterpret_cast<ControlHost*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (!host)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return host->Handle(message, wParam, lParam);
}

LRESULT ControlHost::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleScreenMessage(message, wParam, lParam, result))
        return result;
    switch (message) {
    case WM_COMMAND:
    case WM_DRAWITEM:
    case WM_NOTIFY:
        // The page that made the host hears its controls, as a dialog's parent would.
        if (HWND parent = GetParent(Window()))
            return SendMessageW(parent, message, wParam, lParam);
        return 0;
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_CHAR:
    case WM_TIMER:
        ForwardKey(message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(Window(), message, wParam, lParam);
    }
}

} // namespace corlist
