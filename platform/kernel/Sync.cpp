// Exported synchronisation functions: last error, handles, events, waits, sleeps and
// critical sections.
#include "ce/kernel.h"
#include "kernel/EventObject.h"
#include "kernel/HandleTable.h"
#include "kernel/ProcessTable.h"
#include "kernel/Utf.h"
#include "kernel/WaitHub.h"

#include <malloc.h>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

using namespace platform;

namespace {

thread_local DWORD t_lastError = 0;

// Named events of the device, by folded name. Guarded by the WaitHub lock.
std::map<std::u16string, std::weak_ptr<EventObject>>& NamedEvents() {
    static std::map<std::u16string, std::weak_ptr<EventObject>> events;
    return events;
}

std::optional<HostClock::time_point> DeadlineAfter(DWORD milliseconds) {
    if (milliseconds == INFINITE)
        return std::nullopt;
    return HostClock::now() + std::chrono::milliseconds(milliseconds);
}

std::shared_ptr<KernelObject> ResolveWaitable(HANDLE handle) {
    if (handle == GetCurrentThread())
        return ProcessTable::CurrentThread();
    if (handle == GetCurrentProcess())
        return ProcessTable::CurrentProcess();
    auto object = HandleTable::Instance().Lookup(handle);
    return object && object->IsWaitable() ? object : nullptr;
}

std::shared_ptr<EventObject> LookupEvent(HANDLE handle) {
    return HandleTable::Instance().LookupAs<EventObject>(handle, ObjectType::Event);
}

} // namespace

EventObject::~EventObject() {
    if (m_name.empty())
        return;
    std::lock_guard lock(WaitHub::Instance().Mutex());
    auto it = NamedEvents().find(FoldCase(m_name));
    if (it != NamedEvents().end() && it->second.expired())
        NamedEvents().erase(it);
}

bool EventObject::SetNamed(const std::u16string& name) {
    std::lock_guard lock(WaitHub::Instance().Mutex());
    return SetNamedLocked(name);
}

bool EventObject::SetNamedLocked(const std::u16string& name) {
    auto& hub = WaitHub::Instance();
    auto it = NamedEvents().find(FoldCase(name));
    if (it == NamedEvents().end())
        return false;
    auto event = it->second.lock();
    if (!event)
        return false;
    event->Set();
    hub.NotifyAll();
    return true;
}

CE_API DWORD GetLastError() { return t_lastError; }

CE_API void SetLastError(DWORD error) { t_lastError = error; }

CE_API BOOL CloseHandle(HANDLE handle) {
    if (handle == GetCurrentProcess() || handle == GetCurrentThread())
        return TRUE;
    if (!HandleTable::Instance().Close(handle)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}

CE_API HANDLE CreateEventW(LPSECURITY_ATTRIBUTES, BOOL manualReset, BOOL initialState,
                           LPCWSTR name) {
    std::u16string eventName = name ? std::u16string(name) : std::u16string();
    std::shared_ptr<EventObject> event;
    bool existed = false;
    {
        std::lock_guard lock(WaitHub::Instance().Mutex());
        if (!eventName.empty()) {
            auto& slot = NamedEvents()[FoldCase(eventName)];
            event = slot.lock();
            existed = event != nullptr;
            if (!event) {
                event = std::make_shared<EventObject>(manualReset, initialState, eventName);
                slot = event;
            }
        } else {
            event = std::make_shared<EventObject>(manualReset, initialState, eventName);
        }
    }
    HANDLE handle = HandleTable::Instance().Insert(event);
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

CE_API HANDLE OpenEventW(DWORD, BOOL, LPCWSTR name) {
    if (!name || !*name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<EventObject> event;
    {
        std::lock_guard lock(WaitHub::Instance().Mutex());
        auto it = NamedEvents().find(FoldCase(name));
        if (it != NamedEvents().end())
            event = it->second.lock();
    }
    if (!event) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return HandleTable::Instance().Insert(event);
}

static BOOL ChangeEvent(HANDLE handle, void (*change)(EventObject&)) {
    auto event = LookupEvent(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    auto& hub = WaitHub::Instance();
    std::lock_guard lock(hub.Mutex());
    change(*event);
    hub.NotifyAll();
    return TRUE;
}

CE_API BOOL SetEvent(HANDLE event) {
    return ChangeEvent(event, [](EventObject& e) { e.Set(); });
}

CE_API BOOL ResetEvent(HANDLE event) {
    return ChangeEvent(event, [](EventObject& e) { e.Reset(); });
}

CE_API BOOL PulseEvent(HANDLE handle) {
    // Waiters present now are released; the event is left unsignalled. Waking them is
    // approximated by signalling, letting the hub run and resetting.
    auto event = LookupEvent(handle);
    if (!event) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    SetEvent(handle);
    std::this_thread::yield();
    ResetEvent(handle);
    return TRUE;
}

CE_API DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll,
                                    DWORD milliseconds) {
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<std::shared_ptr<KernelObject>> objects;
    for (DWORD i = 0; i < count; ++i) {
        auto object = ResolveWaitable(handles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        objects.push_back(std::move(object));
    }
    auto& hub = WaitHub::Instance();
    std::unique_lock lock(hub.Mutex());
    DWORD signaled = WAIT_TIMEOUT;
    auto ready = [&] {
        if (waitAll) {
            for (auto& object : objects)
                if (!object->IsSignaled())
                    return false;
            signaled = WAIT_OBJECT_0;
            return true;
        }
        for (DWORD i = 0; i < count; ++i)
            if (objects[i]->IsSignaled()) {
                signaled = WAIT_OBJECT_0 + i;
                return true;
            }
        return false;
    };
    if (!hub.Wait(lock, ready, DeadlineAfter(milliseconds)))
        return WAIT_TIMEOUT;
    if (waitAll) {
        for (auto& object : objects)
            object->ConsumeSignal();
    } else {
        objects[signaled - WAIT_OBJECT_0]->ConsumeSignal();
    }
    return signaled;
}

CE_API DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
    return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

CE_API void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    auto& hub = WaitHub::Instance();
    std::unique_lock lock(hub.Mutex());
    hub.Wait(lock, [] { return false; }, DeadlineAfter(milliseconds));
}

CE_API void InitializeCriticalSection(LPCRITICAL_SECTION section) {
    section->impl = new std::recursive_mutex;
    section->ownerThread = 0;
    section->recursion = 0;
}

CE_API void DeleteCriticalSection(LPCRITICAL_SECTION section) {
    delete static_cast<std::recursive_mutex*>(section->impl);
    section->impl = nullptr;
}

CE_API void EnterCriticalSection(LPCRITICAL_SECTION section) {
    static_cast<std::recursive_mutex*>(section->impl)->lock();
    section->ownerThread = GetCurrentThreadId();
    ++section->recursion;
}

CE_API BOOL TryEnterCriticalSection(LPCRITICAL_SECTION section) {
    if (!static_cast<std::recursive_mutex*>(section->impl)->try_lock())
        return FALSE;
    section->ownerThread = GetCurrentThreadId();
    ++section->recursion;
    return TRUE;
}

CE_API void LeaveCriticalSection(LPCRITICAL_SECTION section) {
    if (--section->recursion == 0)
        section->ownerThread = 0;
    static_cast<std::recursive_mutex*>(section->impl)->unlock();
}

CE_API LONG InterlockedIncrement(LONG volatile* value) {
    return __atomic_add_fetch(value, 1, __ATOMIC_SEQ_CST);
}

CE_API LONG InterlockedDecrement(LONG volatile* value) {
    return __atomic_sub_fetch(value, 1, __ATOMIC_SEQ_CST);
}

CE_API LONG InterlockedExchange(LONG volatile* target, LONG value) {
    return __atomic_exchange_n(target, value, __ATOMIC_SEQ_CST);
}

CE_API HLOCAL LocalAlloc(UINT flags, SIZE_T bytes) {
    void* memory = (flags & LMEM_ZEROINIT) ? calloc(1, bytes ? bytes : 1) : malloc(bytes ? bytes : 1);
    if (!memory)
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return memory;
}

CE_API HLOCAL LocalFree(HLOCAL memory) {
    free(memory);
    return nullptr;
}

CE_API SIZE_T LocalSize(HLOCAL memory) { return memory ? malloc_usable_size(memory) : 0; }
