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
    size_t blockSize = size > kBlockSize ? size : kBlockSize;
    // A shared block is cleared piece by piece as Allocate hands it out; a block of its own
    // is handed out whole.
    void* block = blockSize > kBlockSize ? std::calloc(1, blockSize) : std::malloc(blockSize);
    if (!block || !AddBlock(block))
        return nullptr;
    if (blockSize == kBlockSize) {
        // A block of its own leaves the current block and its free space as they are.
        m_cursor = reinterpret_cast<uintptr_t>(block);
        m_end = m_cursor + kBlockSize;
    }
    return static_cast<char*>(block);
}

bool NodeArena::AddBlock(void* block) {
    try {
        if (m_blocks.size() == m_blocks.capacity()) {
            // Linear growth keeps the list small; geometric growth on top of it keeps a huge
            // tree from copying the list once per 20 blocks.
            m_blocks.reserve(m_blocks.size() + kBlockListStep + m_blocks.size() / 2);
        }
        m_blocks.push_back(block);
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
    if (!block || !AddBlock(block))
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
    for (void* block : m_blocks)
        std::free(block);
    m_blocks.clear();
    m_cursor = 0;
    m_end = 0;
    m_textBegin = 0;
    m_textSize = 0;
    m_holdsObjects = false;
}

} // namespace common
