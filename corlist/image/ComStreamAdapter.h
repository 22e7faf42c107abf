// An IStream over one of our streams, so the platform's encoders can write into it. The
// adapter does not own the stream.
#pragma once

#include "ce/objidl.h"
#include "common/Stream.h"

#include <atomic>

namespace corlist {

class ComStreamAdapter final : public IStream {
public:
    // Starts with one reference, which the creator releases.
    static ComStreamAdapter* Create(common::Stream* stream);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override;

    HRESULT Read(void* buffer, ULONG count, ULONG* read) override;
    HRESULT Write(const void* data, ULONG count, ULONG* written) override;
    HRESULT Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override;
    // Our streams cannot be cut or grown to a size.
    HRESULT SetSize(ULARGE_INTEGER size) override { return STG_E_INVALIDFUNCTION; }
    // Writes go straight to the stream: nothing is held back.
    HRESULT Commit(DWORD flags) override { return S_OK; }

private:
    explicit ComStreamAdapter(common::Stream* stream) : m_stream(stream) {}
    ~ComStreamAdapter() = default;

    std::atomic<ULONG> m_refs{1};
    common::Stream* m_stream;
};

} // namespace corlist
