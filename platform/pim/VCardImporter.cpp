#include "pim/VCardImporter.h"

#include "kernel/Trace.h"
#include "pim/ContactStore.h"
#include "pim/DeviceFileReader.h"
#include "pim/VCardMapper.h"
#include "pim/VCardParser.h"

namespace platform {

VCardImportResult VCardImporter::ImportText(std::string_view text, DWORD origin) {
    VCardImportResult result;
    for (const VCard& card : VCardParser::Parse(text)) {
        ContactRecord record;
        std::string reason;
        if (!VCardMapper::ToRecord(card, record, reason) ||
            !ContactStore::Instance().Save(record, origin, reason)) {
            Trace("pim", "vCard %zu skipped: %s", card.number, reason.c_str());
            result.skipped.push_back({card.number, reason});
            continue;
        }
        ++result.imported;
        result.oids.push_back(record.oid);
    }
    return result;
}

bool VCardImporter::ImportFile(std::u16string_view devicePath, DWORD origin,
                               VCardImportResult& result, DWORD& error) {
    std::string text;
    if (!ReadDeviceFile(devicePath, kMaxFileBytes, text, error))
        return false;
    result = ImportText(text, origin);
    return true;
}

} // namespace platform
