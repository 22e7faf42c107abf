// The host thread that writes the registry file shortly after it changed: the first
// change starts a short delay so that a burst of writes costs one save. A failed save
// is retried after a longer delay. Stop() ends the thread; the final save at shutdown
// is the Registry's.
#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace platform {

class RegistrySaver {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kDelay{500};
    static constexpr std::chrono::milliseconds kRetryDelay{5000};

    // `save` runs on the saver thread with no saver lock held; it returns false on failure.
    void Start(std::function<bool()> save);
    void Stop();
    // Called by the registry (under its lock; this lock is a leaf below it).
    void Touch();

private:
    void Run();

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::function<bool()> m_save;
    bool m_pending = false;
    bool m_stop = false;
    Clock::time_point m_due;
    std::thread m_thread;
};

} // namespace platform
