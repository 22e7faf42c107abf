// Fills a cached contact from the properties read from its store item: display name,
// company, categories, Facebook link, default number, phone keys and primary number.
#pragma once

#include "ce/pimstore.h"
#include "common/ContactRecord.h"
#include "corvane/CategoryList.h"
#include "corvane/CompanyList.h"

#include <string_view>

namespace corvane {

// The properties read for every contact, in this order, with one GetProps call.
enum LoadSlot : WORD {
    kSmartProp,
    kCategories,
    kIm1,
    kIm2,
    kIm3,
    kFileAs,
    kFirstName,
    kMiddleName,
    kLastName,
    kNickname,
    kCompanyName,
    kFirstPhone, // then the ten phone properties in type order
    kLoadSlots = kFirstPhone + 10,
};
extern const CEPROPID kContactLoadList[kLoadSlots];
// Read in a second request when the contact has no phone number.
extern const CEPROPID kEmailLoadList[3];

// What a fill changed (bits of its result).
namespace FillChange {
constexpr unsigned kName = 0x1;
constexpr unsigned kNumbers = 0x2;
constexpr unsigned kCompany = 0x4;
} // namespace FillChange

// The text of a property read by GetProps; empty when the item lacks it or it is no text.
std::u16string_view PropertyText(const CEPROPVAL& value);

class ContactFill {
public:
    ContactFill(CategoryList& categories, CompanyList& companies, DWORD displayMode,
                std::u16string_view unknown)
        : m_categories(categories), m_companies(companies), m_displayMode(displayMode),
          m_unknown(unknown) {}

    // Fills `record` from the kLoadSlots values of kContactLoadList; returns FillChange
    // bits. A record whose primary number is empty afterwards wants FillEmail.
    unsigned Fill(common::ContactRecord& record, const CEPROPVAL* values);
    // Takes the first present of the three kEmailLoadList values as primary number.
    void FillEmail(common::ContactRecord& record, const CEPROPVAL* emails);
    // The display name alone (a rebuild after the `DisplayName` setting changed).
    bool FillName(common::ContactRecord& record, const CEPROPVAL* values);

    // The Facebook friend named by the first IM value "Facebook...:<id>"; 0 if none.
    static int64_t FacebookId(const CEPROPVAL* imValues);

private:
    unsigned FillCompany(common::ContactRecord& record, const CEPROPVAL& value);
    void FillCategories(common::ContactRecord& record, const CEPROPVAL& value);
    unsigned FillNumbers(common::ContactRecord& record, const CEPROPVAL* values);

    CategoryList& m_categories;
    CompanyList& m_companies;
    DWORD m_displayMode;
    std::u16string_view m_unknown;
};

} // namespace corvane
