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

bool CedbFile::Connect(const std::filesystem::path& file, int threading, sqlite3*& db) {
    db = nullptr;
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | threading;
    if (sqlite3_open_v2(file.c_str(), &db, flags, nullptr) != SQLITE_OK)
        return false;
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    return true;
}

sqlite3* CedbFile::Open(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    // Synchronous NORMAL in WAL mode keeps every committed change across a killed process.
    if (Connect(file, SQLITE_OPEN_FULLMUTEX, db))
        Exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    return db;
}

bool CedbFile::Exec(sqlite3* db, const char* sql, std::string& reason) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    reason = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

bool CedbFile::Exec(sqlite3* db, const char* sql) {
    std::string reason;
    if (Exec(db, sql, reason))
        return true;
    Trace("cedb", "\"%s\" failed: %s", sql, reason.c_str());
    return false;
}

bool CedbFile::IsIntact(sqlite3* db, std::string& reason) {
    SqlStatement check(db, "PRAGMA quick_check");
    if (!check.Ok()) {
        reason = sqlite3_errmsg(db);
        return false;
    }
    std::string answer = check.Step() == SQLITE_ROW ? check.ColumnText(0) : sqlite3_errmsg(db);
    if (answer == "ok")
        return true;
    reason = "integrity check: " + answer;
    return false;
}

bool CedbFile::SetAside(const std::filesystem::path& file, const char* tag, const std::string& reason) {
    std::filesystem::path movedTo;
    std::error_code ec;
    if (!SetAsideDamagedFile(file, movedTo, ec)) {
        Trace(tag, "%s is damaged (%s) and cannot be set aside: %s", file.c_str(), reason.c_str(),
              ec.message().c_str());
        return false;
    }
    // The write-ahead log and shared memory belong to the damaged file.
    for (const char* suffix : {"-wal", "-shm"}) {
        std::error_code ignored;
        if (std::filesystem::exists(file.string() + suffix, ignored))
            std::filesystem::rename(file.string() + suffix, movedTo.string() + suffix, ignored);
    }
    Trace(tag, "%s is damaged (%s): set aside as %s", file.c_str(), reason.c_str(), movedTo.c_str());
    return true;
}

} // namespace platform
