// The directory of emulated processes and threads: id allocation, the current thread,
// starting a thread body, and the hooks other subsystems run when a thread or a
// process ends (the window manager destroys the windows of a thread that ends).
#pragma once

#include "ce/types.h"
#include "kernel/ProcessObject.h"
#include "kernel/ThreadObject.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

namespace platform {

class ProcessTable {
public:
    static ProcessTable& Instance();

    // The platform's own kernel process; host threads that call into the platform are
    // counted as its threads.
    std::shared_ptr<ProcessObject> SystemProcess();

    std::shared_ptr<ProcessObject> CreateProcessRecord(std::u16string imagePath,
                                                       std::u16string commandLine);
    // Runs `body` on a new emulated thread of `process`. The thread's exit code is what
    // `body` returns. A suspended thread waits for ResumeThread.
    std::shared_ptr<ThreadObject> StartThread(const std::shared_ptr<ProcessObject>& process,
                                              std::function<DWORD()> body, bool suspended);

    // The calling thread's record; a host thread gets one attached to the system process.
    static std::shared_ptr<ThreadObject> CurrentThread();
    static std::shared_ptr<ProcessObject> CurrentProcess();

    std::shared_ptr<ProcessObject> FindProcess(DWORD id) const;
    std::shared_ptr<ThreadObject> FindThread(DWORD id) const;
    // Every process still running, oldest first (the system process excluded).
    std::vector<std::shared_ptr<ProcessObject>> Processes() const;
    std::vector<std::shared_ptr<ThreadObject>> ThreadsOf(DWORD processId) const;

    using ThreadHook = std::function<void(ThreadObject&)>;
    using ProcessHook = std::function<void(ProcessObject&)>;
    // Run on the ending thread, after its body returned and before it is marked finished.
    void AddThreadExitHook(ThreadHook hook);
    // Run on the last thread of a process after its thread hooks.
    void AddProcessExitHook(ProcessHook hook);

    // Waits up to `timeoutMs` for every emulated thread to end; true when all ended.
    bool WaitForAllThreads(DWORD timeoutMs);
    // Forgets every record (device shutdown, after the threads ended).
    void Reset();

private:
    void FinishThread(const std::shared_ptr<ThreadObject>& thread, DWORD exitCode);

    std::map<DWORD, std::shared_ptr<ProcessObject>> m_processes;
    std::map<DWORD, std::weak_ptr<ThreadObject>> m_threads;
    std::shared_ptr<ProcessObject> m_system;
    std::vector<ThreadHook> m_threadHooks;
    std::vector<ProcessHook> m_processHooks;
    DWORD m_nextProcessId = 0x100;
    DWORD m_nextThreadId = 0x1000;
};

// Thrown by ExitThread and caught by the thread trampoline; never crosses it.
struct ThreadExitRequest {
    DWORD exitCode;
};

} // namespace platform
