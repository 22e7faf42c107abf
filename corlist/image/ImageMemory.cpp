#include "corlist/image/ImageMemory.h"

#include "ce/memory.h"

#include <atomic>
#include <cstdlib>
#include <cstddef>
#include <mutex>

namespace corlist {

namespace {

// In front of every block: its size and how it was taken, padded to the strictest alignment.
struct alignas(std::max_align_t) BlockHeader {
    size_t size;   // bytes of the whole block, header included
    bool isVirtual;
};

std::mutex g_callbackMutex;
LowMemoryCallback g_callback = nullptr;
void* g_userData = nullptr;
std::atomic<uint64_t> g_virtualBytes{0};

void* TakeVirtual(size_t total) {
    void* base = VirtualAlloc(nullptr, total, MEM_RESERVE, PAGE_READWRITE);
    if (!base)
        return nullptr;
    if (!VirtualAlloc(base, total, MEM_COMMIT, PAGE_READWRITE)) {
        VirtualFree(base, 0, MEM_RELEASE);
        return nullptr;
    }
    g_virtualBytes += total;
    return base;
}

void* Finish(void* base, size_t total, bool isVirtual) {
    auto* header = static_cast<BlockHeader*>(base);
    header->size = total;
    header->isVirtual = isVirtual;
    return header + 1;
}

} // namespace

void ImageMemory::SetLowMemoryCallback(LowMemoryCallback callback, void* userData) {
    std::lock_guard lock(g_callbackMutex);
    g_callback = callback;
    g_userData = userData;
}

bool ImageMemory::AskForMemory(int attempt, size_t bytes) {
    LowMemoryCallback callback;
    void* userData;
    {
        std::lock_guard lock(g_callbackMutex);
        callback = g_callback;
        userData = g_userData;
    }
    // The host's callback runs without the lock: it may free images.
    return callback && callback(attempt, bytes, userData) != 0;
}

void* ImageMemory::Allocate(size_t bytes) {
    if (bytes > kMaxBlock)
        return nullptr;
    size_t total = bytes + sizeof(BlockHeader);
    if (bytes > kVirtualThreshold)
        return AllocateVirtual(bytes);
    for (int attempt = 1; attempt <= kHeapAttempts; ++attempt) {
        if (void* base = std::malloc(total))
            return Finish(base, total, false);
        if (attempt == kHeapAttempts || !AskForMemory(attempt, bytes))
            break;
    }
    return nullptr;
}

void* ImageMemory::AllocateVirtual(size_t bytes) {
    if (bytes > kMaxBlock)
        return nullptr;
    size_t total = bytes + sizeof(BlockHeader);
    void* base = TakeVirtual(total);
    return base ? Finish(base, total, true) : nullptr;
}

void ImageMemory::Free(void* block) {
    if (!block)
        return;
    auto* header = static_cast<BlockHeader*>(block) - 1;
    if (header->isVirtual) {
        g_virtualBytes -= header->size;
        VirtualFree(header, 0, MEM_RELEASE);
    } else {
        std::free(header);
    }
}

uint64_t ImageMemory::VirtualBytes() { return g_virtualBytes.load(); }

} // namespace corlist
