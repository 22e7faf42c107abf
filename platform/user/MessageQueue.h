// The message queue of one thread: posted window and thread messages, messages sent by
// other threads and waiting to be handled, the quit request, timers and the count of
// its windows that need painting. Lives in ThreadObject::m_queue; guarded by the WaitHub
// lock. Retrieval order (sent, posted, quit, paint, timer) is in user/Message.cpp.
#pragma once

#include "ce/user.h"

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <vector>

namespace platform {

// A message sent from another thread. The sender waits until `done`; a notification
// (SendNotifyMessageW) has no waiting sender.
struct SentMessage {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    LRESULT result = 0;
    bool done = false;
    bool failed = false;
};

struct QueueTimer {
    HWND hwnd = nullptr;
    UINT_PTR id = 0;
    UINT elapse = 0;
    TIMERPROC proc = nullptr;
    int64_t due = 0; // device-monotonic ms
};

class MessageQueue {
public:
    explicit MessageQueue(DWORD threadId) : m_threadId(threadId) {}

    DWORD ThreadId() const { return m_threadId; }

    // Win32's per-queue limit: a thread that stops reading cannot exhaust memory.
    static constexpr size_t kMaxPosted = 10000;

    std::deque<MSG> m_posted;
    std::deque<std::shared_ptr<SentMessage>> m_incoming;
    bool m_quit = false;
    int m_quitCode = 0;
    std::vector<QueueTimer> m_timers;
    int m_paintCount = 0;
    // Set when the thread ended: sends to it fail, posts are refused.
    bool m_dead = false;
    // The last message retrieved (GetMessagePos, GetMessageTime).
    DWORD m_lastTime = 0;
    POINT m_lastPoint{};

    std::optional<int64_t> NextTimerDue() const;
    QueueTimer* FindTimer(HWND hwnd, UINT_PTR id);
    // A timer id for SetTimer(NULL, 0, ...) not used by this thread's other timers.
    UINT_PTR NewThreadTimerId();
    // Fails every waiting send (the thread ended or the device shuts down).
    void FailIncoming();

private:
    DWORD m_threadId;
    UINT_PTR m_nextTimerId = 1;
};

} // namespace platform
