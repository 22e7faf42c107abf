// Opening, checking and setting aside the SQLite files of the device's stores (the PIM
// volume, the SIM card "sim.db"): WAL, one transaction per change, so a killed device
// loses at most the change it was making.
#pragma once

#include <filesystem>
#include <string>

struct sqlite3;

namespace platform {

class CedbFile {
public:
    // Opens or creates `file`, with the connection's own locking as `threading` says
    // (SQLITE_OPEN_FULLMUTEX, or SQLITE_OPEN_NOMUTEX when the caller serialises every use),
    // waiting up to 5 s for another connection's transaction. False when it did not open;
    // `db` is set anyway when SQLite made a handle, so its error can be read, and the caller
    // closes it.
    static bool Connect(const std::filesystem::path& file, int threading, sqlite3*& db);
    // Connect with SQLite's locking, then WAL with synchronous NORMAL (a failure is traced).
    static sqlite3* Open(const std::filesystem::path& file);
    // Runs `sql` (statements without results); false with SQLite's message in `reason`.
    static bool Exec(sqlite3* db, const char* sql, std::string& reason);
    // The same, tracing the message instead.
    static bool Exec(sqlite3* db, const char* sql);
    // PRAGMA quick_check answers "ok"; otherwise `reason` says what it answered.
    static bool IsIntact(sqlite3* db, std::string& reason);
    // Renames a damaged `file` (and its WAL and shared-memory index) to
    // "<file>.corrupt-<UTC time>" so nothing in it is lost, and traces why under `tag`.
    // False when it could not be renamed.
    static bool SetAside(const std::filesystem::path& file, const char* tag, const std::string& reason);
};

} // namespace platform
