// Memory of one XML tree: nodes, names, values and element objects are carved from blocks
// of 4096 bytes and freed together by Clear. A request larger than a block gets a block of
// its own. Allocations are zero-filled and aligned for any type.
#pragma once

#include <cstddef>
#include <vector>

namespace common {

class NodeArena {
public:
    static constexpr size_t kBlockSize = 4096;

    NodeArena() = default;
    NodeArena(const NodeArena&) = delete;
    NodeArena& operator=(const NodeArena&) = delete;
    ~NodeArena() { Clear(); }

    // Null when memory runs out or the size is absurd.
    void* Allocate(size_t size);
    // Copies a zero-terminated 8-bit string; null for a null text.
    char* AllocString(const char* text);
    void Clear();

    size_t BlockCount() const { return m_blocks.size(); }

private:
    std::vector<void*> m_blocks;
    char* m_cursor = nullptr; // free space of the current block
    size_t m_left = 0;
};

} // namespace common
