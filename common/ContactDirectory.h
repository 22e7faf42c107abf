// What the UI library reads of the main program's caches: the contacts in display-name
// order, the category and company lists, the call log, and the contacts' store items. The
// core object hands it out; everything it returns belongs to the caches and is read on the
// main program's thread (another thread takes the core object's lock first).
#pragma once

#include "common/CallLogEntry.h"
#include "common/ContactRecord.h"

#include <cstddef>
#include <string>

struct IContact;

namespace common {

class ContactDirectory {
public:
    virtual size_t ContactCount() const = 0;
    virtual ContactRecord* ContactAt(size_t index) const = 0;
    // Entry 0 is "All Categories", entry 1 "Favorites", then the categories by name.
    virtual size_t CategoryCount() const = 0;
    virtual const CategoryEntry& CategoryAt(size_t index) const = 0;
    // Entry 0 is "All Companies", then the companies by name.
    virtual size_t CompanyCount() const = 0;
    virtual const std::u16string& CompanyAt(size_t index) const = 0;
    // The call log in the cache's order (the database's, newest call first).
    virtual size_t CallCount() const = 0;
    virtual CallLogEntry* CallAt(size_t index) const = 0;
    // The store item of a device contact (fetched when the record holds none; null for a
    // SIM entry or a contact the store lost), and its release right after use. Both take
    // the core object's lock.
    virtual IContact* FetchItem(ContactRecord& record) = 0;
    virtual void ReleaseItem(ContactRecord& record) = 0;

protected:
    ~ContactDirectory() = default;
};

} // namespace common
