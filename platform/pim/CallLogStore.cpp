#include "pim/CallLogStore.h"

#include "kernel/Trace.h"
#include "pim/CedbFile.h"
#include "pim/CedbNotifier.h"
#include "pim/PimVolume.h"
#include "pim/SimCallLogSamples.h"
#include "pim/SqlStatement.h"
#include "pim/SqlTransaction.h"

#include <sqlite3.h>

#include <ctime>

namespace platform {

namespace {

constexpr const char* kColumns = "oid, start, end, flags, number, name, kind";
constexpr const char* kOrder = " ORDER BY start DESC, oid DESC";
constexpr int64_t kTicksPerSecond = 10000000;
constexpr int64_t kTicksPerDay = kTicksPerSecond * 86400;

// The columns of kColumns, in that order.
CallLogRecord RecordFrom(SqlStatement& row) {
    CallLogRecord record;
    record.oid = CEOID(row.ColumnInt64(0));
    record.start = row.ColumnInt64(1);
    record.end = row.ColumnInt64(2);
    record.flags = DWORD(row.ColumnInt64(3));
    auto text = [&](int column) {
        return row.ColumnType(column) == SQLITE_NULL ? std::optional<std::u16string>() : row.ColumnText16(column);
    };
    record.number = text(4);
    record.name = text(5);
    record.numberKind = text(6);
    return record;
}

// An absent text stays unbound, which SQLite reads as NULL.
void BindText(SqlStatement& statement, int index, const std::optional<std::u16string>& text) {
    if (text)
        statement.BindText16(index, *text);
}

// Binds the record's columns (all but its identifier) to parameters 1 to 6.
void BindRecord(SqlStatement& statement, const CallLogRecord& record) {
    statement.BindInt64(1, record.start);
    statement.BindInt64(2, record.end);
    statement.BindInt64(3, record.flags);
    BindText(statement, 4, record.number);
    BindText(statement, 5, record.name);
    BindText(statement, 6, record.numberKind);
}

// Runs a query of kColumns that returns at most one record.
DWORD QueryOne(SqlStatement& query, CallLogRecord& record, DWORD missing) {
    int step = query.Step();
    if (step == SQLITE_ROW) {
        record = RecordFrom(query);
        return ERROR_SUCCESS;
    }
    return step == SQLITE_DONE ? missing : ERROR_BADDB;
}

// Local midnight of today, as UTC file time ticks' local counterpart.
int64_t LocalMidnightTicks() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    now.wHour = now.wMinute = now.wSecond = now.wMilliseconds = 0;
    FILETIME midnight{};
    SystemTimeToFileTime(&now, &midnight);
    return int64_t(midnight.dwHighDateTime) << 32 | midnight.dwLowDateTime;
}

int64_t LocalToUtc(int64_t local) {
    FILETIME in{DWORD(local), DWORD(uint64_t(local) >> 32)}, out{};
    LocalFileTimeToFileTime(&in, &out);
    return int64_t(out.dwHighDateTime) << 32 | out.dwLowDateTime;
}

CallLogRecord RecordOfSample(const CallLogSample& sample, int64_t midnight, int64_t nowUtc) {
    CallLogRecord record;
    int64_t local = midnight - sample.daysAgo * kTicksPerDay +
                    (sample.hour * 3600 + sample.minute * 60) * kTicksPerSecond;
    record.start = LocalToUtc(local);
    // A call of today later than now happened yesterday.
    if (record.start > nowUtc)
        record.start -= kTicksPerDay;
    record.end = record.start + sample.seconds * kTicksPerSecond;
    record.flags = (sample.kind == CallKind::Outgoing ? kClogOutgoing : 0) |
                   (sample.kind != CallKind::Missed && (sample.seconds > 0 || sample.kind == CallKind::Incoming)
                        ? kClogConnected
                        : 0) |
                   (sample.roaming ? kClogRoaming : 0);
    if (sample.number)
        record.number = sample.number;
    if (sample.name)
        record.name = sample.name;
    if (sample.numberKind)
        record.numberKind = sample.numberKind;
    return record;
}

} // namespace

const CEGUID CallLogStore::kVolumeGuid = {0x70696D2E, 0x766F6C00, 0x00000001, 0x00000000};

CallLogStore& CallLogStore::Instance() {
    static CallLogStore store;
    return store;
}

void CallLogStore::Boot() {
    {
        std::lock_guard lock(m_mountMutex);
        m_mounts = 0;
    }
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    if (!volume.Db()) {
        Trace("clog", "no PIM volume: the call log is unavailable");
        return;
    }
    bool created = false;
    if (!CreateTablesLocked(created))
        Trace("clog", "the call log tables cannot be created: %s", sqlite3_errmsg(volume.Db()));
    else if (created && !FillFactoryLocked())
        Trace("clog", "the factory call log could not be written");
}

void CallLogStore::Shutdown() {
    std::lock_guard lock(m_mountMutex);
    m_mounts = 0;
}

bool CallLogStore::IsAvailable() {
    std::lock_guard lock(PimVolume::Instance().Mutex());
    return PimVolume::Instance().Db() != nullptr;
}

bool CallLogStore::CreateTablesLocked(bool& created) {
    sqlite3* db = PimVolume::Instance().Db();
    SqlStatement exists(db, "SELECT 1 FROM sqlite_schema WHERE type = 'table' AND name = 'clog'");
    created = exists.Step() != SQLITE_ROW;
    if (!created && !SqlStatement(db, (std::string("SELECT ") + kColumns + " FROM clog LIMIT 1").c_str()).Ok()) {
        // A table of another shape is kept under another name, and the log starts empty.
        std::string aside = "clog_damaged_" + std::to_string(std::time(nullptr));
        Trace("clog", "the call log table is unreadable (%s): kept as %s", sqlite3_errmsg(db), aside.c_str());
        if (!CedbFile::Exec(db, ("ALTER TABLE clog RENAME TO " + aside + ";DROP INDEX IF EXISTS clog_newest;").c_str()))
            return false;
    }
    return CedbFile::Exec(db, "CREATE TABLE IF NOT EXISTS clog(oid INTEGER PRIMARY KEY AUTOINCREMENT,"
                              " start INTEGER NOT NULL, end INTEGER NOT NULL, flags INTEGER NOT NULL,"
                              " number TEXT, name TEXT, kind TEXT);"
                              "CREATE INDEX IF NOT EXISTS clog_newest ON clog(start DESC, oid DESC);");
}

bool CallLogStore::FillFactoryLocked() {
    sqlite3* db = PimVolume::Instance().Db();
    int64_t midnight = LocalMidnightTicks();
    FILETIME now{};
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    SystemTimeToFileTime(&utc, &now);
    int64_t nowUtc = int64_t(now.dwHighDateTime) << 32 | now.dwLowDateTime;
    SqlTransaction transaction(db);
    if (!transaction.Begun())
        return false;
    // Oldest first, so that record identifiers grow with time as they do on a phone.
    auto samples = CallLogSamples();
    for (auto it = samples.rbegin(); it != samples.rend(); ++it) {
        CEOID oid = 0;
        if (InsertLocked(RecordOfSample(*it, midnight, nowUtc), oid) != ERROR_SUCCESS)
            return false;
    }
    std::string error;
    return transaction.Commit(error);
}

void CallLogStore::Mount() {
    std::lock_guard lock(m_mountMutex);
    ++m_mounts;
}

bool CallLogStore::Unmount() {
    std::lock_guard lock(m_mountMutex);
    if (m_mounts == 0)
        return false;
    --m_mounts;
    return true;
}

bool CallLogStore::IsMounted() {
    std::lock_guard lock(m_mountMutex);
    return m_mounts > 0;
}

DWORD CallLogStore::InsertLocked(const CallLogRecord& record, CEOID& oid) {
    sqlite3* db = PimVolume::Instance().Db();
    SqlStatement insert(db, "INSERT INTO clog(start, end, flags, number, name, kind) VALUES (?, ?, ?, ?, ?, ?)");
    BindRecord(insert, record);
    if (insert.Step() != SQLITE_DONE)
        return ERROR_BADDB;
    int64_t rowid = sqlite3_last_insert_rowid(db);
    if (rowid <= 0 || rowid >= int64_t(kDatabaseOid)) {
        // Identifiers are never reused; a log that ran out of them takes no more calls.
        SqlStatement undo(db, "DELETE FROM clog WHERE oid = ?");
        undo.BindInt64(1, rowid);
        undo.Step();
        return ERROR_DISK_FULL;
    }
    oid = CEOID(rowid);
    return ERROR_SUCCESS;
}

DWORD CallLogStore::Add(const CallLogRecord& record, CEOID& oid) {
    {
        std::lock_guard lock(PimVolume::Instance().Mutex());
        if (!PimVolume::Instance().Db())
            return ERROR_BADDB;
        if (DWORD error = InsertLocked(record, oid); error != ERROR_SUCCESS)
            return error;
    }
    CedbNotifier::Instance().Notify(DB_CEOID_CREATED, oid);
    return ERROR_SUCCESS;
}

DWORD CallLogStore::Update(const CallLogRecord& record) {
    {
        std::lock_guard lock(PimVolume::Instance().Mutex());
        sqlite3* db = PimVolume::Instance().Db();
        if (!db)
            return ERROR_BADDB;
        SqlStatement update(db, "UPDATE clog SET start = ?, end = ?, flags = ?, number = ?, name = ?,"
                                 " kind = ? WHERE oid = ?");
        BindRecord(update, record);
        update.BindInt64(7, record.oid);
        if (update.Step() != SQLITE_DONE)
            return ERROR_BADDB;
        if (sqlite3_changes(db) == 0)
            return ERROR_NOT_FOUND;
    }
    CedbNotifier::Instance().Notify(DB_CEOID_CHANGED, record.oid);
    return ERROR_SUCCESS;
}

DWORD CallLogStore::Delete(CEOID oid) {
    {
        std::lock_guard lock(PimVolume::Instance().Mutex());
        sqlite3* db = PimVolume::Instance().Db();
        if (!db)
            return ERROR_BADDB;
        SqlStatement remove(db, "DELETE FROM clog WHERE oid = ?");
        remove.BindInt64(1, oid);
        if (remove.Step() != SQLITE_DONE)
            return ERROR_BADDB;
        if (sqlite3_changes(db) == 0)
            return ERROR_NOT_FOUND;
    }
    CedbNotifier::Instance().Notify(DB_CEOID_RECORD_DELETED, oid);
    return ERROR_SUCCESS;
}

DWORD CallLogStore::Find(CEOID oid, CallLogRecord& record) {
    std::lock_guard lock(PimVolume::Instance().Mutex());
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        return ERROR_BADDB;
    SqlStatement query(db, (std::string("SELECT ") + kColumns + " FROM clog WHERE oid = ?").c_str());
    query.BindInt64(1, oid);
    return QueryOne(query, record, ERROR_NOT_FOUND);
}

DWORD CallLogStore::ReadAt(const CallLogPosition& position, CallLogRecord& record) {
    std::lock_guard lock(PimVolume::Instance().Mutex());
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        return ERROR_BADDB;
    // A row-value comparison, so that SQLite walks the index from the position.
    std::string sql = std::string("SELECT ") + kColumns + " FROM clog WHERE (start, oid) " +
                      (position.inclusive ? "<=" : "<") + " (?1, ?2)" + kOrder + " LIMIT 1";
    SqlStatement query(db, sql.c_str());
    query.BindInt64(1, position.start);
    query.BindInt64(2, position.oid);
    return QueryOne(query, record, ERROR_NO_MORE_ITEMS);
}

DWORD CallLogStore::RecordAtIndex(int64_t index, CallLogRecord& record) {
    if (index < 0)
        return ERROR_NOT_FOUND;
    std::lock_guard lock(PimVolume::Instance().Mutex());
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        return ERROR_BADDB;
    std::string sql = std::string("SELECT ") + kColumns + " FROM clog" + kOrder + " LIMIT 1 OFFSET ?";
    SqlStatement query(db, sql.c_str());
    query.BindInt64(1, index);
    return QueryOne(query, record, ERROR_NOT_FOUND);
}

int64_t CallLogStore::IndexOf(const CallLogRecord& record) {
    std::lock_guard lock(PimVolume::Instance().Mutex());
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        return -1;
    SqlStatement query(db, "SELECT COUNT(*) FROM clog WHERE (start, oid) > (?1, ?2)");
    query.BindInt64(1, record.start);
    query.BindInt64(2, record.oid);
    return query.Step() == SQLITE_ROW ? query.ColumnInt64(0) : -1;
}

int64_t CallLogStore::Count() {
    std::lock_guard lock(PimVolume::Instance().Mutex());
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        return -1;
    SqlStatement query(db, "SELECT COUNT(*) FROM clog");
    return query.Step() == SQLITE_ROW ? query.ColumnInt64(0) : -1;
}

DWORD CallLogStore::List(std::vector<CallLogRecord>& records) {
    records.clear();
    std::lock_guard lock(PimVolume::Instance().Mutex());
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        return ERROR_BADDB;
    SqlStatement query(db, (std::string("SELECT ") + kColumns + " FROM clog" + kOrder).c_str());
    int step;
    while ((step = query.Step()) == SQLITE_ROW)
        records.push_back(RecordFrom(query));
    return step == SQLITE_DONE ? ERROR_SUCCESS : ERROR_BADDB;
}

} // namespace platform
