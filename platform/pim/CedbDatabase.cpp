#include "pim/CedbDatabase.h"

#include "pim/CedbNotifier.h"
#include "pim/CedbRecordBuffer.h"
#include "pim/GrowableBuffer.h"

namespace platform {

namespace {

CEOID Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

} // namespace

CedbDatabase::CedbDatabase(const CENOTIFYREQUEST* request) {
    if (request)
        m_notifyId = CedbNotifier::Instance().Add(*request);
}

CedbDatabase::~CedbDatabase() {
    if (m_notifyId)
        CedbNotifier::Instance().Remove(m_notifyId);
}

CEOID CedbDatabase::ReadNext(DWORD flags, LPWORD count, CEPROPID* ids, LPBYTE* buffer, LPDWORD size,
                             HANDLE heap) {
    if (!count || !buffer || !size || (ids && *count == 0) || (flags & ~DWORD(CEDB_ALLOWREALLOC)))
        return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard lock(m_mutex);
    CallLogRecord record;
    if (DWORD error = CallLogStore::Instance().ReadAt(m_position, record); error != ERROR_SUCCESS)
        return Fail(error);
    CedbRecordBuffer packed(record, ids, ids ? *count : 0);
    size_t needed = packed.Size();
    if (!*buffer || *size < needed) {
        if (!(flags & CEDB_ALLOWREALLOC)) {
            *size = DWORD(needed);
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
        void* block = *buffer;
        if (!GrowableBuffer::Grow(block, needed, heap))
            return Fail(ERROR_NOT_ENOUGH_MEMORY);
        *buffer = static_cast<LPBYTE>(block);
        *size = DWORD(needed);
    }
    packed.WriteTo(*buffer);
    *count = packed.Count();
    m_position = {record.start, int64_t(record.oid), false};
    return record.oid;
}

CEOID CedbDatabase::SeekTo(const CallLogRecord& record, LPDWORD index) {
    if (index) {
        int64_t at = CallLogStore::Instance().IndexOf(record);
        if (at < 0)
            return Fail(ERROR_BADDB);
        *index = DWORD(at);
    }
    m_position = {record.start, int64_t(record.oid), true};
    return record.oid;
}

CEOID CedbDatabase::Seek(DWORD type, DWORD value, LPDWORD index) {
    std::lock_guard lock(m_mutex);
    CallLogStore& store = CallLogStore::Instance();
    CallLogRecord record;
    DWORD error = ERROR_SUCCESS;
    switch (type) {
    case CEDB_SEEK_CEOID:
        error = store.Find(value, record);
        break;
    case CEDB_SEEK_BEGINNING:
        error = store.RecordAtIndex(value, record);
        break;
    case CEDB_SEEK_END:
        error = store.RecordAtIndex(store.Count() - 1 - int64_t(value), record);
        break;
    case CEDB_SEEK_CURRENT: {
        // The current record is the one the next read would return; past the end it is
        // the place after the last record.
        CallLogRecord current;
        int64_t at = store.ReadAt(m_position, current) == ERROR_SUCCESS ? store.IndexOf(current) : store.Count();
        error = store.RecordAtIndex(at + int64_t(LONG(value)), record);
        break;
    }
    default:
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (error != ERROR_SUCCESS)
        return Fail(error);
    return SeekTo(record, index);
}

} // namespace platform
