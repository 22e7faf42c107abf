#include "pim/ContactStore.h"

#include "pim/CedbFile.h"
#include "pim/ContactFields.h"
#include "pim/ContactFileAs.h"
#include "pim/PimNotifier.h"
#include "pim/PimVolume.h"
#include "pim/SqlStatement.h"
#include "pim/SqlTransaction.h"

#include <sqlite3.h>

namespace platform {

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS contacts(oid INTEGER PRIMARY KEY AUTOINCREMENT);"
    "CREATE TABLE IF NOT EXISTS contact_props(oid INTEGER NOT NULL REFERENCES contacts(oid) "
    "ON DELETE CASCADE, tag INTEGER NOT NULL, value, PRIMARY KEY(oid, tag)) WITHOUT ROWID;";

// Largest OID: identifiers are 32-bit on the device.
constexpr sqlite3_int64 kMaxOid = 0xFFFFFFFFll;

bool BindValue(SqlStatement& insert, int index, const ContactValue& value) {
    if (auto* text = std::get_if<std::u16string>(&value))
        return insert.BindText16(index, *text);
    if (auto* number = std::get_if<uint32_t>(&value))
        return insert.BindInt64(index, *number);
    if (auto* time = std::get_if<uint64_t>(&value))
        return insert.BindInt64(index, sqlite3_int64(*time));
    return insert.BindBlob(index, std::get<std::vector<uint8_t>>(value));
}

// The stored value of `tag` as the kind its tag says; nothing for a mismatched row.
std::optional<ContactValue> ColumnValue(SqlStatement& select, int column, CEPROPID tag) {
    int type = select.ColumnType(column);
    switch (ContactFields::KindOf(tag)) {
    case ContactValueKind::Text:
        if (type != SQLITE_TEXT)
            return std::nullopt;
        return ContactValue(select.ColumnText16(column));
    case ContactValueKind::Number:
        if (type != SQLITE_INTEGER)
            return std::nullopt;
        return ContactValue(uint32_t(select.ColumnInt64(column)));
    case ContactValueKind::Time:
        if (type != SQLITE_INTEGER)
            return std::nullopt;
        return ContactValue(uint64_t(select.ColumnInt64(column)));
    case ContactValueKind::Bytes:
        if (type != SQLITE_BLOB)
            return std::nullopt;
        return ContactValue(select.ColumnBlob(column));
    default:
        return std::nullopt;
    }
}

// Bytes a value holds beyond its fixed part.
size_t ExtraBytes(const ContactValue& value) {
    if (auto* text = std::get_if<std::u16string>(&value))
        return text->size() * sizeof(char16_t);
    if (auto* bytes = std::get_if<std::vector<uint8_t>>(&value))
        return bytes->size();
    return 0;
}

// Adds the property in columns `column` (tag, not null) and `column` + 1 (value) to
// `record`, whose properties come in tag order; returns the bytes its value holds.
size_t AddProperty(ContactRecord& record, SqlStatement& select, int column) {
    auto tag = CEPROPID(select.ColumnInt64(column));
    if (!ContactFields::IsWritable(tag))
        return 0; // a property this build does not know
    auto value = ColumnValue(select, column + 1, tag);
    if (!value)
        return 0;
    size_t bytes = ExtraBytes(*value);
    record.values.emplace_hint(record.values.end(), tag, std::move(*value));
    return bytes;
}

// The volume's connection, or null with a reason; the caller holds the volume's mutex.
sqlite3* OpenDb(std::string& error) {
    sqlite3* db = PimVolume::Instance().Db();
    if (!db)
        error = "the contact store is not open";
    return db;
}

} // namespace

ContactStore& ContactStore::Instance() {
    static ContactStore store;
    return store;
}

bool ContactStore::Boot(std::string& reason) {
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    sqlite3* db = volume.Db();
    if (!db) {
        reason = "no volume";
        return false;
    }
    if (!CedbFile::Exec(db, kSchema, reason))
        return false;
    SqlStatement probe(db, "SELECT oid, tag, value FROM contact_props LIMIT 0");
    SqlStatement probeContacts(db, "SELECT oid FROM contacts LIMIT 0");
    if (!probe.Ok() || !probeContacts.Ok()) {
        reason = sqlite3_errmsg(db);
        return false;
    }
    ++m_generation;
    return true;
}

std::optional<ContactRecord> ContactStore::Load(CEOID oid) const {
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    if (!volume.Db() || !oid)
        return std::nullopt;
    // One row per property in tag order; a contact without properties gives one row with a
    // null tag, one that does not exist none.
    SqlStatement select(volume.Statements(),
                        "SELECT p.tag, p.value FROM contacts c LEFT JOIN contact_props p "
                        "ON p.oid = c.oid WHERE c.oid = ? ORDER BY p.tag");
    if (!select.BindInt64(1, oid))
        return std::nullopt;
    ContactRecord record;
    record.oid = oid;
    bool found = false;
    int step;
    while ((step = select.Step()) == SQLITE_ROW) {
        found = true;
        if (select.ColumnType(0) != SQLITE_NULL) // null: a contact without properties
            AddProperty(record, select, 0);
    }
    if (step != SQLITE_DONE || !found)
        return std::nullopt;
    return record;
}

std::vector<ContactRecord> ContactStore::LoadFrom(CEOID first, size_t count,
                                                  uint64_t& generation) const {
    std::vector<ContactRecord> records;
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    generation = m_generation.load();
    if (!volume.Db() || count == 0)
        return records;
    // One pass along the properties' key, without a look-up per contact.
    SqlStatement select(volume.Statements(),
                        "SELECT oid, tag, value FROM contact_props WHERE oid >= ? ORDER BY oid, tag");
    if (!select.BindInt64(1, first))
        return records;
    size_t bytes = 0;
    int step;
    while ((step = select.Step()) == SQLITE_ROW) {
        auto oid = CEOID(select.ColumnInt64(0));
        if (records.empty() || records.back().oid != oid) {
            if (records.size() == count || bytes >= kReadAheadBytes)
                return records;
            records.emplace_back().oid = oid;
        }
        bytes += AddProperty(records.back(), select, 1);
    }
    // A read that failed part way leaves the last contact incomplete.
    if (step != SQLITE_DONE && !records.empty())
        records.pop_back();
    return records;
}

bool ContactStore::Exists(CEOID oid) const {
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    if (!volume.Db())
        return false;
    SqlStatement exists(volume.Statements(), "SELECT 1 FROM contacts WHERE oid = ?");
    return exists.BindInt64(1, oid) && exists.Step() == SQLITE_ROW;
}

std::vector<CEOID> ContactStore::Oids() const {
    std::vector<CEOID> oids;
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    if (!volume.Db())
        return oids;
    SqlStatement select(volume.Statements(), "SELECT oid FROM contacts ORDER BY oid");
    while (select.Step() == SQLITE_ROW)
        oids.push_back(CEOID(select.ColumnInt64(0)));
    return oids;
}

bool ContactStore::WriteLocked(sqlite3* db, ContactRecord& record, bool& created,
                               std::string& error) {
    SqlStatementCache& statements = PimVolume::Instance().Statements();
    created = record.oid == 0;
    if (created) {
        SqlStatement insert(statements, "INSERT INTO contacts DEFAULT VALUES");
        if (insert.Step() != SQLITE_DONE)
            return SqlStatement::Fail(db, error);
        sqlite3_int64 oid = sqlite3_last_insert_rowid(db);
        if (oid <= 0 || oid > kMaxOid) {
            error = "no identifier left";
            return false;
        }
        record.oid = CEOID(oid);
    } else {
        SqlStatement clear(statements, "DELETE FROM contact_props WHERE oid = ?");
        if (!clear.BindInt64(1, record.oid) || clear.Step() != SQLITE_DONE)
            return SqlStatement::Fail(db, error);
    }
    SqlStatement insert(statements, "INSERT INTO contact_props(oid, tag, value) VALUES(?, ?, ?)");
    for (const auto& [tag, value] : record.values) {
        insert.Reset();
        if (!insert.BindInt64(1, record.oid) || !insert.BindInt64(2, tag) ||
            !BindValue(insert, 3, value) || insert.Step() != SQLITE_DONE)
            return SqlStatement::Fail(db, error);
    }
    return true;
}

bool ContactStore::Save(ContactRecord& record, DWORD origin, std::string& error) {
    PimVolume& volume = PimVolume::Instance();
    CEOID before = record.oid;
    std::optional<ContactRecord> stored = before ? Load(before) : std::nullopt;
    ContactFileAs::Update(record, stored ? &*stored : nullptr);
    bool created = false;
    {
        std::lock_guard lock(volume.Mutex());
        sqlite3* db = OpenDb(error);
        if (!db)
            return false;
        if (before) {
            SqlStatement exists(volume.Statements(), "SELECT 1 FROM contacts WHERE oid = ?");
            if (!exists.BindInt64(1, before) || exists.Step() != SQLITE_ROW) {
                error = "contact " + std::to_string(before) + " does not exist";
                return false;
            }
        }
        SqlTransaction transaction(db);
        if (!transaction.Begun())
            return SqlStatement::Fail(db, error);
        if (!WriteLocked(db, record, created, error) || !transaction.Commit(error)) {
            record.oid = before;
            return false;
        }
        ++m_generation;
    }
    PimNotifier::Instance().Raise(created ? PimChange::Created : PimChange::Changed, record.oid,
                                  origin);
    return true;
}

bool ContactStore::Insert(std::vector<ContactRecord>& records, std::string& error) {
    PimVolume& volume = PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    sqlite3* db = OpenDb(error);
    if (!db)
        return false;
    SqlTransaction transaction(db);
    if (!transaction.Begun())
        return SqlStatement::Fail(db, error);
    bool created = false;
    for (ContactRecord& record : records) {
        record.oid = 0;
        if (!WriteLocked(db, record, created, error))
            return false;
    }
    if (!transaction.Commit(error))
        return false;
    ++m_generation;
    return true;
}

bool ContactStore::Delete(CEOID oid, DWORD origin, std::string& error) {
    PimVolume& volume = PimVolume::Instance();
    {
        std::lock_guard lock(volume.Mutex());
        sqlite3* db = OpenDb(error);
        if (!db)
            return false;
        SqlStatement remove(volume.Statements(), "DELETE FROM contacts WHERE oid = ?");
        if (!remove.BindInt64(1, oid) || remove.Step() != SQLITE_DONE)
            return SqlStatement::Fail(db, error);
        if (sqlite3_changes(db) == 0) {
            error = "contact " + std::to_string(oid) + " does not exist";
            return false;
        }
        ++m_generation;
    }
    PimNotifier::Instance().Raise(PimChange::Deleted, oid, origin);
    return true;
}

} // namespace platform
