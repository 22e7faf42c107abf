// The scheduler of the sound profiles: decides which scheduled profile is in force,
// asks the platform to wake it at the next change through the named event
// "CrvSchedProfileEvent", and runs the thread that waits for that event and for its
// quit event. Between changes nothing polls.
//
// Threads: DecideAndApply runs under the profile engine's lock, on the main thread or on
// the scheduler thread. Stop runs on the main thread without that lock (the scheduler
// thread may need it to finish its current apply) and ends the thread through its quit
// event; a thread is never killed.
#pragma once

#include "ce/kernel.h"
#include "common/ProfileRecord.h"

#include <functional>
#include <vector>

namespace corvane {

class Scheduler {
public:
    static constexpr WCHAR kEventName[] = u"CrvSchedProfileEvent";
    static constexpr WCHAR kNotificationPath[] =
        u"\\\\.\\Notifications\\NamedEvents\\CrvSchedProfileEvent";
    // How long Stop waits for the thread before it says so in the trace.
    static constexpr DWORD kStopGraceMs = 100;

    using ApplyFunction = std::function<void(const common::ProfileRecord&)>;

    // `onWakeUp` runs on the scheduler thread after each wake-up.
    explicit Scheduler(std::function<void()> onWakeUp);
    ~Scheduler();
    Scheduler(const Scheduler&) = delete;
    Scheduler& operator=(const Scheduler&) = delete;

    // Applies the scheduled profile in force now through `apply` and registers the
    // wake-up for the end of its period, or registers the wake-up for the next start.
    // Returns whether a scheduled profile is in force. Keeps "ActiveSchedProfile".
    bool DecideAndApply(const std::vector<common::ProfileRecord>& list, const ApplyFunction& apply);

    // Ends the thread, removes the wake-up and deletes "ActiveSchedProfile".
    void Stop();

    bool ThreadRunning() const { return m_thread != nullptr; }
    bool WakeupSet() const { return m_wakeupSet; }

private:
    // Starts the thread when it does not run; the named event exists when this returns,
    // so a wake-up registered right after cannot be lost.
    bool EnsureThread();
    void EndThread();
    // `localTicks` is a local FILETIME.
    void RegisterWakeup(int64_t localTicks);
    static DWORD WINAPI ThreadMain(LPVOID self);
    void Loop(HANDLE named);

    std::function<void()> m_onWakeUp;
    HANDLE m_quit = nullptr;   // manual reset, unnamed, created once
    HANDLE m_thread = nullptr;
    HANDLE m_named = nullptr;  // handed to the thread, which closes it when it ends
    bool m_wakeupSet = false;
};

} // namespace corvane
