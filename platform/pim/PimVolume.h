// The device's PIM volume "\pim.vol": one SQLite file in the device's data folder that
// holds the contact store and the call log. Opened at boot, closed at shutdown; a damaged
// file is set aside and the device starts with an empty volume.
#pragma once

#include "pim/SqlStatementCache.h"

#include <filesystem>
#include <mutex>
#include <string>

struct sqlite3;

namespace platform {

class PimVolume {
public:
    static PimVolume& Instance();

    // Opens (or creates) the volume. A file that cannot be opened, fails its integrity
    // check or has an unreadable schema is renamed "<file>.corrupt-<time>" and a new one
    // is created. False only when no volume could be opened at all.
    bool Boot(const std::filesystem::path& file);
    void Shutdown();
    // Closes a volume whose tables turned out unreadable, sets the file aside and opens a
    // new one. False when no volume could be opened.
    bool SetAside(const std::string& reason);

    sqlite3* Db(); // null when not booted
    // Statements kept prepared on Db(), finalized when the volume closes or is set aside.
    SqlStatementCache& Statements() { return m_statements; }
    // Held around every statement sequence on Db(), by every user of the volume.
    std::mutex& Mutex();
    std::filesystem::path File() const;
    // True when this boot created the file (new device, reset, or a damaged one set aside).
    bool Created() const { return m_created; }

private:
    PimVolume() = default;

    bool Open(const std::filesystem::path& file, std::string& reason);
    void Close();
    bool SetAsideLocked(std::string reason);

    sqlite3* m_db = nullptr;
    SqlStatementCache m_statements;
    std::mutex m_mutex;
    std::filesystem::path m_file;
    bool m_created = false;
};

} // namespace platform
