// String resources of program modules and language files.
//
// A program module carries its built-in strings as an exported table named
// "ce_string_table" (generated from the text tables in lang/ at build time). A language
// file is a resource-only module: a ".mui" file loaded with LOAD_LIBRARY_AS_DATAFILE.
#pragma once

#include "ce/types.h"

struct CE_STRING_RESOURCE {
    UINT id;
    UINT length; // characters, without a terminator
    const WCHAR* text;
};

// Entries sorted by id.
struct CE_STRING_TABLE {
    UINT count;
    const CE_STRING_RESOURCE* entries;
};

#define CE_STRING_TABLE_SYMBOL "ce_string_table"

#define DONT_RESOLVE_DLL_REFERENCES 0x00000001u
#define LOAD_LIBRARY_AS_DATAFILE 0x00000002u

CE_API HMODULE LoadLibraryExW(LPCWSTR fileName, HANDLE file, DWORD flags);
// Copies string `id` of `module` into `buffer` (at most bufferMax - 1 characters and a
// terminator) and returns the number of characters copied; 0 when there is no such string.
CE_API int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int bufferMax);
