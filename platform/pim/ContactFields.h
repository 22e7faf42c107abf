// The contact properties the store keeps, by name and tag, in the order of the device's
// field table (OID first), then the categories and the company number. The console and
// the vCard import address properties by these names.
#pragma once

#include "ce/cedbtypes.h"

#include <span>
#include <string_view>

namespace platform {

// How a property's value is held: by the low 16 bits of its tag.
enum class ContactValueKind { Text, Number, Time, Bytes, RecordId, Unknown };

struct ContactField {
    const char* name;
    CEPROPID tag;
};

class ContactFields {
public:
    static std::span<const ContactField> All();
    // Exact, upper-case name ("FIRST_NAME"); null when unknown.
    static const ContactField* ByName(std::string_view name);
    static const ContactField* ByTag(CEPROPID tag);
    static ContactValueKind KindOf(CEPROPID tag);
    // A property SetProps may write: known and not the record identifier.
    static bool IsWritable(CEPROPID tag);
    // The ten phone number properties of the contact list, in its order.
    static std::span<const CEPROPID> PhoneTags();
};

} // namespace platform
