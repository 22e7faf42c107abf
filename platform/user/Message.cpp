// Exported message functions: posting, sending (also across threads), retrieval in the
// device's order, translation and dispatch.
//
// Retrieval order of one queue: messages sent by other threads are handled first (inside
// GetMessageW/PeekMessageW, or while the thread itself waits for a reply), then posted
// messages, then the quit request, then WM_PAINT for a window with an invalid area, and
// last a WM_TIMER for a timer that fell due.
#include "ce/kernel.h"
#include "ce/user.h"
#include "kernel/DeviceClock.h"
#include "kernel/ProcessTable.h"
#include "kernel/WaitHub.h"
#include "user/PointerMessages.h"
#include "user/UserPrivate.h"

using namespace platform;

namespace platform {

std::unique_lock<std::mutex> LockUser() { return std::unique_lock(WaitHub::Instance().Mutex()); }

DWORD CurrentThreadId() { return ProcessTable::CurrentThread()->Id(); }

std::shared_ptr<MessageQueue> CurrentQueue() {
    auto thread = ProcessTable::CurrentThread(); // may take the lock itself
    auto lock = LockUser();
    return Wm().QueueOfLocked(*thread);
}

LRESULT CallWindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HandleDestroyRequest(hwnd, message))
        return 0;
    WNDPROC proc;
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(hwnd);
        if (!window)
            return 0;
        proc = window->m_proc;
    }
    return proc ? proc(hwnd, message, wParam, lParam) : DefWindowProcW(hwnd, message, wParam, lParam);
}

bool PostLocked(MessageQueue& queue, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (queue.m_dead) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return false;
    }
    if (queue.m_posted.size() >= MessageQueue::kMaxPosted) {
        SetLastError(ERROR_NOT_ENOUGH_QUOTA);
        return false;
    }
    MSG msg{hwnd, message, wParam, lParam, DWORD(DeviceClock::Instance().MonotonicMs()), {0, 0}};
    queue.m_posted.push_back(msg);
    WaitHub::Instance().NotifyAll();
    return true;
}

} // namespace platform

namespace {

WaitHub& Hub() { return WaitHub::Instance(); }

// Handles the oldest message another thread sent to this one. Called and returns with the
// lock held; the window procedure runs without it. A fault in the procedure fails the
// send and goes on to this thread's caller, as it does on the device.
void HandleIncomingLocked(std::unique_lock<std::mutex>& lock, MessageQueue& queue) {
    auto sent = queue.m_incoming.front();
    queue.m_incoming.pop_front();
    lock.unlock();
    LRESULT result;
    try {
        result = CallWindowProcedure(sent->hwnd, sent->message, sent->wParam, sent->lParam);
    } catch (...) {
        lock.lock();
        sent->failed = true;
        sent->done = true;
        Hub().NotifyAll();
        throw;
    }
    lock.lock();
    sent->result = result;
    sent->done = true;
    Hub().NotifyAll();
}

bool InRange(UINT message, UINT first, UINT last) {
    if (first == 0 && last == 0)
        return true;
    if (first <= last)
        return message >= first && message <= last;
    // An inverted range selects everything outside it.
    return message >= first || message <= last;
}

bool IsDescendantLocked(HWND hwnd, HWND ancestor) {
    WindowObject* window = Wm().m_windows.Find(hwnd);
    for (int depth = 0; window && depth < 256; ++depth) {
        if (window->m_parent == ancestor)
            return true;
        window = Wm().m_windows.Find(window->m_parent);
    }
    return false;
}

const HWND kThreadOnly = reinterpret_cast<HWND>(LONG_PTR(-1));

bool WindowMatches(HWND filter, HWND hwnd) {
    if (!filter)
        return true;
    if (filter == kThreadOnly)
        return hwnd == nullptr;
    return hwnd == filter || (hwnd && IsDescendantLocked(hwnd, filter));
}

struct Filter {
    HWND hwnd;
    UINT first;
    UINT last;
};

bool TakePostedLocked(MessageQueue& queue, const Filter& filter, MSG* out, bool remove) {
    for (auto it = queue.m_posted.begin(); it != queue.m_posted.end(); ++it) {
        if (!InRange(it->message, filter.first, filter.last) || !WindowMatches(filter.hwnd, it->hwnd))
            continue;
        if (out)
            *out = *it;
        if (remove)
            queue.m_posted.erase(it);
        return true;
    }
    return false;
}

bool TakePaintLocked(MessageQueue& queue, const Filter& filter, MSG* out) {
    if (queue.m_paintCount <= 0 || !InRange(WM_PAINT, filter.first, filter.last) ||
        filter.hwnd == kThreadOnly)
        return false;
    HWND found = nullptr;
    Wm().m_windows.ForEach([&](WindowObject& window) {
        if (!found && window.m_needsPaint && window.m_queue.get() == &queue &&
            WindowMatches(filter.hwnd, window.m_handle))
            found = window.m_handle;
    });
    if (found && out)
        *out = MSG{found, WM_PAINT, 0, 0, DWORD(DeviceClock::Instance().MonotonicMs()), {0, 0}};
    return found != nullptr;
}

bool TakeTimerLocked(MessageQueue& queue, const Filter& filter, MSG* out, bool remove) {
    if (queue.m_timers.empty() || !InRange(WM_TIMER, filter.first, filter.last))
        return false;
    int64_t now = DeviceClock::Instance().MonotonicMs();
    QueueTimer* due = nullptr;
    for (QueueTimer& timer : queue.m_timers)
        if (timer.due <= now && WindowMatches(filter.hwnd, timer.hwnd) && (!due || timer.due < due->due))
            due = &timer;
    if (!due)
        return false;
    if (out)
        *out = MSG{due->hwnd, WM_TIMER, due->id, reinterpret_cast<LPARAM>(due->proc), DWORD(now), {0, 0}};
    // However late the thread is, a due timer yields one WM_TIMER and starts over.
    if (remove)
        due->due = now + due->elapse;
    return true;
}

// Finds the next message in retrieval order; with `out` null only reports whether one is
// there and changes nothing.
bool TakeLocked(MessageQueue& queue, const Filter& filter, MSG* out, bool remove) {
    if (TakePostedLocked(queue, filter, out, remove && out))
        return true;
    if (queue.m_quit && InRange(WM_QUIT, filter.first, filter.last)) {
        if (out) {
            *out = MSG{nullptr, WM_QUIT, WPARAM(queue.m_quitCode), 0,
                       DWORD(DeviceClock::Instance().MonotonicMs()), {0, 0}};
            if (remove)
                queue.m_quit = false;
        }
        return true;
    }
    if (TakePaintLocked(queue, filter, out))
        return true;
    return TakeTimerLocked(queue, filter, out, remove && out);
}

bool Retrieve(MSG* out, const Filter& filter, bool remove, bool wait) {
    auto thread = ProcessTable::CurrentThread();
    auto lock = LockUser();
    auto queue = Wm().QueueOfLocked(*thread);
    for (;;) {
        if (!queue->m_incoming.empty()) {
            HandleIncomingLocked(lock, *queue);
            continue;
        }
        if (TakeLocked(*queue, filter, out, remove)) {
            queue->m_lastTime = out->time;
            queue->m_lastPoint = out->pt;
            return true;
        }
        if (!wait)
            return false;
        std::optional<HostClock::time_point> deadline;
        if (auto next = queue->NextTimerDue())
            deadline = DeviceClock::Instance().HostDeadlineFor(*next);
        Hub().Wait(lock, [&] { return !queue->m_incoming.empty() || TakeLocked(*queue, filter, nullptr, false); },
                   deadline, true);
    }
}

// Sends to a window of another thread and waits for the reply, handling messages sent to
// this thread meanwhile so that two threads sending to each other do not deadlock.
LRESULT SendToOtherThread(std::unique_lock<std::mutex>& lock, ThreadObject& self,
                          MessageQueue& target, HWND hwnd, UINT message, WPARAM wParam,
                          LPARAM lParam) {
    auto own = Wm().QueueOfLocked(self);
    auto sent = std::make_shared<SentMessage>();
    *sent = SentMessage{hwnd, message, wParam, lParam};
    target.m_incoming.push_back(sent);
    Hub().NotifyAll();
    for (;;) {
        Hub().Wait(lock, [&] { return sent->done || !own->m_incoming.empty(); }, std::nullopt);
        if (sent->done)
            break;
        HandleIncomingLocked(lock, *own);
    }
    if (sent->failed) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return sent->result;
}

std::vector<HWND> TopLevelSnapshot() {
    auto lock = LockUser();
    return Wm().m_windows.TopLevel();
}

TCHAR CharForKey(UINT vk, bool shift, bool caps, bool control) {
    if (vk >= 'A' && vk <= 'Z') {
        if (control)
            return TCHAR(vk - 'A' + 1);
        return TCHAR((shift != caps) ? vk : vk - 'A' + 'a');
    }
    if (vk >= '0' && vk <= '9')
        return shift ? TCHAR(u")!@#$%^&*("[vk - '0']) : TCHAR(vk);
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return TCHAR('0' + vk - VK_NUMPAD0);
    struct Mapping {
        UINT vk;
        char16_t plain;
        char16_t shifted;
    };
    static constexpr Mapping kMap[] = {
        {VK_SPACE, u' ', u' '},     {VK_RETURN, u'\r', u'\r'},  {VK_BACK, 8, 8},
        {VK_TAB, u'\t', u'\t'},     {VK_ESCAPE, 27, 27},        {VK_MULTIPLY, u'*', u'*'},
        {VK_ADD, u'+', u'+'},       {VK_SUBTRACT, u'-', u'-'},  {VK_DECIMAL, u'.', u'.'},
        {VK_DIVIDE, u'/', u'/'},    {VK_SEMICOLON, u';', u':'}, {VK_EQUAL, u'=', u'+'},
        {VK_COMMA, u',', u'<'},     {VK_HYPHEN, u'-', u'_'},    {VK_PERIOD, u'.', u'>'},
        {VK_SLASH, u'/', u'?'},     {VK_BACKQUOTE, u'`', u'~'}, {VK_LBRACKET, u'[', u'{'},
        {VK_BACKSLASH, u'\\', u'|'}, {VK_RBRACKET, u']', u'}'}, {VK_APOSTROPHE, u'\'', u'"'},
        // The phone keypad's star and pound keys.
        {VK_TSTAR, u'*', u'*'},     {VK_TPOUND, u'#', u'#'},
    };
    for (const Mapping& mapping : kMap)
        if (mapping.vk == vk)
            return shift ? mapping.shifted : mapping.plain;
    return 0;
}

} // namespace

namespace {

// Messages that carry a pointer into the sender's memory are only sent, never queued.
bool RefusedAsync(UINT message, LPARAM lParam) {
    if (!platform::CarriesPointer(message, lParam))
        return false;
    SetLastError(ERROR_MESSAGE_SYNC_ONLY);
    return true;
}

} // namespace

namespace platform {

void SendOrNotify(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    SendNotifyMessageW(hwnd, message, wParam, lParam);
}

} // namespace platform

CE_API BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (RefusedAsync(message, lParam))
        return FALSE;
    if (!hwnd)
        return PostThreadMessageW(GetCurrentThreadId(), message, wParam, lParam);
    if (hwnd == HWND_BROADCAST) {
        for (HWND target : TopLevelSnapshot())
            PostMessageW(target, message, wParam, lParam);
        return TRUE;
    }
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return PostLocked(*window->m_queue, hwnd, message, wParam, lParam);
}

CE_API BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
    if (RefusedAsync(message, lParam))
        return FALSE;
    auto thread = ProcessTable::Instance().FindThread(threadId);
    auto lock = LockUser();
    if (!thread || thread->m_finished) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    // A thread that has not asked for messages yet still gets its queue, so a message
    // posted right after CreateThread is not lost.
    return PostLocked(*Wm().QueueOfLocked(*thread), nullptr, message, wParam, lParam);
}

CE_API LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        for (HWND target : TopLevelSnapshot())
            SendMessageW(target, message, wParam, lParam);
        return 0;
    }
    auto self = ProcessTable::CurrentThread();
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    auto target = window->m_queue;
    if (target->ThreadId() == self->Id()) {
        lock.unlock();
        return CallWindowProcedure(hwnd, message, wParam, lParam);
    }
    if (target->m_dead) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return SendToOtherThread(lock, *self, *target, hwnd, message, wParam, lParam);
}

CE_API BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd == HWND_BROADCAST) {
        for (HWND target : TopLevelSnapshot())
            SendNotifyMessageW(target, message, wParam, lParam);
        return TRUE;
    }
    DWORD self = CurrentThreadId();
    auto lock = LockUser();
    WindowObject* window = Wm().m_windows.Find(hwnd);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto target = window->m_queue;
    if (target->ThreadId() == self) {
        lock.unlock();
        CallWindowProcedure(hwnd, message, wParam, lParam);
        return TRUE;
    }
    if (RefusedAsync(message, lParam))
        return FALSE; // another thread's window gets it later, like a posted message
    if (target->m_dead) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    auto sent = std::make_shared<SentMessage>();
    *sent = SentMessage{hwnd, message, wParam, lParam};
    target->m_incoming.push_back(sent);
    Hub().NotifyAll();
    return TRUE;
}

CE_API BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && hwnd != kThreadOnly && !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    Retrieve(msg, Filter{hwnd, filterMin, filterMax}, true, true);
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

CE_API BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hwnd && hwnd != kThreadOnly && !IsWindow(hwnd)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    return Retrieve(msg, Filter{hwnd, filterMin, filterMax}, (removeFlags & PM_REMOVE) != 0, false);
}

CE_API BOOL WaitMessage() {
    MSG msg;
    Retrieve(&msg, Filter{nullptr, 0, 0}, false, true);
    return TRUE;
}

CE_API BOOL TranslateMessage(const MSG* msg) {
    if (!msg)
        return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_KEYUP && msg->message != WM_SYSKEYDOWN &&
        msg->message != WM_SYSKEYUP)
        return FALSE;
    if (msg->message != WM_KEYDOWN)
        return TRUE;
    auto lock = LockUser();
    // FIXME: the shift and caps state is the one of now, not of when the key was pressed.
    const InputRouter& input = Wm().m_input;
    TCHAR ch = CharForKey(UINT(msg->wParam), input.IsDown(VK_SHIFT), input.IsToggled(VK_CAPITAL),
                          input.IsDown(VK_CONTROL));
    WindowObject* window = Wm().m_windows.Find(msg->hwnd);
    if (ch && window)
        PostLocked(*window->m_queue, msg->hwnd, WM_CHAR, ch, msg->lParam);
    return TRUE;
}

CE_API LRESULT DispatchMessageW(const MSG* msg) {
    if (!msg)
        return 0;
    if (msg->message == WM_TIMER && msg->lParam) {
        // Only a timer procedure this thread registered is called: a posted WM_TIMER
        // with a made-up lParam must not become a jump to an arbitrary address.
        auto queue = CurrentQueue();
        TIMERPROC proc = nullptr;
        {
            auto lock = LockUser();
            if (QueueTimer* timer = queue->FindTimer(msg->hwnd, msg->wParam))
                if (reinterpret_cast<LPARAM>(timer->proc) == msg->lParam)
                    proc = timer->proc;
        }
        if (proc)
            proc(msg->hwnd, WM_TIMER, msg->wParam, GetTickCount());
        return 0;
    }
    if (!msg->hwnd)
        return 0;
    DWORD self = CurrentThreadId();
    {
        auto lock = LockUser();
        WindowObject* window = Wm().m_windows.Find(msg->hwnd);
        if (!window) {
            SetLastError(ERROR_INVALID_WINDOW_HANDLE);
            return 0;
        }
        if (window->m_threadId != self) {
            SetLastError(ERROR_WINDOW_OF_OTHER_THREAD);
            return 0;
        }
    }
    LRESULT result = CallWindowProcedure(msg->hwnd, msg->message, msg->wParam, msg->lParam);
    if (msg->message == WM_PAINT) {
        // A procedure that painted nothing must not get WM_PAINT forever.
        auto lock = LockUser();
        if (WindowObject* window = Wm().m_windows.Find(msg->hwnd); window && window->m_needsPaint)
            ValidateLocked(*window, nullptr);
    }
    return result;
}

CE_API void PostQuitMessage(int exitCode) {
    auto queue = CurrentQueue();
    auto lock = LockUser();
    queue->m_quit = true;
    queue->m_quitCode = exitCode;
    Hub().NotifyAll();
}

CE_API DWORD GetMessagePos() {
    auto queue = CurrentQueue();
    auto lock = LockUser();
    return DWORD(MAKELONG(queue->m_lastPoint.x, queue->m_lastPoint.y));
}

CE_API LONG GetMessageTime() {
    auto queue = CurrentQueue();
    auto lock = LockUser();
    return LONG(queue->m_lastTime);
}
