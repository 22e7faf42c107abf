// The contact store properties the library exchanges by name: the details view shows them
// and the exports write them under these names. Entry 0 (OID) is the record identifier;
// the CSV export writes the entries from kFirstExportedField on.
#pragma once

#include "ce/cedbtypes.h"
#include "ce/pimstore.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace corlist {

struct ContactField {
    std::string_view name;
    CEPROPID tag; // the low 16 bits are the value type (CEVT_*)
};

constexpr size_t kContactFieldCount = 65;
constexpr size_t kFirstExportedField = 1;

inline constexpr std::array<ContactField, kContactFieldCount> kContactFields = {{
    {"OID", PIMPR_OID},
    {"FILEAS", PIMPR_FILEAS},
    {"TITLE", PIMPR_TITLE},
    {"FIRST_NAME", PIMPR_FIRST_NAME},
    {"MIDDLE_NAME", PIMPR_MIDDLE_NAME},
    {"LAST_NAME", PIMPR_LAST_NAME},
    {"SUFFIX", PIMPR_SUFFIX},
    {"NICKNAME", PIMPR_NICKNAME},
    {"YOMI_FIRSTNAME", PIMPR_YOMI_FIRSTNAME},
    {"YOMI_LASTNAME", PIMPR_YOMI_LASTNAME},
    {"YOMI_COMPANY", PIMPR_YOMI_COMPANY},
    {"COMPANY_NAME", PIMPR_COMPANY_NAME},
    {"DEPARTMENT", PIMPR_DEPARTMENT},
    {"JOB_TITLE", PIMPR_JOB_TITLE},
    {"MANAGER", PIMPR_MANAGER},
    {"OFFICE_LOCATION", PIMPR_OFFICE_LOCATION},
    {"ASSISTANT_NAME", PIMPR_ASSISTANT_NAME},
    {"EMAIL1_ADDRESS", PIMPR_EMAIL1_ADDRESS},
    {"EMAIL2_ADDRESS", PIMPR_EMAIL2_ADDRESS},
    {"EMAIL3_ADDRESS", PIMPR_EMAIL3_ADDRESS},
    {"IM1_ADDRESS", PIMPR_IM1_ADDRESS},
    {"IM2_ADDRESS", PIMPR_IM2_ADDRESS},
    {"IM3_ADDRESS", PIMPR_IM3_ADDRESS},
    {"MOBILE_TELEPHONE_NUMBER", PIMPR_MOBILE_TELEPHONE_NUMBER},
    {"BUSINESS_TELEPHONE_NUMBER", PIMPR_BUSINESS_TELEPHONE_NUMBER},
    {"BUSINESS2_TELEPHONE_NUMBER", PIMPR_BUSINESS2_TELEPHONE_NUMBER},
    {"HOME_TELEPHONE_NUMBER", PIMPR_HOME_TELEPHONE_NUMBER},
    {"HOME2_TELEPHONE_NUMBER", PIMPR_HOME2_TELEPHONE_NUMBER},
    {"BUSINESS_FAX_NUMBER", PIMPR_BUSINESS_FAX_NUMBER},
    {"HOME_FAX_NUMBER", PIMPR_HOME_FAX_NUMBER},
    {"PAGER_NUMBER", PIMPR_PAGER_NUMBER},
    {"CAR_TELEPHONE_NUMBER", PIMPR_CAR_TELEPHONE_NUMBER},
    {"RADIO_TELEPHONE_NUMBER", PIMPR_RADIO_TELEPHONE_NUMBER},
    {"ASSISTANT_TELEPHONE_NUMBER", PIMPR_ASSISTANT_TELEPHONE_NUMBER},
    {"SMS", PIMPR_SMS},
    {"MMS", PIMPR_MMS},
    {"DISPLAY_NAME", PIMPR_DISPLAY_NAME},
    {"SPOUSE", PIMPR_SPOUSE},
    {"CHILDREN", PIMPR_CHILDREN},
    {"WEB_PAGE", PIMPR_WEB_PAGE},
    {"RINGTONE", PIMPR_RINGTONE},
    {"CUSTOMERID", PIMPR_CUSTOMERID},
    {"GOVERNMENTID", PIMPR_GOVERNMENTID},
    {"ACCOUNT_NAME", PIMPR_ACCOUNT_NAME},
    {"BUSINESS_ADDRESS_STREET", PIMPR_BUSINESS_ADDRESS_STREET},
    {"BUSINESS_ADDRESS_CITY", PIMPR_BUSINESS_ADDRESS_CITY},
    {"BUSINESS_ADDRESS_STATE", PIMPR_BUSINESS_ADDRESS_STATE},
    {"BUSINESS_ADDRESS_POSTAL_CODE", PIMPR_BUSINESS_ADDRESS_POSTAL_CODE},
    {"BUSINESS_ADDRESS_COUNTRY", PIMPR_BUSINESS_ADDRESS_COUNTRY},
    {"HOME_ADDRESS_STREET", PIMPR_HOME_ADDRESS_STREET},
    {"HOME_ADDRESS_CITY", PIMPR_HOME_ADDRESS_CITY},
    {"HOME_ADDRESS_STATE", PIMPR_HOME_ADDRESS_STATE},
    {"HOME_ADDRESS_POSTAL_CODE", PIMPR_HOME_ADDRESS_POSTAL_CODE},
    {"HOME_ADDRESS_COUNTRY", PIMPR_HOME_ADDRESS_COUNTRY},
    {"OTHER_ADDRESS_STREET", PIMPR_OTHER_ADDRESS_STREET},
    {"OTHER_ADDRESS_CITY", PIMPR_OTHER_ADDRESS_CITY},
    {"OTHER_ADDRESS_STATE", PIMPR_OTHER_ADDRESS_STATE},
    {"OTHER_ADDRESS_POSTAL_CODE", PIMPR_OTHER_ADDRESS_POSTAL_CODE},
    {"OTHER_ADDRESS_COUNTRY", PIMPR_OTHER_ADDRESS_COUNTRY},
    {"BIRTHDAY", PIMPR_BIRTHDAY},
    {"ANNIVERSARY", PIMPR_ANNIVERSARY},
    {"SMARTPROP", PIMPR_SMARTPROP},
    {"PICTURE", PIMPR_PICTURE},
    {"YOMI_FILEAS", PIMPR_YOMI_FILEAS},
    {"SIM_PHONE", PIMPR_SIM_PHONE},
}};

// The entry named `name` (exact comparison), or null.
constexpr const ContactField* FieldByName(std::string_view name) {
    for (const ContactField& field : kContactFields)
        if (field.name == name)
            return &field;
    return nullptr;
}

// The entry of property `tag`, or null.
constexpr const ContactField* FieldByTag(CEPROPID tag) {
    for (const ContactField& field : kContactFields)
        if (field.tag == tag)
            return &field;
    return nullptr;
}

// The value type of a property tag (CEVT_LPWSTR, CEVT_FILETIME, CEVT_UI4, CEVT_STREAM, ...).
constexpr WORD TypeOfTag(CEPROPID tag) { return WORD(tag & 0xFFFF); }

} // namespace corlist
