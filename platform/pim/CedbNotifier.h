// The notification requests of open databases: after every committed change of the call
// log, each request gets WM_DBNOTIFICATION with a CENOTIFICATION allocated from its heap
// (the process heap when it named none); the receiver frees it with CeFreeNotification.
#pragma once

#include "ce/windbase.h"

#include <cstdint>
#include <map>
#include <mutex>

namespace platform {

class CedbNotifier {
public:
    static CedbNotifier& Instance();

    // Returns the id to remove the request with.
    uint64_t Add(const CENOTIFYREQUEST& request);
    void Remove(uint64_t id);
    // Posts `kind` for record `oid` to every request. Called without any store lock.
    void Notify(UINT kind, CEOID oid);

    // The heap a request's notifications come from.
    static HANDLE HeapOf(const CENOTIFYREQUEST& request);

private:
    std::mutex m_mutex;
    std::map<uint64_t, CENOTIFYREQUEST> m_requests;
    uint64_t m_nextId = 1;
};

} // namespace platform
