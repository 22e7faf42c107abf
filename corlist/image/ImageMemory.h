// The image loader's allocator: blocks above 0x1FFFFF bytes are reserved and committed
// with VirtualAlloc (the device heap fragments) and counted in a process-wide total,
// smaller ones come from the heap. Every block carries its size in front, so Free knows
// which way it was taken. A failed attempt asks the host's low-memory callback first.
#pragma once

#include "corlist/image/ImageTypes.h"

#include <cstdint>

namespace corlist {

class ImageMemory {
public:
    static constexpr size_t kVirtualThreshold = 0x1FFFFF;
    static constexpr size_t kMaxBlock = 256u << 20;
    static constexpr int kHeapAttempts = 3;

    // The host's callback (null: none); kept until it is set again.
    static void SetLowMemoryCallback(LowMemoryCallback callback, void* userData);
    // Asks the callback; false when there is none or it gives up.
    static bool AskForMemory(int attempt, size_t bytes);

    // Null when the memory cannot be had (also above kMaxBlock).
    static void* Allocate(size_t bytes);
    // Always through VirtualAlloc, whatever the size (the last resort for bitmaps).
    static void* AllocateVirtual(size_t bytes);
    static void Free(void* block);
    // Bytes currently taken through VirtualAlloc by this process.
    static uint64_t VirtualBytes();
};

} // namespace corlist
