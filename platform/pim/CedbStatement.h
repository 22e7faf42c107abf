// One prepared SQLite statement, finalised with its owner. The SIM store and the call
// log database read and write through it; texts go in and out as UTF-16.
#pragma once

#include <sqlite3.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class CedbStatement {
public:
    CedbStatement(sqlite3* db, const char* sql);
    ~CedbStatement();
    CedbStatement(const CedbStatement&) = delete;
    CedbStatement& operator=(const CedbStatement&) = delete;

    bool IsValid() const { return m_statement != nullptr; }
    // Parameters count from 1.
    CedbStatement& Bind(int index, int64_t value);
    CedbStatement& Bind(int index, std::u16string_view text);
    CedbStatement& BindNull(int index);
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    // Runs a statement that returns no rows; true on SQLITE_DONE.
    bool Run();

    int64_t Int(int column) const;
    std::u16string Text(int column) const;
    bool IsNull(int column) const;

private:
    sqlite3_stmt* m_statement = nullptr;
};

// Runs `sql` (one or more statements without results); true on success.
bool CedbExec(sqlite3* db, const char* sql);

} // namespace platform
