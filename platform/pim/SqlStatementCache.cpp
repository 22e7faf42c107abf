#include "pim/SqlStatementCache.h"

#include <sqlite3.h>

namespace platform {

void SqlStatementCache::Attach(sqlite3* db) {
    Clear();
    m_db = db;
}

sqlite3_stmt* SqlStatementCache::Take(const char* sql) {
    if (!m_db)
        return nullptr;
    for (Entry& entry : m_entries)
        if (entry.sql == sql) {
            if (entry.lent)
                return nullptr;
            entry.lent = true;
            return entry.statement;
        }
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v3(m_db, sql, -1, SQLITE_PREPARE_PERSISTENT, &statement, nullptr) !=
        SQLITE_OK) {
        sqlite3_finalize(statement);
        return nullptr;
    }
    m_entries.push_back({sql, statement, true});
    return statement;
}

void SqlStatementCache::Give(sqlite3_stmt* statement) {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
    for (Entry& entry : m_entries)
        if (entry.statement == statement)
            entry.lent = false;
}

void SqlStatementCache::Clear() {
    for (Entry& entry : m_entries)
        sqlite3_finalize(entry.statement);
    m_entries.clear();
    m_db = nullptr;
}

} // namespace platform
