// Statements prepared once per connection and kept for the connection's life: the
// per-contact reads run thousands of times in a row (the main program's cold load), and
// compiling their SQL each time cost more than running them. A statement in use is lent
// to one SqlStatement at a time; a second user of the same SQL meanwhile gets its own.
// The caller holds the connection's mutex, as for every statement on it.
#pragma once

#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class SqlStatementCache {
public:
    SqlStatementCache() = default;
    ~SqlStatementCache() { Clear(); }
    SqlStatementCache(const SqlStatementCache&) = delete;
    SqlStatementCache& operator=(const SqlStatementCache&) = delete;

    // The connection the statements belong to; Clear() before it closes.
    void Attach(sqlite3* db);
    sqlite3* Db() const { return m_db; }
    // The prepared statement for `sql`, reset and unbound, lent until Give; null when it
    // does not prepare or is lent already.
    sqlite3_stmt* Take(const char* sql);
    void Give(sqlite3_stmt* statement);
    // Finalizes every statement and forgets the connection.
    void Clear();

private:
    struct Entry {
        std::string sql;
        sqlite3_stmt* statement = nullptr;
        bool lent = false;
    };

    sqlite3* m_db = nullptr;
    std::vector<Entry> m_entries;
};

} // namespace platform
