#include "pim/SqlTransaction.h"

#include <sqlite3.h>

namespace platform {

SqlTransaction::SqlTransaction(sqlite3* db) : m_db(db) {
    m_open = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
}

SqlTransaction::~SqlTransaction() {
    if (m_open)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
}

bool SqlTransaction::Commit(std::string& error) {
    if (!m_open) {
        error = "no transaction";
        return false;
    }
    if (sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK) {
        error = sqlite3_errmsg(m_db);
        return false; // the destructor rolls back
    }
    m_open = false;
    return true;
}

} // namespace platform
