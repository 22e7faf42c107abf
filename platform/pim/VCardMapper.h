// Turns one parsed vCard into a contact record of the store's fields: names, company,
// numbers by their types, e-mail, addresses, web page, dates, categories, picture and the
// instant-messaging and relation fields of the common X- extensions.
#pragma once

#include "pim/ContactRecord.h"
#include "pim/VCardParser.h"

#include <string>

namespace platform {

class VCardMapper {
public:
    // False with a reason when the card cannot become a contact (a value that does not
    // decode, a text too long, nothing that names or reaches anyone).
    static bool ToRecord(const VCard& card, ContactRecord& record, std::string& reason);
};

} // namespace platform
