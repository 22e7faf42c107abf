#include "pim/CedbFile.h"

#include "files/DamagedFile.h"
#include "kernel/Trace.h"
#include "pim/SqlStatement.h"

#include <sqlite3.h>

namespace platform {

namespace {

// How long a writer waits for another connection's transaction.
constexpr int kBusyTimeoutMs = 5000;

} // namespace

sqlite3* CedbFile::Open(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX;
    if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK)
        return db;
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    // Synchronous NORMAL in WAL mode keeps every committed change across a killed process.
    CedbFile::Exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    return db;
}

bool CedbFile::Exec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    Trace("cedb", "\"%s\" failed: %s", sql, message ? message : sqlite3_errmsg(db));
    sqlite3_free(message);
    return false;
}

bool CedbFile::IsIntact(sqlite3* db) {
    SqlStatement check(db, "PRAGMA quick_check");
    return check.Step() == SQLITE_ROW && check.ColumnText16(0) == u"ok";
}

bool CedbFile::SetAside(const std::filesystem::path& file, const char* tag, const std::string& reason) {
    std::filesystem::path movedTo;
    std::error_code ec;
    if (!SetAsideDamagedFile(file, movedTo, ec)) {
        Trace(tag, "%s is damaged (%s) and cannot be set aside: %s", file.c_str(), reason.c_str(),
              ec.message().c_str());
        return false;
    }
    // The WAL belongs to the damaged file; the shared-memory index is rebuilt from it.
    std::error_code ignored;
    std::filesystem::rename(file.string() + "-wal", movedTo.string() + "-wal", ignored);
    std::filesystem::remove(file.string() + "-shm", ignored);
    Trace(tag, "%s is damaged (%s): set aside as %s", file.c_str(), reason.c_str(), movedTo.c_str());
    return true;
}

} // namespace platform
