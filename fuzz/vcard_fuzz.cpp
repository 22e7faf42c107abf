// Feeds arbitrary bytes to the vCard reader and maps every card it returns. Whatever a
// card becomes must be a record the store takes: texts within their limit, a picture
// within its size, and a name, number or e-mail present.
#include "ce/pimstore.h"
#include "pim/VCardMapper.h"
#include "pim/VCardParser.h"

#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace platform;
    std::string_view text(reinterpret_cast<const char*>(data), size);
    size_t number = 0;
    for (const VCard& card : VCardParser::Parse(text)) {
        if (card.number != ++number)
            std::abort();
        ContactRecord record;
        std::string reason;
        bool mapped = VCardMapper::ToRecord(card, record, reason);
        if (!mapped && reason.empty())
            std::abort(); // a skipped card always says why
        if (!mapped)
            continue;
        for (const auto& [tag, value] : record.values) {
            if (auto* t = std::get_if<std::u16string>(&value); t && (t->empty() || t->size() > kMaxContactText))
                std::abort();
            if (auto* b = std::get_if<std::vector<uint8_t>>(&value); b && b->size() > kMaxContactPicture)
                std::abort();
        }
        if (!record.values.count(PIMPR_FILEAS) && !record.values.count(PIMPR_MOBILE_TELEPHONE_NUMBER) &&
            !record.values.count(PIMPR_HOME_TELEPHONE_NUMBER) &&
            !record.values.count(PIMPR_BUSINESS_TELEPHONE_NUMBER) &&
            !record.values.count(PIMPR_EMAIL1_ADDRESS))
            std::abort();
    }
    return 0;
}
