// A contact's store item held for one operation. The item is fetched through the core
// object's directory with the core lock held, its IItem interface is taken, and the
// record's own hold is released at once, so no item stays with the record across threads;
// the IItem reference goes when the holder does.
#pragma once

#include "ce/cedbtypes.h"
#include "ce/pimstore.h"

#include <string>

namespace common {
class CoreObject;
struct ContactRecord;
} // namespace common

namespace corlist {

class ContactItem {
public:
    // Null item for a SIM entry or a contact the store no longer has.
    ContactItem(common::CoreObject& core, common::ContactRecord& record);
    ~ContactItem();
    ContactItem(const ContactItem&) = delete;
    ContactItem& operator=(const ContactItem&) = delete;

    IItem* Item() const { return m_item; }
    explicit operator bool() const { return m_item != nullptr; }

    // Reads `count` text properties in one request; a missing one gives an empty text.
    bool ReadTexts(const CEPROPID* tags, WORD count, std::u16string* texts) const;
    // Writes one text property, or deletes it when `text` is null; not saved yet.
    HRESULT WriteText(CEPROPID tag, const std::u16string* text);
    HRESULT WriteNumber(CEPROPID tag, ULONG value);
    HRESULT Save();

private:
    IItem* m_item = nullptr;
};

} // namespace corlist
