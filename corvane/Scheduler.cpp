#include "corvane/Scheduler.h"

#include "ce/notify.h"
#include "ce/registry.h"
#include "ce/regext.h"
#include "common/Settings.h"
#include "corvane/ScheduleFinder.h"

namespace corvane {

namespace {

constexpr WCHAR kActiveValue[] = u"ActiveSchedProfile";
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksPerMs = 10000;

int64_t TicksOf(const FILETIME& time) {
    return int64_t((uint64_t(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

FILETIME FileTimeOf(int64_t ticks) {
    return FILETIME{DWORD(uint64_t(ticks) & 0xFFFFFFFF), DWORD(uint64_t(ticks) >> 32)};
}

void DeleteActiveName() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, common::kOptionsKey, 0, 0, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, kActiveValue);
    RegCloseKey(key);
}

} // namespace

Scheduler::Scheduler(std::function<void()> onWakeUp) : m_onWakeUp(std::move(onWakeUp)) {}

Scheduler::~Scheduler() {
    Stop();
    if (m_quit)
        CloseHandle(m_quit);
}

bool Scheduler::DecideAndApply(const std::vector<common::ProfileRecord>& list,
                               const ApplyFunction& apply) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    FILETIME nowFile;
    if (!SystemTimeToFileTime(&now, &nowFile))
        return false;
    int64_t nowTicks = TicksOf(nowFile);
    int32_t seconds = now.wHour * 3600 + now.wMinute * 60 + now.wSecond;
    int64_t midnight = nowTicks - seconds * kTicksPerSecond - now.wMilliseconds * kTicksPerMs;
    ScheduleChoice choice = FindScheduledProfile(list, now.wDayOfWeek, seconds);
    if (choice.inForce) {
        int64_t end = choice.profile->end - (choice.begunYesterday ? common::kSecondsPerDay : 0);
        RegisterWakeup(midnight + end * kTicksPerSecond);
        apply(*choice.profile);
        RegistrySetString(HKEY_LOCAL_MACHINE, common::kOptionsKey, kActiveValue,
                          choice.profile->name.c_str());
        return true;
    }
    if (choice.profile)
        RegisterWakeup(nowTicks + choice.waitSeconds * kTicksPerSecond);
    DeleteActiveName();
    return false;
}

void Scheduler::RegisterWakeup(int64_t localTicks) {
    if (!EnsureThread())
        return;
    FILETIME file = FileTimeOf(localTicks);
    SYSTEMTIME time;
    if (!FileTimeToSystemTime(&file, &time))
        return;
    m_wakeupSet = CeRunAppAtTime(kNotificationPath, &time) != FALSE;
}

bool Scheduler::EnsureThread() {
    if (m_thread)
        return true;
    if (!m_quit && !(m_quit = CreateEventW(nullptr, TRUE, FALSE, nullptr)))
        return false;
    ResetEvent(m_quit);
    m_named = CreateEventW(nullptr, TRUE, FALSE, kEventName);
    if (!m_named)
        return false;
    ResetEvent(m_named);
    m_thread = CreateThread(nullptr, 0, ThreadMain, this, 0, nullptr);
    if (!m_thread) {
        CloseHandle(m_named);
        m_named = nullptr;
        return false;
    }
    return true;
}

DWORD WINAPI Scheduler::ThreadMain(LPVOID self) {
    auto* scheduler = static_cast<Scheduler*>(self);
    HANDLE named = scheduler->m_named;
    try {
        scheduler->Loop(named);
    } catch (...) {
        // Nothing leaves a thread body; the scheduler stays quiet until the next apply.
        OutputDebugStringW(u"Corvane: fault in the profile scheduler\n");
    }
    CloseHandle(named);
    return 0;
}

void Scheduler::Loop(HANDLE named) {
    const HANDLE handles[] = {m_quit, named};
    for (;;) {
        DWORD result = WaitForMultipleObjects(2, handles, FALSE, INFINITE);
        if (result != WAIT_OBJECT_0 + 1)
            return;
        // Manual reset: reset after every wake-up, or the wait would spin.
        ResetEvent(named);
        m_onWakeUp();
    }
}

void Scheduler::EndThread() {
    if (!m_thread)
        return;
    SetEvent(m_quit);
    if (WaitForSingleObject(m_thread, kStopGraceMs) != WAIT_OBJECT_0) {
        // The thread is finishing an apply; it ends right after it.
        OutputDebugStringW(u"Corvane: profile scheduler slow to end\n");
        WaitForSingleObject(m_thread, INFINITE);
    }
    CloseHandle(m_thread);
    m_thread = nullptr;
    m_named = nullptr;
}

void Scheduler::Stop() {
    // The thread goes first, so that it cannot register a wake-up or name a profile
    // after they were removed.
    EndThread();
    DeleteActiveName();
    if (m_wakeupSet) {
        CeRunAppAtTime(kNotificationPath, nullptr);
        m_wakeupSet = false;
    }
}

} // namespace corvane
