#include "pim/VCardMapper.h"

#include "ce/pimstore.h"
#include "kernel/Utf.h"
#include "pim/ContactDates.h"
#include "pim/ContactFileAs.h"
#include "pim/VCardText.h"

#include <initializer_list>

namespace platform {

namespace {

// A decoded property value and the state of the card being mapped.
class Mapping {
public:
    Mapping(ContactRecord& record, std::string& reason) : m_record(record), m_reason(reason) {}

    // The value as UTF-8 with its transfer encoding and charset undone; escapes stay.
    bool Raw(const VCardProperty& property, std::string& out) {
        std::string bytes = property.value;
        if (property.Has("ENCODING", "QUOTED-PRINTABLE") &&
            !VCardText::DecodeQuotedPrintable(property.value, bytes))
            return Fail(property.name + ": bad quoted-printable text");
        if (!VCardText::ToUtf8(bytes, property.Param("CHARSET"), out))
            return Fail(property.name + ": unknown or mismatched charset " + property.Param("CHARSET"));
        return true;
    }

    bool Put(CEPROPID tag, const std::string& utf8, const std::string& what) {
        if (utf8.empty())
            return true;
        std::u16string text = FromUtf8(utf8);
        if (text.size() > kMaxContactText)
            return Fail(what + " too long");
        m_record.values[tag] = std::move(text);
        return true;
    }

    // Puts the text into the first of `tags` not yet set; false only on a failure.
    bool PutFirstFree(std::initializer_list<CEPROPID> tags, const std::string& utf8,
                      const std::string& what, CEPROPID* used = nullptr) {
        for (CEPROPID tag : tags)
            if (!m_record.values.count(tag)) {
                if (used)
                    *used = tag;
                return Put(tag, utf8, what);
            }
        return true; // every slot taken: the number is left out
    }

    bool Fail(std::string reason) {
        m_reason = std::move(reason);
        return false;
    }

    ContactRecord& m_record;
    std::string& m_reason;
};

bool MapName(Mapping& map, const VCardProperty& property, const std::string& raw) {
    auto parts = VCardText::Components(raw);
    parts.resize(5);
    return map.Put(PIMPR_LAST_NAME, VCardText::Unescape(parts[0]), "N") &&
           map.Put(PIMPR_FIRST_NAME, VCardText::Unescape(parts[1]), "N") &&
           map.Put(PIMPR_MIDDLE_NAME, VCardText::Unescape(parts[2]), "N") &&
           map.Put(PIMPR_TITLE, VCardText::Unescape(parts[3]), "N") &&
           map.Put(PIMPR_SUFFIX, VCardText::Unescape(parts[4]), "N");
}

bool MapOrganisation(Mapping& map, const std::string& raw) {
    auto parts = VCardText::Components(raw);
    parts.resize(2);
    return map.Put(PIMPR_COMPANY_NAME, VCardText::Unescape(parts[0]), "ORG") &&
           map.Put(PIMPR_DEPARTMENT, VCardText::Unescape(parts[1]), "ORG");
}

bool MapTelephone(Mapping& map, const VCardProperty& p, std::string number) {
    if (number.rfind("tel:", 0) == 0)
        number.erase(0, 4);
    number = VCardText::Unescape(number);
    CEPROPID used = 0;
    bool ok;
    if (p.Has("TYPE", "FAX"))
        ok = map.PutFirstFree({CEPROPID(p.Has("TYPE", "WORK") ? PIMPR_BUSINESS_FAX_NUMBER : PIMPR_HOME_FAX_NUMBER)},
                              number, "TEL", &used);
    else if (p.Has("TYPE", "PAGER"))
        ok = map.PutFirstFree({PIMPR_PAGER_NUMBER}, number, "TEL", &used);
    else if (p.Has("TYPE", "CELL") || p.Has("TYPE", "MOBILE"))
        ok = map.PutFirstFree({PIMPR_MOBILE_TELEPHONE_NUMBER}, number, "TEL", &used);
    else if (p.Has("TYPE", "CAR"))
        ok = map.PutFirstFree({PIMPR_CAR_TELEPHONE_NUMBER}, number, "TEL", &used);
    else if (p.Has("TYPE", "X-ASSISTANT"))
        ok = map.PutFirstFree({PIMPR_ASSISTANT_TELEPHONE_NUMBER}, number, "TEL", &used);
    else if (p.Has("TYPE", "X-RADIO"))
        ok = map.PutFirstFree({PIMPR_RADIO_TELEPHONE_NUMBER}, number, "TEL", &used);
    else if (p.Has("TYPE", "WORK"))
        ok = map.PutFirstFree({PIMPR_BUSINESS_TELEPHONE_NUMBER, PIMPR_BUSINESS2_TELEPHONE_NUMBER},
                              number, "TEL", &used);
    else if (p.Has("TYPE", "HOME"))
        ok = map.PutFirstFree({PIMPR_HOME_TELEPHONE_NUMBER, PIMPR_HOME2_TELEPHONE_NUMBER}, number,
                              "TEL", &used);
    else
        ok = map.PutFirstFree({PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_HOME_TELEPHONE_NUMBER,
                               PIMPR_HOME2_TELEPHONE_NUMBER, PIMPR_BUSINESS_TELEPHONE_NUMBER,
                               PIMPR_BUSINESS2_TELEPHONE_NUMBER},
                              number, "TEL", &used);
    // The preferred number becomes the contact's default one.
    if (ok && used && (p.Has("TYPE", "PREF") || !p.Param("PREF").empty()) &&
        !map.m_record.values.count(PIMPR_SMARTPROP) && TypeFromPropID(used) == CEVT_LPWSTR &&
        used != PIMPR_BUSINESS_FAX_NUMBER && used != PIMPR_HOME_FAX_NUMBER && used != PIMPR_PAGER_NUMBER)
        map.m_record.values[PIMPR_SMARTPROP] = uint32_t(used);
    return ok;
}

bool MapAddress(Mapping& map, const VCardProperty& p, const std::string& raw) {
    auto parts = VCardText::Components(raw);
    parts.resize(7);
    bool work = p.Has("TYPE", "WORK"), home = p.Has("TYPE", "HOME");
    CEPROPID base = work ? PIMPR_BUSINESS_ADDRESS_STREET : home ? PIMPR_HOME_ADDRESS_STREET
                                                                 : PIMPR_OTHER_ADDRESS_STREET;
    if (map.m_record.values.count(base))
        return true; // one address of each kind
    // Post office box and extended address go on lines of their own above the street.
    std::string street;
    for (size_t i : {size_t(0), size_t(1), size_t(2)}) {
        std::string line = VCardText::Unescape(parts[i]);
        if (line.empty())
            continue;
        street += (street.empty() ? "" : "\r\n") + line;
    }
    constexpr CEPROPID kStep = 0x00010000; // street, city, state, postal code, country
    return map.Put(base, street, "ADR") &&
           map.Put(base + kStep, VCardText::Unescape(parts[3]), "ADR") &&
           map.Put(base + 2 * kStep, VCardText::Unescape(parts[4]), "ADR") &&
           map.Put(base + 3 * kStep, VCardText::Unescape(parts[5]), "ADR") &&
           map.Put(base + 4 * kStep, VCardText::Unescape(parts[6]), "ADR");
}

bool MapDate(Mapping& map, CEPROPID tag, const VCardProperty& p, const std::string& raw) {
    uint64_t fileTime = 0;
    std::string text = VCardText::Unescape(raw);
    // A date without a year ("--0415") cannot be stored: it is left out.
    if (text.rfind("--", 0) == 0)
        return true;
    if (!ContactDates::Parse(text, fileTime))
        return map.Fail(p.name + ": not a date: " + text.substr(0, 40));
    map.m_record.values[tag] = fileTime;
    return true;
}

bool IsPicture(const std::vector<uint8_t>& bytes) {
    static const uint8_t kPng[] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (bytes.size() >= 3 && bytes[0] == 0xFF && bytes[1] == 0xD8 && bytes[2] == 0xFF)
        return true;
    return bytes.size() >= 8 && std::equal(kPng, kPng + 8, bytes.begin());
}

bool MapPhoto(Mapping& map, const VCardProperty& p) {
    std::string_view value = p.value;
    bool inline64 = p.Has("ENCODING", "B") || p.Has("ENCODING", "BASE64");
    if (value.rfind("data:", 0) == 0) {
        size_t comma = value.find(',');
        if (comma == std::string_view::npos || value.substr(0, comma).find(";base64") == std::string_view::npos)
            return map.Fail("PHOTO: unsupported data URI");
        value.remove_prefix(comma + 1);
        inline64 = true;
    }
    if (!inline64)
        return true; // a picture by reference (a URL) is not fetched
    std::vector<uint8_t> bytes;
    if (!VCardText::DecodeBase64(value, bytes))
        return map.Fail("PHOTO: bad base64 data");
    if (bytes.size() > kMaxContactPicture)
        return map.Fail("PHOTO too large");
    if (IsPicture(bytes) && !map.m_record.values.count(PIMPR_PICTURE))
        map.m_record.values[PIMPR_PICTURE] = std::move(bytes);
    return true;
}

bool MapCategories(Mapping& map, const std::string& raw) {
    std::string joined;
    for (const std::string& piece : VCardText::List(raw)) {
        std::string name = VCardText::Unescape(piece);
        if (name.empty())
            continue;
        joined += (joined.empty() ? "" : ", ") + name;
    }
    return map.Put(PIMPR_CATEGORIES, joined, "CATEGORIES");
}

bool MapProperty(Mapping& map, const VCardProperty& p) {
    if (p.name == "PHOTO")
        return MapPhoto(map, p);
    std::string raw;
    if (!map.Raw(p, raw))
        return false;
    const std::string& n = p.name;
    if (n == "N")
        return MapName(map, p, raw);
    if (n == "FN")
        return map.Put(PIMPR_FILEAS, VCardText::Unescape(raw), "FN");
    if (n == "NICKNAME")
        return map.Put(PIMPR_NICKNAME, VCardText::Unescape(VCardText::List(raw)[0]), "NICKNAME");
    if (n == "ORG")
        return MapOrganisation(map, raw);
    if (n == "TITLE")
        return map.Put(PIMPR_JOB_TITLE, VCardText::Unescape(raw), "TITLE");
    if (n == "TEL")
        return MapTelephone(map, p, raw);
    if (n == "EMAIL")
        return map.PutFirstFree({PIMPR_EMAIL1_ADDRESS, PIMPR_EMAIL2_ADDRESS, PIMPR_EMAIL3_ADDRESS},
                                VCardText::Unescape(raw), "EMAIL");
    if (n == "ADR")
        return MapAddress(map, p, raw);
    if (n == "URL")
        return map.PutFirstFree({PIMPR_WEB_PAGE}, VCardText::Unescape(raw), "URL");
    if (n == "BDAY")
        return MapDate(map, PIMPR_BIRTHDAY, p, raw);
    if (n == "ANNIVERSARY" || n == "X-ANNIVERSARY" || n == "X-MS-ANNIVERSARY")
        return MapDate(map, PIMPR_ANNIVERSARY, p, raw);
    if (n == "CATEGORIES")
        return MapCategories(map, raw);
    if (n == "IMPP" || n == "X-AIM" || n == "X-JABBER" || n == "X-SKYPE" || n == "X-MSN" ||
        n == "X-ICQ" || n == "X-YAHOO")
        return map.PutFirstFree({PIMPR_IM1_ADDRESS, PIMPR_IM2_ADDRESS, PIMPR_IM3_ADDRESS},
                                VCardText::Unescape(raw), n);
    if (n == "X-SPOUSE" || n == "X-MS-SPOUSE")
        return map.Put(PIMPR_SPOUSE, VCardText::Unescape(raw), n);
    if (n == "X-ASSISTANT" || n == "X-MS-ASSISTANT")
        return map.Put(PIMPR_ASSISTANT_NAME, VCardText::Unescape(raw), n);
    if (n == "X-MANAGER" || n == "X-MS-MANAGER")
        return map.Put(PIMPR_MANAGER, VCardText::Unescape(raw), n);
    return true; // NOTE and everything else has no field on the phone
}

// The names decide FILEAS when there are any; else FN stays, else the store derives it.
void FillFileAs(ContactRecord& record) {
    bool named = record.values.count(PIMPR_LAST_NAME) || record.values.count(PIMPR_FIRST_NAME) ||
                 record.values.count(PIMPR_MIDDLE_NAME);
    if (named || !record.values.count(PIMPR_FILEAS)) {
        std::u16string derived = ContactFileAs::Derive(record);
        if (!derived.empty())
            record.values[PIMPR_FILEAS] = std::move(derived);
    }
}

} // namespace

bool VCardMapper::ToRecord(const VCard& card, ContactRecord& record, std::string& reason) {
    record = ContactRecord{};
    if (!card.error.empty()) {
        reason = card.error;
        return false;
    }
    Mapping map(record, reason);
    for (const VCardProperty& property : card.properties)
        if (!MapProperty(map, property))
            return false;
    FillFileAs(record);
    bool reachable = false;
    for (CEPROPID tag : {PIMPR_FILEAS, PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_HOME_TELEPHONE_NUMBER,
                         PIMPR_BUSINESS_TELEPHONE_NUMBER, PIMPR_EMAIL1_ADDRESS})
        reachable = reachable || record.values.count(tag);
    if (!reachable) {
        reason = "no name, number or e-mail";
        return false;
    }
    return true;
}

} // namespace platform
