// A stream over a contact's picture (OpenProperty of PIMPR_PICTURE). It works on a copy;
// writes reach the item at Commit, or when the last reference goes after an unsaved
// write, and the item's Save stores them.
#pragma once

#include "ce/objidl.h"
#include "imaging/ComObject.h"

#include <cstdint>
#include <mutex>
#include <vector>

namespace platform {

class PoomContact;

class PropertyStream final : public IStream {
public:
    // Null when out of memory. The stream holds a reference on `owner`; without an owner it
    // is a plain memory stream (the factory pictures are encoded into one).
    static IStream* Create(PoomContact* owner, std::vector<uint8_t> bytes, bool writable);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return m_refs.Add(); }
    ULONG Release() override;

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT Write(const void* data, ULONG count, ULONG* written) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    HRESULT SetSize(ULARGE_INTEGER size) override;
    HRESULT Commit(DWORD flags) override;

    // The stream's bytes (a memory stream's result).
    std::vector<uint8_t> Bytes();

private:
    PropertyStream(PoomContact* owner, std::vector<uint8_t> bytes, bool writable);
    ~PropertyStream();

    ComRefCount m_refs;
    PoomContact* m_owner; // referenced; may be null
    std::mutex m_mutex;
    std::vector<uint8_t> m_bytes;
    uint64_t m_position = 0;
    bool m_writable;
    bool m_dirty = false;
};

} // namespace platform
