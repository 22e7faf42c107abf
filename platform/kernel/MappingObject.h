// A memory section (a memory-backed file mapping): zeroed pages that views and DIB
// sections share. Whoever holds the object keeps the memory.
#pragma once

#include "ce/types.h"
#include "kernel/KernelObject.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace platform {

class MappingObject : public KernelObject {
public:
    static constexpr uint64_t kMaxBytes = 256ull << 20;

    // Null when the memory cannot be had.
    static std::shared_ptr<MappingObject> Create(size_t bytes);
    ~MappingObject() override;
    ObjectType Type() const override { return ObjectType::Mapping; }

    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }
    // True when [offset, offset + bytes) lies inside the section (64-bit arithmetic).
    bool Contains(uint64_t offset, uint64_t bytes) const { return offset <= m_size && bytes <= m_size - offset; }

    // The section named by a handle, or null.
    static std::shared_ptr<MappingObject> FromHandle(HANDLE handle);

    MappingObject(uint8_t* data, size_t size) : m_data(data), m_size(size) {}

private:
    uint8_t* m_data;
    size_t m_size;
};

} // namespace platform
