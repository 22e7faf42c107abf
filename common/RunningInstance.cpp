#include "common/RunningInstance.h"

#include "ce/kernel.h"
#include "ce/user.h"
#include "common/Messages.h"

#include <cwctype>

namespace common {

namespace {

bool EqualsNoCase(const WCHAR* a, const WCHAR* b) {
    for (; *a && *b; ++a, ++b)
        if (std::towlower(*a) != std::towlower(*b))
            return false;
    return *a == *b;
}

struct FrontSearch {
    DWORD threadId;
    HWND found;
};

// The first top-level window of the thread, in z-order, that could be in front of the
// user: visible, enabled and able to take activation.
BOOL CALLBACK FindFrontWindow(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<FrontSearch*>(parameter);
    if (GetWindowThreadProcessId(window, nullptr) != search->threadId)
        return TRUE;
    if (!IsWindowVisible(window) || !IsWindowEnabled(window) ||
        (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_NOACTIVATE))
        return TRUE;
    search->found = window;
    return FALSE;
}

} // namespace

HWND FindRunningInstance() { return FindWindowW(kWatcherClass, nullptr); }

bool IsOwnWindowClass(const WCHAR* className) {
    return EqualsNoCase(className, kWatcherClass) || EqualsNoCase(className, kFrameClass) ||
           EqualsNoCase(className, kControlHostClass);
}

bool ForwardPageRequest(HWND watcher, DWORD startFlags) {
    DWORD threadId = GetWindowThreadProcessId(watcher, nullptr);
    if (threadId == 0)
        return false;
    FrontSearch search{threadId, nullptr};
    EnumWindows(FindFrontWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) {
        WCHAR className[64] = {};
        GetClassNameW(search.found, className, 64);
        if (!IsOwnWindowClass(className)) {
            // A message box of the resident program would swallow the request.
            PostMessageW(search.found, WM_CLOSE, 0, 0);
            Sleep(100);
        }
    }
    PostThreadMessageW(threadId, CRVM_WAKE, 0, 0);
    PostThreadMessageW(threadId, CRVM_OPENPAGE, startFlags, 0);
    return true;
}

} // namespace common
