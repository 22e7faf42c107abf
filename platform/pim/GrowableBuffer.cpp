#include "pim/GrowableBuffer.h"

namespace platform {

bool GrowableBuffer::Grow(void*& block, size_t needed, HANDLE heap) {
    void* grown = nullptr;
    if (heap) {
        grown = block ? HeapReAlloc(heap, 0, block, needed) : HeapAlloc(heap, 0, needed);
    } else {
        grown = LocalAlloc(LMEM_FIXED, needed);
        if (grown && block)
            LocalFree(block);
    }
    if (!grown)
        return false;
    block = grown;
    return true;
}

} // namespace platform
