#include "user/WindowManager.h"

#include "device/Device.h"
#include "kernel/DeviceClock.h"
#include "kernel/ProcessTable.h"
#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"
#include "user/Clipboard.h"
#include "user/EditWindow.h"
#include "user/UserPrivate.h"

#include <algorithm>

namespace platform {

WindowManager& WindowManager::Instance() {
    static WindowManager manager;
    return manager;
}

bool WindowManager::IsSupportedScreen(int width, int height) {
    static constexpr int kSizes[][2] = {{240, 320}, {320, 240}, {480, 640}, {640, 480},
                                        {800, 480}, {240, 240}, {480, 480}};
    for (auto& size : kSizes)
        if (size[0] == width && size[1] == height)
            return true;
    return false;
}

bool WindowManager::Boot(const DeviceOptions& options, std::string& error) {
    if (!IsSupportedScreen(options.screenWidth, options.screenHeight)) {
        error = "unsupported screen size " + std::to_string(options.screenWidth) + "x" +
                std::to_string(options.screenHeight);
        return false;
    }
    {
        auto lock = LockUser();
        m_screenWidth = options.screenWidth;
        m_screenHeight = options.screenHeight;
        m_dueSource = WaitHub::Instance().AddDueSource([this] { return NextTimerDueLocked(); });
    }
    // The process table forgets its hooks at every shutdown, so they are added per boot.
    auto& processes = ProcessTable::Instance();
    processes.AddThreadExitHook([this](ThreadObject& thread) { OnThreadExit(thread); });
    processes.AddProcessExitHook([this](ProcessObject& process) { OnProcessExit(process); });
    // The standard control classes belong to the system; shutdown forgets every class.
    if (!EditWindow::Register()) {
        error = "cannot register the edit window class";
        return false;
    }
    return true;
}

void WindowManager::Shutdown() {
    EditWindow::ForgetAll();
    ResetClipboard();
    auto lock = LockUser();
    for (auto& weak : m_queues)
        if (auto queue = weak.lock()) {
            queue->m_dead = true;
            queue->FailIncoming();
            queue->m_posted.clear();
            queue->m_timers.clear();
        }
    m_queues.clear();
    m_windows.Clear();
    m_classes.Clear();
    m_input.Reset();
    m_beeps.clear();
    m_active = m_focus = m_capture = nullptr;
    m_cursor = nullptr;
    if (m_dueSource)
        WaitHub::Instance().RemoveDueSource(m_dueSource);
    m_dueSource = 0;
    WaitHub::Instance().NotifyAll();
}

bool WindowManager::SetScreenSize(int width, int height) {
    if (!IsSupportedScreen(width, height))
        return false;
    auto lock = LockUser();
    m_screenWidth = width;
    m_screenHeight = height;
    return true;
}

std::shared_ptr<MessageQueue> WindowManager::QueueOfLocked(ThreadObject& thread) {
    if (!thread.m_queue) {
        thread.m_queue = std::make_shared<MessageQueue>(thread.Id());
        std::erase_if(m_queues, [](const auto& weak) { return weak.expired(); });
        m_queues.push_back(thread.m_queue);
    }
    return thread.m_queue;
}

std::optional<int64_t> WindowManager::NextTimerDueLocked() const {
    std::optional<int64_t> next;
    for (auto& weak : m_queues)
        if (auto queue = weak.lock(); queue && !queue->m_dead)
            if (auto due = queue->NextTimerDue(); due && (!next || *due < *next))
                next = due;
    return next;
}

void WindowManager::RecordBeepLocked(UINT type) {
    if (m_beeps.size() >= kMaxBeeps)
        m_beeps.erase(m_beeps.begin());
    m_beeps.push_back(type);
}

void WindowManager::OnThreadExit(ThreadObject& thread) {
    // Destroy what the thread left behind, top-down, on the ending thread itself, as
    // DestroyWindow requires. A window procedure that faults here has no caller left to
    // report to, so the fault is traced and the destruction goes on.
    for (int guard = 0; guard < 100000; ++guard) {
        HWND victim = nullptr;
        {
            auto lock = LockUser();
            m_windows.ForEach([&](WindowObject& window) {
                if (victim || window.m_threadId != thread.Id() || window.m_destroying)
                    return;
                WindowObject* parent = m_windows.Find(window.m_parent);
                if (!parent || parent->m_threadId != thread.Id())
                    victim = window.m_handle;
            });
        }
        if (!victim)
            break;
        try {
            DestroyWindowOwnThread(victim);
        } catch (...) {
            Trace("user", "a window procedure faulted while thread %lu ended",
                  (unsigned long)thread.Id());
        }
    }
    auto lock = LockUser();
    m_input.RemoveThread(thread.Id());
    if (auto queue = thread.m_queue) {
        queue->m_dead = true;
        queue->FailIncoming();
        queue->m_posted.clear();
        queue->m_timers.clear();
        std::erase_if(m_queues, [&](const auto& weak) { return weak.lock() == queue; });
    }
    WaitHub::Instance().NotifyAll();
}

void WindowManager::OnProcessExit(ProcessObject& process) {
    auto lock = LockUser();
    m_classes.RemoveProcess(process.Id());
}

std::vector<WindowInfo> WindowManager::ListTopLevel() {
    auto lock = LockUser();
    std::vector<WindowInfo> result;
    for (HWND hwnd : m_windows.TopLevel()) {
        WindowObject* window = m_windows.Find(hwnd);
        if (!window)
            continue;
        WindowInfo info;
        info.hwnd = hwnd;
        info.className = window->m_class ? window->m_class->Name() : u"";
        info.title = window->m_text;
        info.processId = window->m_processId;
        info.threadId = window->m_threadId;
        info.visible = (window->m_style & WS_VISIBLE) != 0;
        info.enabled = (window->m_style & WS_DISABLED) == 0;
        info.topmost = window->IsTopmost();
        info.rect = window->m_rect;
        result.push_back(std::move(info));
    }
    return result;
}

HWND WindowManager::FindTopLevel(const std::u16string& className,
                                 const std::optional<std::u16string>& title) {
    auto lock = LockUser();
    for (HWND hwnd : m_windows.TopLevel()) {
        WindowObject* window = m_windows.Find(hwnd);
        if (window && window->m_class && EqualsNoCase(window->m_class->Name(), className) &&
            (!title || EqualsNoCase(window->m_text, *title)))
            return hwnd;
    }
    return nullptr;
}

bool WindowManager::PostToClass(const std::u16string& className, UINT message, WPARAM wParam,
                                LPARAM lParam, bool toThread) {
    HWND hwnd = FindTopLevel(className, std::nullopt);
    if (!hwnd)
        return false;
    if (!toThread)
        return PostMessageW(hwnd, message, wParam, lParam) != FALSE;
    DWORD threadId = GetWindowThreadProcessId(hwnd, nullptr);
    return threadId && PostThreadMessageW(threadId, message, wParam, lParam) != FALSE;
}

std::vector<UINT> WindowManager::DrainBeeps() {
    auto lock = LockUser();
    std::vector<UINT> beeps;
    beeps.swap(m_beeps);
    return beeps;
}

} // namespace platform
