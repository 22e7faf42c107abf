#include "corvane/ProgramText.h"

#include "ce/resource.h"
#include "common/Language.h"

namespace corvane {

const CE_STRING_TABLE& BuiltinStrings();

std::u16string ProgramText(UINT id) {
    return common::LanguageText(id, BuiltinStrings());
}

} // namespace corvane
