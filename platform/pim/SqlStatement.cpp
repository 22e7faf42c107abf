#include "pim/SqlStatement.h"

#include <sqlite3.h>

namespace platform {

SqlStatement::SqlStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        m_statement = nullptr;
}

SqlStatement::~SqlStatement() { sqlite3_finalize(m_statement); }

bool SqlStatement::BindInt64(int index, int64_t value) {
    return m_statement && sqlite3_bind_int64(m_statement, index, value) == SQLITE_OK;
}

bool SqlStatement::BindText16(int index, const std::u16string& text) {
    return m_statement &&
           sqlite3_bind_text16(m_statement, index, text.data(), int(text.size() * sizeof(char16_t)),
                               SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqlStatement::BindText(int index, const std::string& text) {
    return m_statement && sqlite3_bind_text(m_statement, index, text.data(), int(text.size()),
                                            SQLITE_TRANSIENT) == SQLITE_OK;
}

bool SqlStatement::BindBlob(int index, const std::vector<uint8_t>& bytes) {
    return m_statement && sqlite3_bind_blob(m_statement, index, bytes.data(), int(bytes.size()),
                                            SQLITE_TRANSIENT) == SQLITE_OK;
}

int SqlStatement::Step() { return m_statement ? sqlite3_step(m_statement) : SQLITE_MISUSE; }

void SqlStatement::Reset() {
    if (m_statement)
        sqlite3_reset(m_statement);
}

int SqlStatement::ColumnType(int column) { return sqlite3_column_type(m_statement, column); }

int64_t SqlStatement::ColumnInt64(int column) { return sqlite3_column_int64(m_statement, column); }

std::u16string SqlStatement::ColumnText16(int column) {
    auto* text = static_cast<const char16_t*>(sqlite3_column_text16(m_statement, column));
    int bytes = sqlite3_column_bytes16(m_statement, column);
    return text ? std::u16string(text, size_t(bytes) / sizeof(char16_t)) : std::u16string();
}

std::string SqlStatement::ColumnText(int column) {
    auto* text = sqlite3_column_text(m_statement, column);
    int bytes = sqlite3_column_bytes(m_statement, column);
    return text ? std::string(reinterpret_cast<const char*>(text), size_t(bytes)) : std::string();
}

std::vector<uint8_t> SqlStatement::ColumnBlob(int column) {
    auto* data = static_cast<const uint8_t*>(sqlite3_column_blob(m_statement, column));
    int bytes = sqlite3_column_bytes(m_statement, column);
    return data ? std::vector<uint8_t>(data, data + bytes) : std::vector<uint8_t>();
}

bool SqlStatement::Fail(sqlite3* db, std::string& error) {
    error = sqlite3_errmsg(db);
    return false;
}

} // namespace platform
