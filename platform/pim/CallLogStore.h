// The call log database "clog.db": a table of the PIM volume, read newest first (start
// time, then record identifier, descending). Every change is one transaction and raises
// the database notification after it was committed, whoever made it (a program through
// the database functions, or the console). Holds the volume's mount count as well.
#pragma once

#include "pim/CallLogRecord.h"

#include "ce/windbase.h"

#include <mutex>
#include <vector>

namespace platform {

// Where a database handle reads next: the first record, newest first, at (inclusive)
// or after the record (start, oid).
struct CallLogPosition {
    int64_t start = INT64_MAX;
    int64_t oid = INT64_MAX;
    bool inclusive = true;
};

class CallLogStore {
public:
    // The identifier of "clog.db" in its volume; records stay below it.
    static constexpr CEOID kDatabaseOid = 0x7F000001;
    static constexpr const char16_t* kDatabaseName = u"clog.db";
    static constexpr const char16_t* kVolumeName = u"\\pim.vol";
    static const CEGUID kVolumeGuid;

    static CallLogStore& Instance();

    // Creates the tables in the PIM volume; a volume without them gets the factory calls
    // (times relative to the device clock). Resets the mount count.
    void Boot();
    void Shutdown();
    // False when the PIM volume is not open.
    bool IsAvailable();

    void Mount();
    bool Unmount(); // false when not mounted
    bool IsMounted();

    // All return a Win32 error code (ERROR_SUCCESS).
    DWORD Add(const CallLogRecord& record, CEOID& oid);
    DWORD Update(const CallLogRecord& record);
    DWORD Delete(CEOID oid);
    DWORD Find(CEOID oid, CallLogRecord& record);
    // The record at `position` (ERROR_NO_MORE_ITEMS past the last).
    DWORD ReadAt(const CallLogPosition& position, CallLogRecord& record);
    // The record `index` places from the newest (ERROR_NOT_FOUND outside).
    DWORD RecordAtIndex(int64_t index, CallLogRecord& record);
    // How many records are newer than `record`; -1 on failure.
    int64_t IndexOf(const CallLogRecord& record);
    int64_t Count();
    DWORD List(std::vector<CallLogRecord>& records);

private:
    bool CreateTablesLocked(bool& created);
    bool FillFactoryLocked();
    DWORD InsertLocked(const CallLogRecord& record, CEOID& oid);

    std::mutex m_mountMutex;
    int m_mounts = 0;
};

} // namespace platform
