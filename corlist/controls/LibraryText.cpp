#include "corlist/controls/LibraryText.h"

#include "ce/kernel.h"
#include "ce/resource.h"
#include "common/Language.h"

namespace corlist {

const CE_STRING_TABLE& BuiltinStrings();

std::u16string LibraryText(UINT id) {
    // Without a language loaded the program's own strings would answer: not ours.
    WCHAR buffer[512] = {};
    if (common::LanguageModule())
        common::LoadText(id, buffer, 512);
    if (buffer[0])
        return buffer;
    const CE_STRING_TABLE& table = BuiltinStrings();
    for (UINT i = 0; i < table.count; ++i)
        if (table.entries[i].id == id)
            return std::u16string(table.entries[i].text, table.entries[i].length);
    return {};
}

HINSTANCE LibraryInstance() {
    if (HMODULE library = GetModuleHandleW(u"Corlist.dll"))
        return library;
    return GetModuleHandleW(nullptr);
}

} // namespace corlist
