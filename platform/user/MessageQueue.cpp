#include "user/MessageQueue.h"

namespace platform {

std::optional<int64_t> MessageQueue::NextTimerDue() const {
    std::optional<int64_t> next;
    for (const QueueTimer& timer : m_timers)
        if (!next || timer.due < *next)
            next = timer.due;
    return next;
}

QueueTimer* MessageQueue::FindTimer(HWND hwnd, UINT_PTR id) {
    for (QueueTimer& timer : m_timers)
        if (timer.hwnd == hwnd && timer.id == id)
            return &timer;
    return nullptr;
}

UINT_PTR MessageQueue::NewThreadTimerId() {
    for (int attempt = 0; attempt < 0x7FFF; ++attempt) {
        UINT_PTR id = m_nextTimerId;
        m_nextTimerId = m_nextTimerId >= 0x7FFF ? 1 : m_nextTimerId + 1;
        if (!FindTimer(nullptr, id))
            return id;
    }
    return 0;
}

void MessageQueue::FailIncoming() {
    for (auto& sent : m_incoming) {
        sent->failed = true;
        sent->done = true;
    }
    m_incoming.clear();
}

} // namespace platform
