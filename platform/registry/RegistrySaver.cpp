#include "registry/RegistrySaver.h"

namespace platform {

void RegistrySaver::Start(std::function<bool()> save) {
    std::lock_guard lock(m_mutex);
    if (m_thread.joinable())
        return;
    m_save = std::move(save);
    m_stop = false;
    m_pending = false;
    m_thread = std::thread([this] { Run(); });
}

void RegistrySaver::Stop() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_wake.notify_all();
    }
    if (m_thread.joinable())
        m_thread.join();
    std::lock_guard lock(m_mutex);
    m_save = nullptr;
    m_pending = false;
}

void RegistrySaver::Touch() {
    std::lock_guard lock(m_mutex);
    if (m_pending || m_stop)
        return;
    m_pending = true;
    m_due = Clock::now() + kDelay;
    m_wake.notify_one();
}

void RegistrySaver::Run() {
    std::unique_lock lock(m_mutex);
    while (!m_stop) {
        if (!m_pending) {
            m_wake.wait(lock, [&] { return m_stop || m_pending; });
            continue;
        }
        if (m_wake.wait_until(lock, m_due, [&] { return m_stop; }))
            break;
        m_pending = false;
        lock.unlock();
        bool saved = m_save();
        lock.lock();
        if (!saved && !m_pending) {
            m_pending = true;
            m_due = Clock::now() + kRetryDelay;
        }
    }
}

} // namespace platform
