// Exports of program and library modules. A module is an ELF shared object with its
// device file name (".exe" or ".dll"); it exports functions by name with CE_API and
// by ordinal with CE_EXPORT_ORDINAL.
#pragma once

#include "ce/types.h"

// Exports `function` under ordinal `number` (1 to 65535), so that
// GetProcAddress(module, (LPCWSTR)number) finds it. The loader looks up the symbol
// "ce_ordinal_<number>", a pointer to the function, in the module itself.
#define CE_EXPORT_ORDINAL(number, function)                                                        \
    extern "C" __attribute__((visibility("default"), used)) const void* const                     \
        ce_ordinal_##number = reinterpret_cast<const void*>(&function)
