// The blocks a caller hands to a read with CEDB_ALLOWREALLOC, which the read may grow.
#pragma once

#include "ce/kernel.h"

#include <cstddef>

namespace platform {

class GrowableBuffer {
public:
    // Gives `block` (null for none yet) at least `needed` bytes: HeapReAlloc or HeapAlloc in
    // `heap`, or without a heap a new LocalAlloc block (the old one is freed; its contents
    // are not needed). False, with `block` unchanged, when out of memory.
    static bool Grow(void*& block, size_t needed, HANDLE heap);
};

} // namespace platform
