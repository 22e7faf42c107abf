#include "corvane/ProgramText.h"

#include "ce/resource.h"
#include "common/Language.h"

namespace corvane {

const CE_STRING_TABLE& BuiltinStrings();

std::u16string ProgramText(UINT id) {
    WCHAR buffer[256] = {};
    common::LoadText(id, buffer, 256);
    if (buffer[0])
        return buffer;
    const CE_STRING_TABLE& table = BuiltinStrings();
    for (UINT i = 0; i < table.count; ++i)
        if (table.entries[i].id == id)
            return std::u16string(table.entries[i].text, table.entries[i].length);
    return {};
}

} // namespace corvane
