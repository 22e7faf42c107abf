#include "corvane/ContactFill.h"

#include "common/PhoneKey.h"
#include "corvane/DisplayName.h"

#include <limits>

namespace corvane {

const CEPROPID kContactLoadList[kLoadSlots] = {
    PIMPR_SMARTPROP,
    PIMPR_CATEGORIES,
    PIMPR_IM1_ADDRESS,
    PIMPR_IM2_ADDRESS,
    PIMPR_IM3_ADDRESS,
    PIMPR_FILEAS,
    PIMPR_FIRST_NAME,
    PIMPR_MIDDLE_NAME,
    PIMPR_LAST_NAME,
    PIMPR_NICKNAME,
    PIMPR_COMPANY_NAME,
    PIMPR_MOBILE_TELEPHONE_NUMBER,
    PIMPR_HOME_TELEPHONE_NUMBER,
    PIMPR_BUSINESS_TELEPHONE_NUMBER,
    PIMPR_HOME2_TELEPHONE_NUMBER,
    PIMPR_BUSINESS2_TELEPHONE_NUMBER,
    PIMPR_SIM_PHONE,
    PIMPR_CAR_TELEPHONE_NUMBER,
    PIMPR_ASSISTANT_TELEPHONE_NUMBER,
    PIMPR_COMPANY_TELEPHONE_NUMBER,
    PIMPR_RADIO_TELEPHONE_NUMBER,
};

const CEPROPID kEmailLoadList[3] = {PIMPR_EMAIL1_ADDRESS, PIMPR_EMAIL2_ADDRESS,
                                    PIMPR_EMAIL3_ADDRESS};

namespace {

constexpr std::u16string_view kFacebookPrefix = u"Facebook";

bool Present(const CEPROPVAL& value) {
    return !(value.wFlags & CEDB_PROPNOTFOUND);
}

NameFields Names(const CEPROPVAL* values) {
    NameFields fields;
    fields.fileAs = PropertyText(values[kFileAs]);
    fields.first = PropertyText(values[kFirstName]);
    fields.middle = PropertyText(values[kMiddleName]);
    fields.last = PropertyText(values[kLastName]);
    fields.nickname = PropertyText(values[kNickname]);
    fields.company = PropertyText(values[kCompanyName]);
    return fields;
}

// A decimal number as strtoll reads it: blanks, a sign, digits. 0 when there is none or
// it does not fit.
int64_t ReadDecimal(std::u16string_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == u' ' || text[at] == u'\t'))
        ++at;
    bool negative = at < text.size() && text[at] == u'-';
    if (at < text.size() && (text[at] == u'-' || text[at] == u'+'))
        ++at;
    int64_t value = 0;
    for (; at < text.size() && text[at] >= u'0' && text[at] <= u'9'; ++at) {
        int digit = text[at] - u'0';
        if (value > (std::numeric_limits<int64_t>::max() - digit) / 10)
            return 0;
        value = value * 10 + digit;
    }
    return negative ? -value : value;
}

} // namespace

std::u16string_view PropertyText(const CEPROPVAL& value) {
    if (!Present(value) || TypeFromPropID(value.propid) != CEVT_LPWSTR || !value.val.lpwstr)
        return {};
    return value.val.lpwstr;
}

int64_t ContactFill::FacebookId(const CEPROPVAL* imValues) {
    for (int i = 0; i < 3; ++i) {
        std::u16string_view text = PropertyText(imValues[i]);
        if (text.substr(0, kFacebookPrefix.size()) != kFacebookPrefix)
            continue;
        size_t colon = text.find(u':', kFacebookPrefix.size());
        if (colon == std::u16string_view::npos)
            continue;
        // A friend's id is positive; anything else links to nobody.
        int64_t id = ReadDecimal(text.substr(colon + 1));
        return id > 0 ? id : 0;
    }
    return 0;
}

bool ContactFill::FillName(common::ContactRecord& record, const CEPROPVAL* values) {
    BuiltName name = DisplayName::Build(Names(values), m_displayMode, m_unknown);
    record.nameSplit = name.split;
    if (name.text == record.displayName)
        return false;
    record.displayName = std::move(name.text);
    return true;
}

unsigned ContactFill::FillCompany(common::ContactRecord& record, const CEPROPVAL& value) {
    std::u16string_view company = PropertyText(value);
    // A company that was removed from the contact leaves the record too.
    if (company.empty()) {
        bool had = record.company != nullptr;
        record.company = nullptr;
        return had ? FillChange::kCompany : 0;
    }
    if (record.company && *record.company == company)
        return 0;
    record.company = m_companies.FindOrAdd(company);
    return FillChange::kCompany;
}

void ContactFill::FillCategories(common::ContactRecord& record, const CEPROPVAL& value) {
    std::u16string_view text = PropertyText(value);
    std::vector<const common::CategoryEntry*> categories;
    while (!text.empty()) {
        size_t comma = text.find(u',');
        std::u16string_view piece = text.substr(0, comma);
        text = comma == std::u16string_view::npos ? std::u16string_view() : text.substr(comma + 1);
        while (!piece.empty() && piece.front() == u' ')
            piece.remove_prefix(1);
        if (piece.empty())
            continue;
        // Whole names only: "Fam" is no abbreviation of "Family".
        const common::CategoryEntry* entry = nullptr;
        for (const common::CategoryEntry* held : record.categories)
            if (held->name == piece)
                entry = held;
        categories.push_back(entry ? entry : m_categories.FindOrAdd(piece));
    }
    // An empty or missing category text leaves the contact without categories.
    record.categories = std::move(categories);
}

unsigned ContactFill::FillNumbers(common::ContactRecord& record, const CEPROPVAL* values) {
    const CEPROPVAL* phones = values + kFirstPhone;
    int defaultType = -1;
    const CEPROPVAL& smart = values[kSmartProp];
    if (Present(smart) && TypeFromPropID(smart.propid) == CEVT_UI4) {
        int type = common::PhoneTypeIndex(smart.val.ulVal);
        if (type >= 0 && !PropertyText(phones[type]).empty())
            defaultType = type;
    }
    common::PhoneKeyBlock block;
    BYTE defaultIndex = 0;
    record.primaryNumber.clear();
    record.primaryKind = common::PrimaryKind::kOther;
    for (int type = 0; type < 10; ++type) {
        std::u16string_view number = PropertyText(phones[type]);
        if (number.empty())
            continue;
        if (defaultType < 0)
            defaultType = type;
        if (type == defaultType) {
            defaultIndex = BYTE(block.KeyCount());
            record.primaryNumber = number;
            record.primaryKind = common::kPhoneTypes[type].kind;
        }
        block.Append(common::PhoneKey(number, BYTE(type)));
    }
    block.SetDefaultIndex(defaultIndex);
    if (common::BlocksMatch(record.phoneKeys, block.Bytes())) {
        if (!record.phoneKeys.empty())
            record.phoneKeys[1] = defaultIndex;
        return 0;
    }
    record.phoneKeys = block.Take();
    return FillChange::kNumbers;
}

unsigned ContactFill::Fill(common::ContactRecord& record, const CEPROPVAL* values) {
    unsigned changes = FillName(record, values) ? FillChange::kName : 0;
    changes |= FillCompany(record, values[kCompanyName]);
    FillCategories(record, values[kCategories]);
    record.facebookId = FacebookId(values + kIm1);
    changes |= FillNumbers(record, values);
    return changes;
}

void ContactFill::FillEmail(common::ContactRecord& record, const CEPROPVAL* emails) {
    for (int i = 0; i < 3; ++i) {
        std::u16string_view address = PropertyText(emails[i]);
        if (address.empty())
            continue;
        record.primaryNumber = address;
        record.primaryKind = common::PrimaryKind::kEmail;
        return;
    }
}

} // namespace corvane
