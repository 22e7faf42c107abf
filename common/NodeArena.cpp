#include "common/NodeArena.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>

namespace common {

namespace {
constexpr size_t kAlignment = alignof(std::max_align_t);
constexpr size_t kMaxRequest = size_t(1) << 30;
constexpr size_t kBlockListStep = 20;
} // namespace

void* NodeArena::Allocate(size_t size) {
    if (size > kMaxRequest)
        return nullptr;
    size = (size + kAlignment - 1) & ~(kAlignment - 1);
    if (size == 0)
        size = kAlignment;
    if (size > m_left) {
        size_t blockSize = size > kBlockSize ? size : kBlockSize;
        void* block = std::calloc(1, blockSize);
        if (!block)
            return nullptr;
        if (m_blocks.size() == m_blocks.capacity())
            m_blocks.reserve(m_blocks.size() + kBlockListStep);
        m_blocks.push_back(block);
        if (blockSize > kBlockSize) {
            return block; // a block of its own; the current block keeps its free space
        }
        m_cursor = static_cast<char*>(block);
        m_left = blockSize;
    }
    void* result = m_cursor;
    m_cursor += size;
    m_left -= size;
    return result;
}

char* NodeArena::AllocString(const char* text) {
    if (!text)
        return nullptr;
    size_t length = std::strlen(text);
    auto* copy = static_cast<char*>(Allocate(length + 1));
    if (copy)
        std::memcpy(copy, text, length + 1); // blocks are zero-filled; copy the terminator anyway
    return copy;
}

void NodeArena::Clear() {
    for (void* block : m_blocks)
        std::free(block);
    m_blocks.clear();
    m_cursor = nullptr;
    m_left = 0;
}

} // namespace common
