#include "pim/SqlStatement.h"

#include "pim/SqlStatementCache.h"

#include <sqlite3.h>

namespace platform {

namespace {

// UTF-8 of the volume as SQLite itself turns it into UTF-16 (sqlite3_column_text16), but
// straight into the result instead of through a converted copy: a lead byte takes every
// continuation byte after it, and overlong forms, surrogates and U+FFFE/U+FFFF become
// U+FFFD; lone continuation bytes pass as they are.
std::u16string DecodeLikeSqlite(const unsigned char* text, size_t bytes) {
    std::u16string out;
    out.reserve(bytes);
    const unsigned char* end = text + bytes;
    while (text < end) {
        uint32_t c = *text++;
        if (c >= 0xC0) {
            int ones = 2;
            while (ones < 8 && (c & (0x80u >> ones)))
                ++ones;
            c &= 0xFFu >> (ones + 1);
            while (text < end && (*text & 0xC0) == 0x80)
                c = (c << 6) + (*text++ & 0x3F);
            if (c < 0x80 || (c & 0xFFFFF800) == 0xD800 || (c & 0xFFFFFFFE) == 0xFFFE)
                c = 0xFFFD;
        }
        if (c <= 0xFFFF) {
            out += char16_t(c);
        } else {
            // SQLite's pairing, which keeps only the bits a pair can hold.
            out += char16_t(0xD800 + ((((c >> 10) & 0x3F) + (((c - 0x10000) >> 10) & 0xC0)) |
                                      ((((c - 0x10000) >> 18) & 0x03) << 8)));
            out += char16_t(0xDC00 + (c & 0x3FF));
        }
    }
    return out;
}

} // namespace

SqlStatement::SqlStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &m_statement, nullptr) != SQLITE_OK)
        m_statement = nullptr;
}

SqlStatement::SqlStatement(SqlStatementCache& cache, const char* sql) {
    m_statement = cache.Take(sql);
    if (m_statement)
        m_lender = &cache;
    else if (cache.Db() && sqlite3_prepare_v2(cache.Db(), sql, -1, &m_statement, nullptr) != SQLITE_OK)
        m_statement = nullptr;
}

SqlStatement::~SqlStatement() {
    if (m_lender)
        m_lender->Give(m_statement);
    else
        sqlite3_finalize(m_statement);
}

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
    // The volume keeps UTF-8; reading it as such needs no converted copy inside SQLite.
    const unsigned char* text = sqlite3_column_text(m_statement, column);
    int bytes = sqlite3_column_bytes(m_statement, column);
    return text ? DecodeLikeSqlite(text, size_t(bytes)) : std::u16string();
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
