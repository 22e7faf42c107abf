// The core object's lock: a critical section with a busy flag. It guards every fetch and
// release of a contact's store item and every change of the contact cache, since the
// incoming-call dialog reads the cache and fetches items on a thread of its own.
#pragma once

#include "ce/kernel.h"

#include <atomic>

namespace common {

class CoreLock {
public:
    CoreLock() { InitializeCriticalSection(&m_section); }
    ~CoreLock() { DeleteCriticalSection(&m_section); }
    CoreLock(const CoreLock&) = delete;
    CoreLock& operator=(const CoreLock&) = delete;

    void Enter() {
        EnterCriticalSection(&m_section);
        ++m_depth;
    }
    void Leave() {
        --m_depth;
        LeaveCriticalSection(&m_section);
    }
    // True while some thread holds the lock (a hint for pollers; take the lock to act).
    bool Busy() const { return m_depth > 0; }

private:
    CRITICAL_SECTION m_section;
    std::atomic<int> m_depth{0};
};

class CoreLockGuard {
public:
    explicit CoreLockGuard(CoreLock& lock) : m_lock(lock) { m_lock.Enter(); }
    ~CoreLockGuard() { m_lock.Leave(); }
    CoreLockGuard(const CoreLockGuard&) = delete;
    CoreLockGuard& operator=(const CoreLockGuard&) = delete;

private:
    CoreLock& m_lock;
};

} // namespace common
