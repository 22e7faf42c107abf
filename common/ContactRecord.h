// One cached contact as the main program's contact cache keeps it and the UI library
// reads it: a device contact of the contact store or an entry of the SIM phonebook.
// Records belong to the cache. A removed record stays in memory until the cache is
// rebuilt or destroyed, so a page that still holds one reads stale but valid data; pages
// drop their pointers on CRVM_CONTACTCHANGED with kind 4 for the record and on
// CRVM_CONTACTSRELOAD. Texts and lists are changed only by the cache, on the main
// program's thread, with the core object's lock held.
#pragma once

#include "ce/cedbtypes.h"
#include "ce/types.h"

#include <cstdint>
#include <string>
#include <vector>

struct IContact;

namespace common {

// An entry of the category list (see ContactCache): a name and its 0xRRGGBB colour.
struct CategoryEntry {
    std::u16string name;
    DWORD colour = 0xFFFFFF;
};

// What a record's primary number is (ContactRecord::primaryKind).
namespace PrimaryKind {
constexpr WCHAR kMobile = u'm';
constexpr WCHAR kWork = u'w';
constexpr WCHAR kHome = u'h';
constexpr WCHAR kCar = u'c';
constexpr WCHAR kRadio = u'r';
constexpr WCHAR kAssistant = u'a';
constexpr WCHAR kEmail = u'e';
constexpr WCHAR kSim = u's';
constexpr WCHAR kOther = u' ';
} // namespace PrimaryKind

struct ContactRecord {
    ContactRecord() = default;
    ContactRecord(const ContactRecord&) = delete;
    ContactRecord& operator=(const ContactRecord&) = delete;

    // The record's own address: list rows keep and compare it, so a row still names its
    // record after the list was sorted again.
    ContactRecord* self = this;
    // Chains records for group operations (delete selected, send to all); not owned.
    ContactRecord* next = nullptr;
    // Built by the `DisplayName` setting; may be empty.
    std::u16string displayName;
    // The default phone number, else the first present one, else the first e-mail
    // address; empty when the contact has none.
    std::u16string primaryNumber;
    // The contact's categories in the order of its category text; the entries belong to
    // the cache's category list.
    std::vector<const CategoryEntry*> categories;
    // The decoded picture once the UI loaded it (the UI owns it); null = not loaded yet,
    // kNoPicture = the contact has none. A change of the contact resets kNoPicture.
    void* picture = nullptr;
    // High 16 bits: where the first part of the display name ends; low 16 bits: where
    // the family-name part begins (0 when the name starts with it).
    DWORD nameSplit = 0;
    // The company's name in the cache's company list, or null.
    const std::u16string* company = nullptr;
    // PrimaryKind of the primary number.
    WCHAR primaryKind = PrimaryKind::kOther;
    // The phone-key block (see common/PhoneKey.h); empty when the contact has no number.
    std::vector<BYTE> phoneKeys;
    // The linked Facebook friend; 0 if none. Ids have up to 15 digits, hence 64 bits.
    int64_t facebookId = 0;
    // Start of the newest call-log entry linked to the contact: seconds in the low 30 bits
    // (kLastCallSecondsMask), that call's kind in the top 2 bits; 0 if none.
    DWORD lastCall = 0;
    // While a keypad search is on: the number that matched it and its kind character.
    std::u16string searchMatch;
    WCHAR searchKind = 0;
    // The contact store's item while it is held (between a fetch and its release, with
    // the core object's lock), kSimItem for a SIM entry, else null.
    IContact* item = nullptr;
    // The store's object identifier, or the SIM phonebook location of a SIM entry.
    CEOID oid = 0;

    bool IsSimEntry() const { return item == SimItemMark(); }
    static IContact* SimItemMark() { return reinterpret_cast<IContact*>(~uintptr_t(0)); }
    static void* NoPictureMark() { return reinterpret_cast<void*>(~uintptr_t(0)); }
    WORD FirstPartEnd() const { return WORD(nameSplit >> 16); }
    WORD FamilyNameStart() const { return WORD(nameSplit & 0xFFFF); }
};

constexpr DWORD kLastCallSecondsMask = 0x3FFFFFFF;
constexpr int kLastCallKindShift = 30;

// The phone properties a contact's numbers come from, in the order of their type index.
struct PhoneType {
    CEPROPID tag;
    WCHAR kind;   // PrimaryKind of a primary number of this type
    UINT labelId; // the UI library's label string
};
extern const PhoneType kPhoneTypes[10];
// The type index of a phone property tag, or -1.
int PhoneTypeIndex(CEPROPID tag);

} // namespace common
