#include "pim/ContactFields.h"

#include "ce/pimstore.h"

namespace platform {

namespace {

#define FIELD(name) {#name, PIMPR_##name}
constexpr ContactField kFields[] = {
    FIELD(OID), FIELD(FILEAS), FIELD(TITLE), FIELD(FIRST_NAME), FIELD(MIDDLE_NAME),
    FIELD(LAST_NAME), FIELD(SUFFIX), FIELD(NICKNAME), FIELD(YOMI_FIRSTNAME), FIELD(YOMI_LASTNAME),
    FIELD(YOMI_COMPANY), FIELD(COMPANY_NAME), FIELD(DEPARTMENT), FIELD(JOB_TITLE), FIELD(MANAGER),
    FIELD(OFFICE_LOCATION), FIELD(ASSISTANT_NAME), FIELD(EMAIL1_ADDRESS), FIELD(EMAIL2_ADDRESS),
    FIELD(EMAIL3_ADDRESS), FIELD(IM1_ADDRESS), FIELD(IM2_ADDRESS), FIELD(IM3_ADDRESS),
    FIELD(MOBILE_TELEPHONE_NUMBER), FIELD(BUSINESS_TELEPHONE_NUMBER),
    FIELD(BUSINESS2_TELEPHONE_NUMBER), FIELD(HOME_TELEPHONE_NUMBER), FIELD(HOME2_TELEPHONE_NUMBER),
    FIELD(BUSINESS_FAX_NUMBER), FIELD(HOME_FAX_NUMBER), FIELD(PAGER_NUMBER),
    FIELD(CAR_TELEPHONE_NUMBER), FIELD(RADIO_TELEPHONE_NUMBER), FIELD(ASSISTANT_TELEPHONE_NUMBER),
    FIELD(SMS), FIELD(MMS), FIELD(DISPLAY_NAME), FIELD(SPOUSE), FIELD(CHILDREN), FIELD(WEB_PAGE),
    FIELD(RINGTONE), FIELD(CUSTOMERID), FIELD(GOVERNMENTID), FIELD(ACCOUNT_NAME),
    FIELD(BUSINESS_ADDRESS_STREET), FIELD(BUSINESS_ADDRESS_CITY), FIELD(BUSINESS_ADDRESS_STATE),
    FIELD(BUSINESS_ADDRESS_POSTAL_CODE), FIELD(BUSINESS_ADDRESS_COUNTRY),
    FIELD(HOME_ADDRESS_STREET), FIELD(HOME_ADDRESS_CITY), FIELD(HOME_ADDRESS_STATE),
    FIELD(HOME_ADDRESS_POSTAL_CODE), FIELD(HOME_ADDRESS_COUNTRY), FIELD(OTHER_ADDRESS_STREET),
    FIELD(OTHER_ADDRESS_CITY), FIELD(OTHER_ADDRESS_STATE), FIELD(OTHER_ADDRESS_POSTAL_CODE),
    FIELD(OTHER_ADDRESS_COUNTRY), FIELD(BIRTHDAY), FIELD(ANNIVERSARY), FIELD(SMARTPROP),
    FIELD(PICTURE), FIELD(YOMI_FILEAS), FIELD(SIM_PHONE), FIELD(CATEGORIES),
    FIELD(COMPANY_TELEPHONE_NUMBER),
};
#undef FIELD

constexpr CEPROPID kPhoneTags[] = {
    PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_HOME_TELEPHONE_NUMBER,   PIMPR_BUSINESS_TELEPHONE_NUMBER,
    PIMPR_HOME2_TELEPHONE_NUMBER,  PIMPR_BUSINESS2_TELEPHONE_NUMBER, PIMPR_SIM_PHONE,
    PIMPR_CAR_TELEPHONE_NUMBER,    PIMPR_ASSISTANT_TELEPHONE_NUMBER, PIMPR_COMPANY_TELEPHONE_NUMBER,
    PIMPR_RADIO_TELEPHONE_NUMBER,
};

} // namespace

std::span<const ContactField> ContactFields::All() { return kFields; }

const ContactField* ContactFields::ByName(std::string_view name) {
    for (const ContactField& field : kFields)
        if (name == field.name)
            return &field;
    return nullptr;
}

const ContactField* ContactFields::ByTag(CEPROPID tag) {
    for (const ContactField& field : kFields)
        if (field.tag == tag)
            return &field;
    return nullptr;
}

ContactValueKind ContactFields::KindOf(CEPROPID tag) {
    switch (TypeFromPropID(tag)) {
    case CEVT_LPWSTR:
        return ContactValueKind::Text;
    case CEVT_UI4:
        return ContactValueKind::Number;
    case CEVT_FILETIME:
        return ContactValueKind::Time;
    case CEVT_STREAM:
        return ContactValueKind::Bytes;
    case CEVT_RECID:
        return ContactValueKind::RecordId;
    default:
        return ContactValueKind::Unknown;
    }
}

bool ContactFields::IsWritable(CEPROPID tag) { return tag != PIMPR_OID && ByTag(tag) != nullptr; }

std::span<const CEPROPID> ContactFields::PhoneTags() { return kPhoneTags; }

} // namespace platform
