// Opening and setting aside the SQLite files of the device's stores (the SIM card
// "sim.db"; the call log lives in the PIM volume): WAL, one transaction per change,
// so a killed device loses at most the change it was making.
#pragma once

#include <filesystem>
#include <string>

struct sqlite3;

namespace platform {

class CedbFile {
public:
    // Opens or creates `file` in WAL mode; on failure the handle (if any) is returned
    // anyway so its error can be read, and the caller closes it.
    static sqlite3* Open(const std::filesystem::path& file);
    // Runs `sql` (statements without results); false, traced, on failure.
    static bool Exec(sqlite3* db, const char* sql);
    // PRAGMA quick_check answers "ok".
    static bool IsIntact(sqlite3* db);
    // Renames a damaged `file` (and its WAL) to "<file>.corrupt-<UTC time>" so nothing in
    // it is lost, and traces why under `tag`. False when it could not be renamed.
    static bool SetAside(const std::filesystem::path& file, const char* tag, const std::string& reason);
};

} // namespace platform
