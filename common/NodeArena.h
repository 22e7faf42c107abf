// Memory of one XML tree: nodes, names, values and element objects are carved from blocks
// of 4096 bytes and freed together by Clear. Blocks are taken from the C library in runs
// that grow to 16 blocks, so a large tree costs few allocations. A request larger than a
// block gets a block of its own. Allocate hands out zero-filled memory aligned for any type; strings are packed
// between such allocations. Only what is handed out is cleared, not whole blocks: nothing
// reads the rest. The text a reader parses in place may live here too (AllocateText), so
// that the names and values terminated inside it need no copies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace common {

class NodeArena {
public:
    static constexpr size_t kBlockSize = 4096;

    NodeArena() = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    ~NodeArena() { Clear(); }

    // Null when memory runs out or the size is absurd. For objects with destructors, such
    // as element objects: the arena then reports that it holds objects.
    void* Allocate(size_t size) {
        m_holdsObjects = true;
        return AllocatePlain(size);
    }
    // The same for plain data that needs no destructor, such as the reader's nodes. Inline:
    // the reader allocates one node per element and attribute.
    void* AllocatePlain(size_t size) {
        size_t rounded = (size + kAlignment - 1) & ~(kAlignment - 1);
        uintptr_t start = (m_cursor + kAlignment - 1) & ~uintptr_t(kAlignment - 1);
        if (size - 1 < kBlockSize && start <= m_end && m_end - start >= rounded) {
            m_cursor = start + rounded;
            return std::memset(reinterpret_cast<void*>(start), 0, size);
        }
        return AllocateSlow(size);
    }
    // The same without clearing, for a record the caller initialises whole.
    void* AllocateUncleared(size_t size) {
        size_t rounded = (size + kAlignment - 1) & ~(kAlignment - 1);
        uintptr_t start = (m_cursor + kAlignment - 1) & ~uintptr_t(kAlignment - 1);
        // A block's end lies far below the top of the address space: no sum wraps.
        if (size - 1 < kBlockSize && start + rounded <= m_end) {
            m_cursor = start + rounded;
            return reinterpret_cast<void*>(start);
        }
        return AllocateSlow(size);
    }
    // Copies a zero-terminated 8-bit string; null for a null text.
    char* AllocString(const char* text);
    // Copies `length` bytes of `text` and a terminator. Strings need no alignment, so they
    // are packed between the aligned allocations. Inline for the short names and values
    // of a tree.
    char* AllocString(const char* text, size_t length) {
        if (length > 16 || m_end - m_cursor <= length)
            return AllocStringSlow(text, length);
        char* copy = reinterpret_cast<char*>(m_cursor);
        m_cursor += length + 1;
        CopyShort(copy, text, length);
        copy[length] = 0;
        return copy;
    }
    // A block of its own for `size` bytes of text, not cleared: the caller fills it. It
    // replaces the arena's previous text block as the one InText reports on (both stay
    // until Clear). Null when memory runs out or the size is absurd.
    char* AllocateText(size_t size);
    // Whether `p` points into the current text block.
    bool InText(const void* p) const {
        return reinterpret_cast<uintptr_t>(p) - m_textBegin < m_textSize;
    }
    void Clear();

    // Allocations the arena holds from the C library: runs of blocks and large blocks.
    size_t BlockCount() const { return m_blocks.size(); }
    // Whether [p, p + size) lies in memory the arena handed out for nodes and objects (not
    // in a text block). Walks the block list: for debug checks, not for loops.
    bool Owns(const void* p, size_t size) const;
    // Whether Allocate was called since the last Clear.
    bool HoldsObjects() const { return m_holdsObjects; }

private:
    static constexpr size_t kAlignment = alignof(std::max_align_t);

    void* AllocateSlow(size_t size);
    char* AllocStringSlow(const char* text, size_t length);
    // Copies up to 16 bytes with fixed-size moves that overlap instead of a library call;
    // it reads and writes exactly [0, length).
    static void CopyShort(char* to, const char* from, size_t length) {
        if (length >= 8) {
            std::memcpy(to, from, 8);
            std::memcpy(to + length - 8, from + length - 8, 8);
        } else if (length >= 4) {
            std::memcpy(to, from, 4);
            std::memcpy(to + length - 4, from + length - 4, 4);
        } else {
            for (size_t i = 0; i < length; ++i)
                to[i] = from[i];
        }
    }
    // A fresh zero-filled block for `size` bytes: a shared one that becomes current, or one
    // of its own for a request larger than kBlockSize. Null when memory runs out.
    char* NewBlock(size_t size);
    // Puts a freshly allocated block on the list that Clear frees; when the list cannot
    // grow, frees the block and returns false.
    bool AddBlock(void* block, size_t size);

    // Most blocks a run of shared blocks holds: 64 KB.
    static constexpr size_t kMaxRunBlocks = 16;

    struct Block {
        void* base;
        size_t size;
    };
    std::vector<Block> m_blocks; // what Clear frees: runs of shared blocks, large blocks, texts
    uintptr_t m_runNext = 0; // the current run's blocks not handed out: [m_runNext, m_runEnd)
    uintptr_t m_runEnd = 0;
    size_t m_runBlocks = 1; // blocks in the next run
    uintptr_t m_cursor = 0; // free space of the current block: [m_cursor, m_end)
    uintptr_t m_end = 0;
    uintptr_t m_textBegin = 0; // the text block: [m_textBegin, m_textBegin + m_textSize)
    size_t m_textSize = 0;
    bool m_holdsObjects = false;
};

} // namespace common
