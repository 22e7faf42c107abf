// One emulated thread: a host thread with a thread id, its process, its exit code and
// the per-thread state of other subsystems (the message queue of the window manager).
#pragma once

#include "ce/types.h"
#include "kernel/KernelObject.h"

#include <memory>

namespace platform {

class ProcessObject;
class MessageQueue;

class ThreadObject : public KernelObject {
public:
    ThreadObject(DWORD id, std::shared_ptr<ProcessObject> process, bool emulated)
        : m_id(id), m_process(std::move(process)), m_emulated(emulated) {}

    ObjectType Type() const override { return ObjectType::Thread; }
    bool IsWaitable() const override { return true; }
    bool IsSignaled() const override { return m_finished; }

    DWORD Id() const { return m_id; }
    const std::shared_ptr<ProcessObject>& Process() const { return m_process; }
    // False for host threads (console, test bodies) that call into the platform.
    bool IsEmulated() const { return m_emulated; }

    // Guarded by the WaitHub lock.
    DWORD m_exitCode = 0x103; // STILL_ACTIVE
    bool m_finished = false;
    bool m_suspended = false;
    int m_priority = 0;

    // The window manager's queue of this thread, created on first use. Guarded by the
    // WaitHub lock; owned here so that it lives exactly as long as the thread.
    std::shared_ptr<MessageQueue> m_queue;

private:
    DWORD m_id;
    std::shared_ptr<ProcessObject> m_process;
    bool m_emulated;
};

} // namespace platform
