#include "ce/pimstore.h"
#include "common/ContactRecord.h"

namespace common {

const PhoneType kPhoneTypes[10] = {
    {PIMPR_MOBILE_TELEPHONE_NUMBER, PrimaryKind::kMobile, 5000},
    {PIMPR_HOME_TELEPHONE_NUMBER, PrimaryKind::kHome, 5002},
    {PIMPR_BUSINESS_TELEPHONE_NUMBER, PrimaryKind::kWork, 5001},
    {PIMPR_HOME2_TELEPHONE_NUMBER, PrimaryKind::kHome, 5016},
    {PIMPR_BUSINESS2_TELEPHONE_NUMBER, PrimaryKind::kWork, 5014},
    {PIMPR_SIM_PHONE, PrimaryKind::kOther, 5020},
    {PIMPR_CAR_TELEPHONE_NUMBER, PrimaryKind::kCar, 5017},
    {PIMPR_ASSISTANT_TELEPHONE_NUMBER, PrimaryKind::kAssistant, 5015},
    {PIMPR_COMPANY_TELEPHONE_NUMBER, PrimaryKind::kWork, 5018},
    {PIMPR_RADIO_TELEPHONE_NUMBER, PrimaryKind::kRadio, 5013},
};

int PhoneTypeIndex(CEPROPID tag) {
    for (int i = 0; i < 10; ++i)
        if (kPhoneTypes[i].tag == tag)
            return i;
    return -1;
}

} // namespace common
