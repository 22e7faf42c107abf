#include "pim/PimVolume.h"

#include "files/DamagedFile.h"
#include "kernel/Trace.h"

#include <sqlite3.h>

#include <string>

namespace platform {

namespace {

// WAL keeps the file consistent when the process is killed at any moment; FULL also
// syncs every commit, so a saved contact survives a host crash. Contacts change rarely.
constexpr const char* kSettings =
    "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;";
constexpr int kBusyTimeoutMs = 5000;

bool Exec(sqlite3* db, const char* sql, std::string& reason) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    reason = message ? message : sqlite3_errmsg(db);
    sqlite3_free(message);
    return false;
}

// "ok" from quick_check, and every schema entry readable.
bool Healthy(sqlite3* db, std::string& reason) {
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, "PRAGMA quick_check", -1, &statement, nullptr) != SQLITE_OK) {
        reason = sqlite3_errmsg(db);
        return false;
    }
    int step = sqlite3_step(statement);
    std::string result;
    if (step == SQLITE_ROW && sqlite3_column_text(statement, 0))
        result = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    else
        result = sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    if (result != "ok") {
        reason = "integrity check: " + result;
        return false;
    }
    return Exec(db, "SELECT count(*) FROM sqlite_schema", reason);
}

} // namespace

PimVolume& PimVolume::Instance() {
    static PimVolume volume;
    return volume;
}

bool PimVolume::Open(const std::filesystem::path& file, std::string& reason) {
    // Every user holds Mutex() around its statements, so the connection needs no lock of
    // its own on each call.
    int flags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;
    if (sqlite3_open_v2(file.c_str(), &m_db, flags, nullptr) != SQLITE_OK) {
        reason = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        Close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, kBusyTimeoutMs);
    if (!Healthy(m_db, reason) || !Exec(m_db, kSettings, reason)) {
        Close();
        return false;
    }
    m_statements.Attach(m_db);
    return true;
}

void PimVolume::Close() {
    m_statements.Clear();
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool PimVolume::Boot(const std::filesystem::path& file) {
    std::lock_guard lock(m_mutex);
    Close();
    m_file = file;
    std::error_code ec;
    m_created = !std::filesystem::exists(file, ec);
    std::string reason;
    if (Open(file, reason))
        return true;
    return SetAsideLocked(reason);
}

bool PimVolume::SetAside(const std::string& reason) {
    std::lock_guard lock(m_mutex);
    Close();
    return SetAsideLocked(reason);
}

bool PimVolume::SetAsideLocked(std::string reason) {
    std::error_code ec;
    std::filesystem::path movedTo;
    if (!SetAsideDamagedFile(m_file, movedTo, ec)) {
        Trace("pim", "%s is damaged (%s) and cannot be set aside (%s): no contact store",
              m_file.c_str(), reason.c_str(), ec.message().c_str());
        return false;
    }
    // The write-ahead log and shared memory belong to the damaged file.
    for (const char* suffix : {"-wal", "-shm"}) {
        std::filesystem::path side = m_file;
        side += suffix;
        std::filesystem::path sideMoved = movedTo;
        sideMoved += suffix;
        if (std::filesystem::exists(side, ec))
            std::filesystem::rename(side, sideMoved, ec);
    }
    Trace("pim", "%s is damaged (%s): set aside as %s, booting with an empty store", m_file.c_str(),
          reason.c_str(), movedTo.c_str());
    m_created = true;
    if (Open(m_file, reason))
        return true;
    Trace("pim", "%s cannot be created (%s): no contact store", m_file.c_str(), reason.c_str());
    return false;
}

void PimVolume::Shutdown() {
    std::lock_guard lock(m_mutex);
    Close();
}

sqlite3* PimVolume::Db() { return m_db; }

std::mutex& PimVolume::Mutex() { return m_mutex; }

std::filesystem::path PimVolume::File() const { return m_file; }

} // namespace platform
