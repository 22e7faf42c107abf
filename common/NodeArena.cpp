#include "common/NodeArena.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace common {

namespace {
constexpr size_t kMaxRequest = size_t(1) << 30;
constexpr size_t kBlockListStep = 20;
} // namespace

char* NodeArena::NewBlock(size_t size) {
    if (size > kBlockSize) {
        // A block of its own is handed out whole and leaves the current block and its free
        // space as they are.
        void* block = std::calloc(1, size);
        if (!block || !AddBlock(block, size))
            return nullptr;
        return static_cast<char*>(block);
    }
    // Shared blocks are cleared piece by piece as Allocate hands them out. They come from
    // runs of blocks allocated together, each run twice the last up to kMaxRunBlocks, so
    // that a large tree costs few trips to the allocator and a small one stays small.
    if (m_runNext == m_runEnd) {
        size_t blocks = m_runBlocks;
        void* run = std::malloc(blocks * kBlockSize);
        if (!run || !AddBlock(run, blocks * kBlockSize))
            return nullptr;
        m_runNext = reinterpret_cast<uintptr_t>(run);
        m_runEnd = m_runNext + blocks * kBlockSize;
        m_runBlocks = blocks < kMaxRunBlocks ? blocks * 2 : blocks;
    }
    m_cursor = m_runNext;
    m_end = m_cursor + kBlockSize;
    m_runNext = m_end;
    return reinterpret_cast<char*>(m_cursor);
}

bool NodeArena::AddBlock(void* block, size_t size) {
    try {
        if (m_blocks.size() == m_blocks.capacity()) {
            // Linear growth keeps the list small; geometric growth on top of it keeps a huge
            // tree from copying the list once per 20 blocks.
            m_blocks.reserve(m_blocks.size() + kBlockListStep + m_blocks.size() / 2);
        }
        m_blocks.push_back(Block{block, size});
    } catch (const std::bad_alloc&) {
        std::free(block);
        return false;
    }
    return true;
}

char* NodeArena::AllocateText(size_t size) {
    if (size == 0 || size > kMaxRequest)
        return nullptr;
    // Not cleared: the reader overwrites every byte with the text and its terminators.
    void* block = std::malloc(size);
    if (!block || !AddBlock(block, size))
        return nullptr;
    m_textBegin = reinterpret_cast<uintptr_t>(block);
    m_textSize = size;
    return static_cast<char*>(block);
}

void* NodeArena::AllocateSlow(size_t size) {
    if (size > kMaxRequest)
        return nullptr;
    if (size == 0)
        size = kAlignment;
    size = (size + kAlignment - 1) & ~(kAlignment - 1);
    char* block = NewBlock(size);
    if (block && size <= kBlockSize) {
        m_cursor += size;
        std::memset(block, 0, size);
    }
    return block;
}

bool NodeArena::Owns(const void* p, size_t size) const {
    auto address = reinterpret_cast<uintptr_t>(p);
    if (InText(p))
        return false;
    for (const Block& block : m_blocks) {
        auto base = reinterpret_cast<uintptr_t>(block.base);
        if (address >= base && address - base <= block.size && size <= block.size - (address - base))
            return true;
    }
    return false;
}

char* NodeArena::AllocString(const char* text) {
    if (!text)
        return nullptr;
    return AllocString(text, std::strlen(text));
}

char* NodeArena::AllocStringSlow(const char* text, size_t length) {
    if (length >= kMaxRequest)
        return nullptr;
    char* copy;
    if (m_end - m_cursor > length) {
        copy = reinterpret_cast<char*>(m_cursor);
        m_cursor += length + 1;
    } else {
        copy = NewBlock(length + 1);
        if (!copy)
            return nullptr;
        if (length + 1 <= kBlockSize)
            m_cursor += length + 1;
    }
    std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

void NodeArena::Clear() {
    for (const Block& block : m_blocks)
        std::free(block.base);
    m_blocks.clear();
    m_cursor = 0;
    m_end = 0;
    m_runNext = 0;
    m_runEnd = 0;
    m_runBlocks = 1;
    m_textBegin = 0;
    m_textSize = 0;
    m_holdsObjects = false;
}

} // namespace common
