// The kernel objects behind the database handles: a session on the mounted PIM volume,
// and "clog.db" opened in a session with its read position and notification request.
#pragma once

#include "kernel/KernelObject.h"
#include "pim/CallLogStore.h"

#include <mutex>

namespace platform {

class CedbSession : public KernelObject {
public:
    ObjectType Type() const override { return ObjectType::Other; }
};

class CedbDatabase : public KernelObject {
public:
    // `request` may be null; its notifications end with the handle.
    explicit CedbDatabase(const CENOTIFYREQUEST* request);
    ~CedbDatabase() override;
    ObjectType Type() const override { return ObjectType::Other; }

    // CeReadRecordPropsEx on this handle; returns the record's identifier or 0 with the
    // last error set. The position moves only when the record was handed out.
    CEOID ReadNext(DWORD flags, LPWORD count, CEPROPID* ids, LPBYTE* buffer, LPDWORD size, HANDLE heap);
    // CeSeekDatabaseEx on this handle.
    CEOID Seek(DWORD type, DWORD value, LPDWORD index);

private:
    CEOID SeekTo(const CallLogRecord& record, LPDWORD index);

    std::mutex m_mutex;
    CallLogPosition m_position;
    uint64_t m_notifyId = 0;
};

} // namespace platform
