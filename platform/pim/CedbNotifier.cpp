#include "pim/CedbNotifier.h"

#include "ce/user.h"
#include "kernel/Trace.h"
#include "pim/CallLogStore.h"

#include <vector>

namespace platform {

CedbNotifier& CedbNotifier::Instance() {
    static CedbNotifier notifier;
    return notifier;
}

HANDLE CedbNotifier::HeapOf(const CENOTIFYREQUEST& request) {
    return request.hHeap ? request.hHeap : GetProcessHeap();
}

uint64_t CedbNotifier::Add(const CENOTIFYREQUEST& request) {
    std::lock_guard lock(m_mutex);
    uint64_t id = m_nextId++;
    m_requests.emplace(id, request);
    return id;
}

void CedbNotifier::Remove(uint64_t id) {
    std::lock_guard lock(m_mutex);
    m_requests.erase(id);
}

void CedbNotifier::Notify(UINT kind, CEOID oid) {
    std::vector<CENOTIFYREQUEST> requests;
    {
        std::lock_guard lock(m_mutex);
        for (const auto& [id, request] : m_requests)
            requests.push_back(request);
    }
    for (const CENOTIFYREQUEST& request : requests) {
        HANDLE heap = HeapOf(request);
        auto* notification = static_cast<CENOTIFICATION*>(HeapAlloc(heap, HEAP_ZERO_MEMORY, sizeof(CENOTIFICATION)));
        if (!notification) {
            Trace("cedb", "no memory for a database notification");
            continue;
        }
        notification->dwSize = sizeof(CENOTIFICATION);
        notification->dwParam = request.dwParam;
        notification->uType = kind;
        notification->guid = CallLogStore::kVolumeGuid;
        notification->oid = oid;
        notification->oidParent = CallLogStore::kDatabaseOid;
        // The structure belongs to the receiver from here on, so posting it is safe
        // although it is a pointer: the sender keeps no reference to it. When the window
        // is gone the notification is freed here instead.
        if (!PostMessageW(request.hwnd, WM_DBNOTIFICATION, kind, reinterpret_cast<LPARAM>(notification)))
            HeapFree(heap, 0, notification);
    }
}

} // namespace platform
