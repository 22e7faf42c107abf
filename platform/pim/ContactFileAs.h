// The "file as" text of a contact: "Last, First Middle", or the company, or the first
// e-mail address. A contact saved without one gets it, and it follows later changes of
// the names for as long as nobody set it to something else.
#pragma once

#include "pim/ContactRecord.h"

namespace platform {

class ContactFileAs {
public:
    static std::u16string Derive(const ContactRecord& record);
    // Sets FILEAS of `record` (about to be saved over `stored`, null for a new contact)
    // when it is missing or still the one derived from the stored names.
    static void Update(ContactRecord& record, const ContactRecord* stored);
};

} // namespace platform
