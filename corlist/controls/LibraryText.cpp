#include "corlist/controls/LibraryText.h"

#include "ce/kernel.h"
#include "ce/resource.h"
#include "common/Language.h"

namespace corlist {

const CE_STRING_TABLE& BuiltinStrings();

std::u16string LibraryText(UINT id) {
    return common::LanguageText(id, BuiltinStrings());
}

HINSTANCE LibraryInstance() {
    if (HMODULE library = GetModuleHandleW(u"Corlist.dll"))
        return library;
    return GetModuleHandleW(nullptr);
}

} // namespace corlist
