#include "pim/PimVolume.h"

#include "kernel/Trace.h"
#include "pim/CedbFile.h"

#include <sqlite3.h>

#include <string>

namespace platform {

namespace {

// WAL keeps the file consistent when the process is killed at any moment; FULL also
// syncs every commit, so a saved contact survives a host crash. Contacts change rarely.
constexpr const char* kSettings =
    "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; PRAGMA foreign_keys=ON;";

} // namespace

PimVolume& PimVolume::Instance() {
    static PimVolume volume;
    return volume;
}

bool PimVolume::Open(const std::filesystem::path& file, std::string& reason) {
    // Every user holds Mutex() around its statements, so the connection needs no lock of
    // its own on each call.
    if (!CedbFile::Connect(file, SQLITE_OPEN_NOMUTEX, m_db)) {
        reason = m_db ? sqlite3_errmsg(m_db) : "out of memory";
        Close();
        return false;
    }
    sqlite3_extended_result_codes(m_db, 1);
    // Intact, every schema entry readable, then the settings.
    if (!CedbFile::IsIntact(m_db, reason) ||
        !CedbFile::Exec(m_db, "SELECT count(*) FROM sqlite_schema", reason) ||
        !CedbFile::Exec(m_db, kSettings, reason)) {
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
    if (!CedbFile::SetAside(m_file, "pim", reason)) {
        Trace("pim", "no contact store");
        return false;
    }
    Trace("pim", "booting with an empty store");
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
