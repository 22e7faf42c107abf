// One write transaction on the PIM volume (BEGIN IMMEDIATE); rolled back unless committed.
#pragma once

#include <string>

struct sqlite3;

namespace platform {

class SqlTransaction {
public:
    explicit SqlTransaction(sqlite3* db);
    ~SqlTransaction();
    SqlTransaction(const SqlTransaction&) = delete;
    SqlTransaction& operator=(const SqlTransaction&) = delete;

    bool Begun() const { return m_open; }
    bool Commit(std::string& error);

private:
    sqlite3* m_db;
    bool m_open = false;
};

} // namespace platform
