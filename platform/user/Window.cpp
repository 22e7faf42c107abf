// Exported functions that create and destroy windows and walk the window tree.
#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"
#include "user/UserPrivate.h"

#include <algorithm>

using namespace platform;

namespace {

constexpr int kMaxDepth = 256;

// Asks the thread of a window to destroy it (a child of a window destroyed elsewhere).
constexpr UINT kDestroyRequest = 0x80001000u;

HWND RootLocked(HWND hwnd) {
    WindowObject* window = Wm().m_windows.Find(hwnd);
    for (int depth = 0; window && window->IsChild() && depth < kMaxDepth; ++depth) {
        WindowObject* parent = Wm().m_windows.Find(window->m_parent);
        if (!parent)
            break;
        window = parent;
    }
    return window ? window->m_handle : nullptr;
}

RECT DefaultRect(int x, int y, int width, int height, bool child) {
    // Top-level windows given CW_USEDEFAULT cover the screen, as on the device.
    LONG left = x == CW_USEDEFAULT ? 0 : x;
    LONG top = x == CW_USEDEFAULT ? 0 : y;
    LONG cx = width, cy = height;
    if (width == CW_USEDEFAULT) {
        cx = child ? 0 : Wm().ScreenWidth() - left;
        cy = child ? 0 : Wm().ScreenHeight() - top;
    }
    return RECT{left, top, left + std::max<LONG>(cx, 0), top + std::max<LONG>(cy, 0)};
}

struct CreateRequest {
    DWORD exStyle;
    LPCWSTR className;
    LPCWSTR windowName;
    DWORD style;
    int x, y, width, height;
    HWND parent;
    HMENU menu;
    HINSTANCE instance;
    LPVOID param;
};

// Builds the window record and links it into the tree; null with the last error set.
HWND InsertWindow(const CreateRequest& request, ThreadObject& thread) {
    auto lock = LockUser();
    auto windowClass = Wm().m_classes.Find(request.className, thread.Process()->Id());
    if (!windowClass) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    bool child = (request.style & WS_CHILD) != 0;
    if ((child && !Wm().m_windows.Find(request.parent)) ||
        (request.parent && !Wm().m_windows.Find(request.parent))) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    auto window = std::make_shared<WindowObject>();
    window->m_class = windowClass;
    window->m_proc = windowClass->Info().lpfnWndProc;
    window->m_style = request.style & ~DWORD(WS_VISIBLE);
    window->m_exStyle = request.exStyle;
    window->m_parent = child ? request.parent : nullptr;
    // A pop-up created with a parent is owned by that parent's top-level window.
    window->m_owner = child ? nullptr : RootLocked(request.parent);
    window->m_rect = DefaultRect(request.x, request.y, request.width, request.height, child);
    window->m_id = child ? LONG_PTR(reinterpret_cast<UINT_PTR>(request.menu)) : 0;
    window->m_instance = request.instance;
    window->m_extra.assign(size_t(windowClass->Info().cbWndExtra), 0);
    window->m_queue = Wm().QueueOfLocked(thread);
    window->m_threadId = thread.Id();
    window->m_processId = thread.Process()->Id();
    if (child)
        window->m_exStyle &= ~DWORD(WS_EX_TOPMOST);
    WindowObject& record = *window;
    HWND hwnd = Wm().m_windows.Insert(std::move(window));
    if (!hwnd) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    Wm().m_windows.Place(record, HWND_TOP);
    ++windowClass->m_windowCount;
    return hwnd;
}

// Removes a window whose WM_NCDESTROY was sent; its handle is stale from here on.
void RemoveWindowLocked(WindowObject& window) {
    ForgetWindowLocked(window);
    Wm().m_input.RemoveWindow(window.m_handle);
    std::erase_if(window.m_queue->m_timers,
                  [&](const QueueTimer& timer) { return timer.hwnd == window.m_handle; });
    if (window.m_needsPaint)
        --window.m_queue->m_paintCount;
    --window.m_class->m_windowCount;
    Wm().m_windows.ForEach([&](WindowObject& other) {
        if (other.m_owner == window.m_handle)
            other.m_owner = nullptr;
        if (other.m_lastActivePopup == window.m_handle)
            other.m_lastActivePopup = nullptr;
    });
    Wm().m_windows.Remove(window.m_handle);
    WaitHub::Instance().NotifyAll();
}

std::vector<HWND> ChildrenOf(HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    return window ? window->m_children : std::vector<HWND>{};
}

// WM_DESTROY goes to a window before its children.
void SendDestroy(HWND hwnd, DWORD self, int depth) {
    SendMessageW(hwnd, WM_DESTROY, 0, 0);
    if (depth >= kMaxDepth)
        return;
    for (HWND child : ChildrenOf(hwnd)) {
        if (GetWindowThreadProcessId(child, nullptr) == self)
            SendDestroy(child, self, depth + 1);
    }
}

void DestroyForeignChild(HWND child) {
    // A child of another thread is destroyed by its own thread; when that thread is gone
    // (or does not answer) it is removed without messages.
    SendMessageW(child, kDestroyRequest, 0, 0);
    auto lock = LockUser();
    if (WindowObject* window = Wm().m_windows.Find(child)) {
        Trace("user", "child window removed without its thread");
        for (HWND grandChild : std::vector<HWND>(window->m_children))
            if (WindowObject* inner = Wm().m_windows.Find(grandChild))
                RemoveWindowLocked(*inner);
        RemoveWindowLocked(*window);
    }
}

// WM_NCDESTROY goes to the children first; each window is gone right after its own.
void SendNcDestroyAndRemove(HWND hwnd, DWORD self, int depth) {
    for (HWND child : ChildrenOf(hwnd)) {
        if (depth >= kMaxDepth)
            break;
        if (GetWindowThreadProcessId(child, nullptr) == self)
            SendNcDestroyAndRemove(child, self, depth + 1);
        else
            DestroyForeignChild(child);
    }
    try {
        SendMessageW(hwnd, WM_NCDESTROY, 0, 0);
    } catch (...) {
        auto lock = LockUser();
        if (WindowObject* window = Wm().m_windows.Find(hwnd))
            RemoveWindowLocked(*window);
        throw;
    }
    auto lock = LockUser();
    if (WindowObject* window = Wm().m_windows.Find(hwnd))
        RemoveWindowLocked(*window);
}

void DestroyOwnedWindows(HWND owner, DWORD self) {
    std::vector<HWND> owned;
    {
        auto lock = LockUser();
        Wm().m_windows.ForEach([&](WindowObject& window) {
            if (window.m_owner != owner)
                return;
            if (window.m_threadId == self)
                owned.push_back(window.m_handle);
            else
                window.m_owner = nullptr; // another thread's pop-up outlives its owner
        });
    }
    for (HWND hwnd : owned)
        DestroyWindowOwnThread(hwnd);
}

} // namespace

namespace platform {

bool IsVisibleLocked(const WindowObject& window) {
    const WindowObject* current = &window;
    for (int depth = 0; current && depth < kMaxDepth; ++depth) {
        if (!(current->m_style & WS_VISIBLE))
            return false;
        if (!current->IsChild())
            return true;
        current = Wm().m_windows.Find(current->m_parent);
    }
    return false;
}

POINT ClientOriginLocked(const WindowObject& window) {
    POINT origin{0, 0};
    const WindowObject* current = &window;
    for (int depth = 0; current && depth < kMaxDepth; ++depth) {
        origin.x += current->m_rect.left;
        origin.y += current->m_rect.top;
        current = current->IsChild() ? Wm().m_windows.Find(current->m_parent) : nullptr;
    }
    return origin;
}

bool DestroyWindowOwnThread(HWND hwnd) {
    DWORD self = CurrentThreadId();
    bool wasActive;
    bool visible;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window || window->m_threadId != self)
            return false;
        if (window->m_destroying)
            return true;
        window->m_destroying = true;
        wasActive = Wm().m_active == hwnd;
        visible = (window->m_style & WS_VISIBLE) != 0;
    }
    if (visible)
        SetWindowPosInternal(hwnd, nullptr, 0, 0, 0, 0,
                             SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    DestroyOwnedWindows(hwnd, self);
    SendDestroy(hwnd, self, 0);
    SendNcDestroyAndRemove(hwnd, self, 0);
    HWND next = nullptr;
    {
        auto lock = LockUser();
        if (wasActive && !Wm().m_active)
            next = NextActiveCandidateLocked(nullptr);
    }
    if (next)
        ActivateWindow(next);
    return true;
}

} // namespace platform

CE_API HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param) {
    auto thread = ProcessTable::CurrentThread();
    CreateRequest request{exStyle, className, windowName, style, x, y, width, height,
                          parent, menu, instance, param};
    HWND hwnd = InsertWindow(request, *thread);
    if (!hwnd)
        return nullptr;
    CREATESTRUCTW create{param, instance, menu, parent, 0, 0, 0, 0, LONG(style), windowName,
                         className, exStyle};
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        create.x = window->m_rect.left;
        create.y = window->m_rect.top;
        create.cx = window->Width();
        create.cy = window->Height();
    }
    if (!SendMessageW(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        SendNcDestroyAndRemove(hwnd, thread->Id(), 0);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (SendMessageW(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindowOwnThread(hwnd);
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    RECT rect{};
    if (!GetClientRect(hwnd, &rect))
        return nullptr; // destroyed by its own WM_CREATE
    SendMessageW(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(rect.right, rect.bottom));
    {
        auto lock = LockUser();
        if (WindowObject* window = Wm().m_windows.Find(hwnd))
            rect = window->m_rect;
    }
    SendMessageW(hwnd, WM_MOVE, 0, MAKELPARAM(rect.left, rect.top));
    if (style & WS_VISIBLE)
        ShowWindow(hwnd, SW_SHOW);
    return IsWindow(hwnd) ? hwnd : nullptr;
}

CE_API BOOL DestroyWindow(HWND hwnd) {
    DWORD self = CurrentThreadId();
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return FALSE;
        }
        if (window->m_threadId != self) {
            SetLastError(ERROR_ACCESS_DENIED);
            return FALSE;
        }
    }
    return DestroyWindowOwnThread(hwnd);
}

namespace platform {

// Handles the request of DestroyForeignChild on the child's own thread.
bool HandleDestroyRequest(HWND hwnd, UINT message) {
    if (message != kDestroyRequest)
        return false;
    DestroyWindowOwnThread(hwnd);
    return true;
}

} // namespace platform

CE_API BOOL IsWindow(HWND hwnd) {
    auto lock = LockUser();
    return Wm().m_windows.Find(hwnd) != nullptr;
}

CE_API BOOL IsWindowVisible(HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    return window && IsVisibleLocked(*window);
}

CE_API BOOL IsWindowEnabled(HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    return window && !(window->m_style & WS_DISABLED);
}

CE_API BOOL IsChild(HWND parent, HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    for (int depth = 0; window && window->IsChild() && depth < kMaxDepth; ++depth) {
        if (window->m_parent == parent)
            return TRUE;
        window = Wm().m_windows.Find(window->m_parent);
    }
    return FALSE;
}

CE_API DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    if (processId)
        *processId = window->m_processId;
    return window->m_threadId;
}

CE_API HWND FindWindowW(LPCWSTR className, LPCWSTR windowName) {
    auto lock = LockUser();
    for (HWND hwnd : Wm().m_windows.TopLevel()) {
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window)
            continue;
        if (className) {
            bool match = IS_INTRESOURCE(className)
                             ? window->m_class->Atom() == ATOM(reinterpret_cast<ULONG_PTR>(className))
                             : EqualsNoCase(window->m_class->Name(), className);
            if (!match)
                continue;
        }
        if (windowName && !EqualsNoCase(window->m_text, windowName))
            continue;
        return hwnd;
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return nullptr;
}

CE_API BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam) {
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::vector<HWND> windows;
    {
        auto lock = LockUser();
        windows = Wm().m_windows.TopLevel();
    }
    for (HWND hwnd : windows)
        if (IsWindow(hwnd) && !proc(hwnd, lParam))
            break;
    return TRUE;
}

CE_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam) {
    if (!proc || !IsWindow(parent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Depth first, each child before its own children, from a snapshot of the tree.
    std::vector<HWND> order;
    {
        auto lock = LockUser();
        std::vector<std::pair<HWND, int>> stack;
        for (auto it = Wm().m_windows.Find(parent)->m_children.rbegin();
             it != Wm().m_windows.Find(parent)->m_children.rend(); ++it)
            stack.emplace_back(*it, 0);
        while (!stack.empty()) {
            auto [hwnd, depth] = stack.back();
            stack.pop_back();
            order.push_back(hwnd);
            WindowObject* window = Wm().m_windows.Find(hwnd);
            if (window && depth < kMaxDepth)
                for (auto it = window->m_children.rbegin(); it != window->m_children.rend(); ++it)
                    stack.emplace_back(*it, depth + 1);
        }
    }
    for (HWND hwnd : order)
        if (IsWindow(hwnd) && !proc(hwnd, lParam))
            break;
    return TRUE;
}

CE_API HWND GetWindow(HWND hwnd, UINT relation) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    if (relation == GW_OWNER)
        return window->m_owner;
    if (relation == GW_CHILD)
        return window->m_children.empty() ? nullptr : window->m_children.front();
    const auto& siblings = Wm().m_windows.SiblingsOf(*window);
    auto it = std::find(siblings.begin(), siblings.end(), hwnd);
    switch (relation) {
    case GW_HWNDFIRST:
        return siblings.empty() ? nullptr : siblings.front();
    case GW_HWNDLAST:
        return siblings.empty() ? nullptr : siblings.back();
    case GW_HWNDNEXT:
        return it == siblings.end() || it + 1 == siblings.end() ? nullptr : *(it + 1);
    case GW_HWNDPREV:
        return it == siblings.begin() || it == siblings.end() ? nullptr : *(it - 1);
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

CE_API HWND GetParent(HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // A pop-up reports its owner, a child its parent.
    return window->IsChild() ? window->m_parent : window->m_owner;
}

CE_API HWND SetParent(HWND child, HWND newParent) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(child);
    if (!window || (newParent && !Wm().m_windows.Find(newParent))) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    // A window cannot become its own descendant.
    for (HWND walk = newParent; walk;) {
        if (walk == child) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
        WindowObject* up = Wm().m_windows.Find(walk);
        walk = up && up->IsChild() ? up->m_parent : nullptr;
    }
    HWND old = window->m_parent;
    Wm().m_windows.Unlink(*window);
    window->m_parent = newParent;
    if (newParent) {
        window->m_style = (window->m_style | WS_CHILD) & ~DWORD(WS_POPUP);
        window->m_exStyle &= ~DWORD(WS_EX_TOPMOST);
    } else {
        window->m_style &= ~DWORD(WS_CHILD);
    }
    Wm().m_windows.Place(*window, HWND_TOP);
    return old;
}

CE_API HWND WindowFromPoint(POINT point) {
    auto lock = LockUser();
    auto contains = [&](const WindowObject& window) {
        POINT origin = ClientOriginLocked(window);
        return (window.m_style & WS_VISIBLE) && point.x >= origin.x && point.y >= origin.y &&
               point.x < origin.x + window.Width() && point.y < origin.y + window.Height();
    };
    WindowObject* found = nullptr;
    for (HWND hwnd : Wm().m_windows.TopLevel())
        if (WindowObject* window = Wm().m_windows.Find(hwnd); window && contains(*window)) {
            found = window;
            break;
        }
    for (int depth = 0; found && depth < kMaxDepth; ++depth) {
        WindowObject* inner = nullptr;
        for (HWND hwnd : found->m_children)
            if (WindowObject* child = Wm().m_windows.Find(hwnd); child && contains(*child)) {
                inner = child;
                break;
            }
        if (!inner)
            break;
        found = inner;
    }
    return found ? found->m_handle : nullptr;
}

CE_API int GetDlgCtrlID(HWND hwnd) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return window->IsChild() ? int(window->m_id) : 0;
}

CE_API HWND GetDlgItem(HWND dialog, int id) {
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(dialog);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    for (HWND hwnd : window->m_children)
        if (WindowObject* child = Wm().m_windows.Find(hwnd); child && int(child->m_id) == id)
            return hwnd;
    SetLastError(ERROR_NOT_FOUND);
    return nullptr;
}
