#include "kernel/ProcessTable.h"

#include "kernel/Trace.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"

#include <atomic>
#include <thread>

namespace platform {

namespace {
thread_local std::shared_ptr<ThreadObject> t_current;
// Host threads keep their record across calls; a new device (a new boot in the same host
// process) gives them a new one.
std::atomic<unsigned> g_epoch{1};
thread_local unsigned t_epoch = 0;
} // namespace

std::u16string ProcessObject::Name() const {
    size_t slash = m_imagePath.find_last_of(u"\\/");
    return slash == std::u16string::npos ? m_imagePath : m_imagePath.substr(slash + 1);
}

ProcessTable& ProcessTable::Instance() {
    static ProcessTable table;
    return table;
}

std::shared_ptr<ProcessObject> ProcessTable::SystemProcess() {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    if (!m_system) {
        m_system = std::make_shared<ProcessObject>(1, u"\\Windows\\nk.exe", u"");
        m_processes[1] = m_system;
    }
    return m_system;
}

std::shared_ptr<ProcessObject> ProcessTable::CreateProcessRecord(std::u16string imagePath,
                                                                 std::u16string commandLine) {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    DWORD id = m_nextProcessId;
    m_nextProcessId += 4;
    auto process = std::make_shared<ProcessObject>(id, std::move(imagePath), std::move(commandLine));
    m_processes[id] = process;
    return process;
}

std::shared_ptr<ThreadObject> ProcessTable::StartThread(const std::shared_ptr<ProcessObject>& process,
                                                        std::function<DWORD()> body,
                                                        bool suspended) {
    auto& hub = WaitHub::Instance();
    std::shared_ptr<ThreadObject> thread;
    {
        std::lock_guard lock(hub.Mutex());
        DWORD id = m_nextThreadId;
        m_nextThreadId += 4;
        thread = std::make_shared<ThreadObject>(id, process, true);
        thread->m_suspended = suspended;
        m_threads[id] = thread;
        if (process->m_liveThreads++ == 0)
            process->m_mainThreadId = id;
        hub.ThreadStarted();
    }
    std::thread([this, thread, body = std::move(body)]() mutable {
        t_current = thread;
        WaitHub::MarkEmulatedThread(true);
        {
            std::unique_lock lock(WaitHub::Instance().Mutex());
            WaitHub::Instance().Wait(lock, [&] { return !thread->m_suspended; }, std::nullopt);
        }
        DWORD exitCode = 0;
        try {
            exitCode = body();
        } catch (const ThreadExitRequest& request) {
            exitCode = request.exitCode;
        } catch (...) {
            // A fault in a thread body ends that thread only, as on the device.
            Trace("kernel", "thread %lu ended by an unhandled fault", (unsigned long)thread->Id());
            exitCode = 0xC0000005;
        }
        FinishThread(thread, exitCode);
        t_current.reset();
    }).detach();
    return thread;
}

void ProcessTable::FinishThread(const std::shared_ptr<ThreadObject>& thread, DWORD exitCode) {
    for (auto& hook : m_threadHooks)
        hook(*thread);
    auto& process = thread->Process();
    // The device's own process lives as long as the device: the threads its callers (the
    // host, tests) start end without ending it.
    bool system = process == SystemProcess();
    bool lastThread;
    {
        std::lock_guard lock(WaitHub::Instance().Mutex());
        lastThread = process->m_liveThreads == 1 && !system;
        if (thread->Id() == process->m_mainThreadId && !process->m_exitCodeSet)
            process->m_exitCode = exitCode;
    }
    if (lastThread)
        for (auto& hook : m_processHooks)
            hook(*process);
    auto& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    thread->m_exitCode = exitCode;
    thread->m_finished = true;
    m_threads.erase(thread->Id());
    if (--process->m_liveThreads == 0 && !system) {
        process->m_finished = true;
        m_processes.erase(process->Id());
    }
    hub.ThreadEnded();
}

std::shared_ptr<ThreadObject> ProcessTable::CurrentThread() {
    if (t_current && !t_current->IsEmulated() && t_epoch != g_epoch.load())
        t_current.reset();
    if (!t_current) {
        t_epoch = g_epoch.load();
        auto& table = Instance();
        auto system = table.SystemProcess();
        std::lock_guard lock(WaitHub::Instance().Mutex());
        DWORD id = table.m_nextThreadId;
        table.m_nextThreadId += 4;
        t_current = std::make_shared<ThreadObject>(id, system, false);
        table.m_threads[id] = t_current;
    }
    return t_current;
}

std::shared_ptr<ProcessObject> ProcessTable::CurrentProcess() { return CurrentThread()->Process(); }

std::shared_ptr<ProcessObject> ProcessTable::FindProcess(DWORD id) const {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    auto it = m_processes.find(id);
    return it == m_processes.end() ? nullptr : it->second;
}

std::shared_ptr<ThreadObject> ProcessTable::FindThread(DWORD id) const {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    auto it = m_threads.find(id);
    return it == m_threads.end() ? nullptr : it->second.lock();
}

std::vector<std::shared_ptr<ProcessObject>> ProcessTable::Processes() const {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    std::vector<std::shared_ptr<ProcessObject>> result;
    for (auto& [id, process] : m_processes)
        if (process != m_system)
            result.push_back(process);
    return result;
}

std::vector<std::shared_ptr<ThreadObject>> ProcessTable::ThreadsOf(DWORD processId) const {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    std::vector<std::shared_ptr<ThreadObject>> result;
    for (auto& [id, weak] : m_threads)
        if (auto thread = weak.lock(); thread && thread->Process()->Id() == processId)
            result.push_back(thread);
    return result;
}

void ProcessTable::AddThreadExitHook(ThreadHook hook) { m_threadHooks.push_back(std::move(hook)); }

void ProcessTable::AddProcessExitHook(ProcessHook hook) {
    m_processHooks.push_back(std::move(hook));
}

bool ProcessTable::WaitForAllThreads(DWORD timeoutMs) {
    auto& hub = WaitHub::Instance();
    std::unique_lock lock(hub.Mutex());
    return hub.Wait(lock, [&] { return hub.LiveThreads() == 0; },
                    HostClock::now() + std::chrono::milliseconds(timeoutMs));
}

void ProcessTable::Reset() {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    m_processes.clear();
    m_threads.clear();
    m_system.reset();
    m_nextProcessId = 0x100;
    m_threadHooks.clear();
    m_processHooks.clear();
    ++g_epoch;
}

} // namespace platform
