#include "user/StylusInput.h"

#include "ce/kernel.h"
#include "kernel/DeviceClock.h"
#include "kernel/WaitHub.h"
#include "user/UserPrivate.h"

using namespace platform;

namespace {

constexpr int kMaxDepth = 256;

bool ContainsLocked(const WindowObject& window, POINT point) {
    POINT origin = ClientOriginLocked(window);
    return point.x >= origin.x && point.y >= origin.y && point.x < origin.x + window.Width() &&
           point.y < origin.y + window.Height();
}

// The deepest visible window under a screen point.
WindowObject* WindowAtLocked(POINT point) {
    WindowObject* found = nullptr;
    for (HWND hwnd : Wm().m_windows.TopLevel())
        if (WindowObject* window = Wm().m_windows.Find(hwnd);
            window && (window->m_style & WS_VISIBLE) && ContainsLocked(*window, point)) {
            found = window;
            break;
        }
    for (int depth = 0; found && depth < kMaxDepth; ++depth) {
        WindowObject* inner = nullptr;
        for (HWND hwnd : found->m_children)
            if (WindowObject* child = Wm().m_windows.Find(hwnd);
                child && (child->m_style & WS_VISIBLE) && ContainsLocked(*child, point)) {
                inner = child;
                break;
            }
        if (!inner)
            break;
        found = inner;
    }
    return found;
}

// A window takes the stylus only when it and every ancestor are enabled.
bool EnabledChainLocked(const WindowObject& window) {
    const WindowObject* current = &window;
    for (int depth = 0; current && depth < kMaxDepth; ++depth) {
        if (current->m_style & WS_DISABLED)
            return false;
        if (!current->IsChild())
            return true;
        current = Wm().m_windows.Find(current->m_parent);
    }
    return false;
}

HWND TopLevelLocked(WindowObject& window) {
    WindowObject* current = &window;
    for (int depth = 0; current->IsChild() && depth < kMaxDepth; ++depth) {
        WindowObject* parent = Wm().m_windows.Find(current->m_parent);
        if (!parent)
            break;
        current = parent;
    }
    return current->m_handle;
}

// The window that gets an event at `point`, or null.
WindowObject* TargetLocked(POINT point) {
    if (WindowObject* captured = Wm().m_windows.Find(Wm().m_capture))
        return captured;
    WindowObject* window = WindowAtLocked(point);
    return window && EnabledChainLocked(*window) ? window : nullptr;
}

void PostStylusLocked(WindowObject& window, UINT message, WPARAM wParam, POINT screen) {
    POINT origin = ClientOriginLocked(window);
    LONG x = screen.x - origin.x, y = screen.y - origin.y;
    MessageQueue& queue = *window.m_queue;
    if (queue.m_dead || queue.m_posted.size() >= MessageQueue::kMaxPosted)
        return;
    // Client coordinates as signed 16-bit halves: a captured stylus may be left or above.
    LPARAM lParam = LPARAM((DWORD(y & 0xFFFF) << 16) | DWORD(x & 0xFFFF));
    queue.m_posted.push_back(MSG{window.m_handle, message, wParam, lParam,
                                 DWORD(DeviceClock::Instance().MonotonicMs()), screen});
    WaitHub::Instance().NotifyAll();
}

} // namespace

namespace platform {

HWND StylusInput::Deliver(StylusAction action, POINT point) {
    HWND activate = nullptr;
    if (action == StylusAction::Press) {
        auto lock = LockUser();
        WindowObject* target = TargetLocked(point);
        if (target && !Wm().m_capture) {
            HWND top = TopLevelLocked(*target);
            WindowObject* topWindow = Wm().m_windows.Find(top);
            if (top != Wm().m_active && !(topWindow->m_exStyle & WS_EX_NOACTIVATE))
                activate = top;
        }
    }
    // Activation sends messages, so it runs without the lock, before the touch is posted.
    if (activate)
        ActivateWindow(activate);
    auto lock = LockUser();
    InputRouter& input = Wm().m_input;
    if (action != StylusAction::Move)
        input.SetDown(VK_LBUTTON, action == StylusAction::Press);
    WindowObject* target = TargetLocked(point);
    if (!target)
        return nullptr;
    switch (action) {
    case StylusAction::Press:
        PostStylusLocked(*target, WM_LBUTTONDOWN, MK_LBUTTON, point);
        break;
    case StylusAction::Move:
        PostStylusLocked(*target, WM_MOUSEMOVE, input.IsDown(VK_LBUTTON) ? MK_LBUTTON : 0, point);
        break;
    case StylusAction::Release:
        PostStylusLocked(*target, WM_LBUTTONUP, 0, point);
        break;
    }
    return target->m_handle;
}

} // namespace platform

CE_API HWND ChildWindowFromPoint(HWND parent, POINT point) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(parent);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (point.x < 0 || point.y < 0 || point.x >= window->Width() || point.y >= window->Height())
        return nullptr;
    for (HWND hwnd : window->m_children)
        if (WindowObject* child = Wm().m_windows.Find(hwnd);
            child && point.x >= child->m_rect.left && point.y >= child->m_rect.top &&
            point.x < child->m_rect.right && point.y < child->m_rect.bottom)
            return hwnd;
    return parent;
}
