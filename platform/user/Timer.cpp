// Exported timer functions. Timers run on the device clock: a due timer yields one
// WM_TIMER when its thread's queue has nothing else to give (user/Message.cpp), so a
// frozen clock holds every timer until the console advances it.
#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/DeviceClock.h"
#include "kernel/WaitHub.h"
#include "user/UserPrivate.h"

#include <algorithm>

using namespace platform;

namespace {
constexpr UINT kMinimumElapse = 10;
constexpr UINT kMaximumElapse = 0x7FFFFFFF;

// The queue a timer of `hwnd` lives in: the window's thread, or the caller's for none.
std::shared_ptr<MessageQueue> TimerQueueLocked(HWND hwnd, const std::shared_ptr<MessageQueue>& own) {
    if (!hwnd)
        return own;
    WindowObject* window = Wm().m_windows.Find(hwnd);
    return window ? window->m_queue : nullptr;
}
} // namespace

CE_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc) {
    auto own = CurrentQueue();
    auto lock = LockUser();
    auto queue = TimerQueueLocked(hwnd, own);
    if (!queue) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    elapse = std::clamp(elapse, kMinimumElapse, kMaximumElapse);
    if (!hwnd && (id == 0 || !queue->FindTimer(nullptr, id)))
        id = queue->NewThreadTimerId();
    if (!hwnd && id == 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    int64_t due = DeviceClock::Instance().MonotonicMs() + elapse;
    if (QueueTimer* timer = queue->FindTimer(hwnd, id)) {
        timer->elapse = elapse;
        timer->proc = timerProc;
        timer->due = due;
    } else {
        queue->m_timers.push_back(QueueTimer{hwnd, id, elapse, timerProc, due});
    }
    // Waiting threads recompute their deadline from the new timer.
    WaitHub::Instance().NotifyAll();
    return id == 0 ? 1 : id;
}

CE_API BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    auto own = CurrentQueue();
    auto lock = LockUser();
    auto queue = TimerQueueLocked(hwnd, own);
    if (!queue) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto removed = std::erase_if(queue->m_timers, [&](const QueueTimer& timer) {
        return timer.hwnd == hwnd && timer.id == id;
    });
    if (!removed) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    WaitHub::Instance().NotifyAll();
    return TRUE;
}
