#include "pim/CedbStatement.h"

#include "kernel/Trace.h"

namespace platform {

CedbStatement::CedbStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK) {
        Trace("cedb", "cannot prepare \"%s\": %s", sql, sqlite3_errmsg(db));
        m_statement = nullptr;
    }
}

CedbStatement::~CedbStatement() { sqlite3_finalize(m_statement); }

CedbStatement& CedbStatement::Bind(int index, int64_t value) {
    sqlite3_bind_int64(m_statement, index, value);
    return *this;
}

CedbStatement& CedbStatement::Bind(int index, std::u16string_view text) {
    sqlite3_bind_text16(m_statement, index, text.data(), int(text.size() * sizeof(char16_t)),
                        SQLITE_TRANSIENT);
    return *this;
}

CedbStatement& CedbStatement::BindNull(int index) {
    sqlite3_bind_null(m_statement, index);
    return *this;
}

int CedbStatement::Step() { return m_statement ? sqlite3_step(m_statement) : SQLITE_MISUSE; }

bool CedbStatement::Run() { return Step() == SQLITE_DONE; }

int64_t CedbStatement::Int(int column) const { return sqlite3_column_int64(m_statement, column); }

std::u16string CedbStatement::Text(int column) const {
    auto text = static_cast<const char16_t*>(sqlite3_column_text16(m_statement, column));
    if (!text)
        return {};
    size_t bytes = size_t(sqlite3_column_bytes16(m_statement, column));
    return std::u16string(text, bytes / sizeof(char16_t));
}

bool CedbStatement::IsNull(int column) const {
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool CedbExec(sqlite3* db, const char* sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &message) == SQLITE_OK)
        return true;
    Trace("cedb", "\"%s\" failed: %s", sql, message ? message : "?");
    sqlite3_free(message);
    return false;
}

} // namespace platform
