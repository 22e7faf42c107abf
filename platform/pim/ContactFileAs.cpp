#include "pim/ContactFileAs.h"

#include "ce/pimstore.h"

namespace platform {

std::u16string ContactFileAs::Derive(const ContactRecord& record) {
    const std::u16string* last = record.Text(PIMPR_LAST_NAME);
    const std::u16string* first = record.Text(PIMPR_FIRST_NAME);
    const std::u16string* middle = record.Text(PIMPR_MIDDLE_NAME);
    std::u16string fileAs = last ? *last : u"";
    std::u16string given = first ? *first : u"";
    if (middle)
        given += (given.empty() ? u"" : u" ") + *middle;
    if (!given.empty())
        fileAs += (fileAs.empty() ? u"" : u", ") + given;
    for (CEPROPID tag : {PIMPR_COMPANY_NAME, PIMPR_EMAIL1_ADDRESS})
        if (const std::u16string* text = record.Text(tag); fileAs.empty() && text)
            fileAs = *text;
    if (fileAs.size() > kMaxContactText)
        fileAs.resize(kMaxContactText);
    return fileAs;
}

void ContactFileAs::Update(ContactRecord& record, const ContactRecord* stored) {
    const std::u16string* current = record.Text(PIMPR_FILEAS);
    bool follows = !current;
    if (stored && current) {
        const std::u16string* before = stored->Text(PIMPR_FILEAS);
        follows = before && *before == *current && *current == Derive(*stored);
    }
    if (!follows)
        return;
    std::u16string derived = Derive(record);
    if (derived.empty())
        record.values.erase(PIMPR_FILEAS);
    else
        record.values[PIMPR_FILEAS] = std::move(derived);
}

} // namespace platform
