// The language of a deliverable: its numbered strings come from a language file
// ("Corvane.0407.mui" beside "Corvane.exe") when one is chosen and present, otherwise
// from the deliverable's own built-in English strings. One choice per process.
#pragma once

#include "ce/resource.h"
#include "ce/types.h"

#include <string>

namespace common {

// Special values for the file name argument of LoadLanguage.
extern const WCHAR* const kLanguageForbidLoading;
extern const WCHAR* const kLanguageForceLoading;

// Chooses the language from "LangID" under HKLM "Software\Tavik\<productKey>" and loads its
// language file. `fileName` null uses the own module's file name; a name replaces the
// module's file name in its folder; a path starting with '\' is used as given.
void LoadLanguage(HMODULE ownModule, const WCHAR* productKey, const WCHAR* fileName);
// Unloads the language file, if one was loaded.
void FreeLanguage();
// Copies string `id` into `buffer` (size in characters, always terminated) and returns
// `buffer`; an empty string when there is no such string. `module` null means the
// chosen language. A translated string whose printf conversions differ from the
// built-in one is not used: the built-in string is.
WCHAR* LoadText(UINT id, WCHAR* buffer, int size, HMODULE module = nullptr);

// String `id` of the chosen language when one is loaded, else of `builtin` (the module's
// own English table); empty when neither has it.
std::u16string LanguageText(UINT id, const CE_STRING_TABLE& builtin);

WORD LanguageId();
HMODULE LanguageModule();

// True when both strings have the same printf conversions in the same order.
bool SameConversions(const WCHAR* a, const WCHAR* b);

} // namespace common
