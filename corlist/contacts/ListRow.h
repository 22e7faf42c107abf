// One row of the list a main page shows: what kind of item it is and the item itself, as
// the caches hand it out (the caches own every item), plus how a search matched it.
#pragma once

#include "ce/types.h"

#include <cstddef>
#include <string>

namespace common {
struct CallLogEntry;
struct CategoryEntry;
struct ContactRecord;
} // namespace common

namespace corlist {

enum class RowKind : BYTE {
    kContact,  // `contact`
    kCategory, // `category`, `entry` its index in the category list (0 "All Categories")
    kCompany,  // `company`, `entry` its index in the company list (0 "All Companies")
    kCall,     // `call`; `contact` is the call's contact when the row was made, or null
};

struct ListRow {
    RowKind kind = RowKind::kContact;
    common::ContactRecord* contact = nullptr;
    const common::CategoryEntry* category = nullptr;
    const std::u16string* company = nullptr;
    common::CallLogEntry* call = nullptr;
    size_t entry = 0;
    // While a search shows: MatchKind and the match position (see SearchRow).
    BYTE matchKind = 0;
    DWORD matchPosition = 0;
};

} // namespace corlist
