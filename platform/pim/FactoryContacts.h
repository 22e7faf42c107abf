// The sample phone book a new device starts with: about sixty people and companies from
// several countries, with numbers, addresses, categories and some pictures.
#pragma once

#include "pim/ContactRecord.h"

#include <vector>

namespace platform {

class FactoryContacts {
public:
    // The records, in the order they are stored.
    static std::vector<ContactRecord> Records();
    // Stores them in one transaction (a boot step of a new volume).
    static bool Install();
};

} // namespace platform
