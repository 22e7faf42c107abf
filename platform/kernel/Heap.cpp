// The process heap: malloc blocks with a size header aligned to max_align_t, so that
// HeapSize and zeroing growth in HeapReAlloc know the block's size.
#include "ce/kernel.h"
#include "ce/winerror.h"

#include <cstdlib>
#include <cstring>

namespace {

constexpr SIZE_T kHeader = alignof(std::max_align_t);
constexpr SIZE_T kMaxBlock = SIZE_T(1) << 40;
// The heap's handle: any non-null value the platform recognises.
int g_processHeap;

bool IsHeap(HANDLE heap) { return heap == &g_processHeap; }

unsigned char* Base(LPCVOID memory) {
    return static_cast<unsigned char*>(const_cast<void*>(memory)) - kHeader;
}

SIZE_T& SizeOf(unsigned char* base) { return *reinterpret_cast<SIZE_T*>(base); }

} // namespace

CE_API HANDLE GetProcessHeap() { return &g_processHeap; }

CE_API LPVOID HeapAlloc(HANDLE heap, DWORD flags, SIZE_T bytes) {
    if (!IsHeap(heap) || bytes > kMaxBlock) {
        SetLastError(IsHeap(heap) ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto* base = static_cast<unsigned char*>((flags & HEAP_ZERO_MEMORY) ? calloc(1, kHeader + bytes)
                                                                         : malloc(kHeader + bytes));
    if (!base) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    SizeOf(base) = bytes;
    return base + kHeader;
}

CE_API LPVOID HeapReAlloc(HANDLE heap, DWORD flags, LPVOID memory, SIZE_T bytes) {
    if (!memory)
        return HeapAlloc(heap, flags, bytes);
    if (!IsHeap(heap) || bytes > kMaxBlock) {
        SetLastError(IsHeap(heap) ? ERROR_NOT_ENOUGH_MEMORY : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    unsigned char* base = Base(memory);
    SIZE_T old = SizeOf(base);
    auto* grown = static_cast<unsigned char*>(realloc(base, kHeader + bytes));
    if (!grown) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    if ((flags & HEAP_ZERO_MEMORY) && bytes > old)
        memset(grown + kHeader + old, 0, bytes - old);
    SizeOf(grown) = bytes;
    return grown + kHeader;
}

CE_API BOOL HeapFree(HANDLE heap, DWORD, LPVOID memory) {
    if (!IsHeap(heap)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (memory)
        free(Base(memory));
    return TRUE;
}

CE_API SIZE_T HeapSize(HANDLE heap, DWORD, LPCVOID memory) {
    if (!IsHeap(heap) || !memory) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return (SIZE_T)-1;
    }
    return SizeOf(Base(memory));
}
