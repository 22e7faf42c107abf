// A prepared SQLite statement that finalizes itself (or, borrowed from a connection's
// SqlStatementCache, is reset and given back), with the binds and columns the PIM volume's
// tables use. The caller holds the volume's mutex for the statement's life.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace platform {

class SqlStatementCache;

class SqlStatement {
public:
    SqlStatement(sqlite3* db, const char* sql);
    // The cache's statement for `sql`; one of its own when that one is in use already.
    SqlStatement(SqlStatementCache& cache, const char* sql);
    ~SqlStatement();
    SqlStatement(const SqlStatement&) = delete;
    SqlStatement& operator=(const SqlStatement&) = delete;

    bool Ok() const { return m_statement != nullptr; }
    bool BindInt64(int index, int64_t value);
    bool BindText16(int index, const std::u16string& text);
    bool BindText(int index, const std::string& text);
    bool BindBlob(int index, const std::vector<uint8_t>& bytes);
    // SQLITE_ROW, SQLITE_DONE or an error code (also when the statement did not prepare).
    int Step();
    void Reset();

    int ColumnType(int column);
    int64_t ColumnInt64(int column);
    std::u16string ColumnText16(int column);
    std::string ColumnText(int column);
    std::vector<uint8_t> ColumnBlob(int column);

    // Sets `error` from the connection's last message; returns false for `return Fail(...)`.
    static bool Fail(sqlite3* db, std::string& error);

private:
    sqlite3_stmt* m_statement = nullptr;
    SqlStatementCache* m_lender = nullptr; // null when the statement is this object's own
};

} // namespace platform
