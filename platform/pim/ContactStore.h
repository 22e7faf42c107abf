// The contact tables of the PIM volume: one row per contact in "contacts" (its OID, never
// reused) and one row per present property in "contact_props". Every change is one
// transaction; after it commits the change is announced through PimNotifier.
#pragma once

#include "ce/cedbtypes.h"
#include "pim/ContactRecord.h"

#include <atomic>
#include <optional>
#include <string>
#include <vector>

struct sqlite3;

namespace platform {

class ContactStore {
public:
    static constexpr size_t kReadAheadBytes = 1u << 20;

    static ContactStore& Instance();

    // Creates the tables when missing. False when the volume holds tables of that name it
    // cannot read (the caller sets the volume aside then).
    bool Boot(std::string& reason);

    std::optional<ContactRecord> Load(CEOID oid) const;
    // The contacts from `first` on that have properties, oldest first, in one read: at most
    // `count`, and fewer once they hold about kReadAheadBytes of values (never fewer than
    // one). `generation` gets the Generation() they belong to. Contacts without any
    // property are left out: Load reads those.
    std::vector<ContactRecord> LoadFrom(CEOID first, size_t count, uint64_t& generation) const;
    bool Exists(CEOID oid) const;
    // Every contact's OID, oldest first.
    std::vector<CEOID> Oids() const;
    // Bumped by every committed change: readers cache Oids() against it.
    uint64_t Generation() const { return m_generation.load(); }

    // Inserts a record with oid 0 (and sets its new OID) or replaces the stored one; the
    // change comes from process `origin` (PimNotifier::kConsoleOrigin for the console).
    // False with a reason when nothing was stored (a record deleted meanwhile, a full disk).
    bool Save(ContactRecord& record, DWORD origin, std::string& error);
    bool Delete(CEOID oid, DWORD origin, std::string& error);
    // Stores new records (oid 0) in one transaction, without notifications: the factory
    // phone book at boot. All or nothing.
    bool Insert(std::vector<ContactRecord>& records, std::string& error);

private:
    ContactStore() = default;

    bool WriteLocked(sqlite3* db, ContactRecord& record, bool& created, std::string& error);

    std::atomic<uint64_t> m_generation{1};
};

} // namespace platform
