#include "corlist/image/ComStreamAdapter.h"

#include <new>

namespace corlist {

ComStreamAdapter* ComStreamAdapter::Create(common::Stream* stream) {
    return stream ? new (std::nothrow) ComStreamAdapter(stream) : nullptr;
}

HRESULT ComStreamAdapter::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_ISequentialStream || iid == IID_IStream) {
        *object = static_cast<IStream*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ComStreamAdapter::Release() {
    ULONG remaining = --m_refs;
    if (remaining == 0)
        delete this;
    return remaining;
}

HRESULT ComStreamAdapter::Read(void* buffer, ULONG count, ULONG* read) {
    if (!buffer || count > 0x7FFFFFFF)
        return E_INVALIDARG;
    LONG got = m_stream->Read(buffer, LONG(count));
    if (read)
        *read = got > 0 ? ULONG(got) : 0;
    return got == LONG(count) ? S_OK : S_FALSE;
}

HRESULT ComStreamAdapter::Write(const void* data, ULONG count, ULONG* written) {
    if (!data || count > 0x7FFFFFFF)
        return E_INVALIDARG;
    LONG put = m_stream->Write(data, LONG(count));
    if (written)
        *written = put > 0 ? ULONG(put) : 0;
    return put == LONG(count) ? S_OK : STG_E_MEDIUMFULL;
}

HRESULT ComStreamAdapter::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
    if (origin > STREAM_SEEK_END || move.QuadPart <= INT32_MIN || move.QuadPart > INT32_MAX)
        return E_INVALIDARG;
    // Our streams count an end offset backwards from the end.
    LONG offset = origin == STREAM_SEEK_END ? LONG(-move.QuadPart) : LONG(move.QuadPart);
    LONG position = m_stream->Seek(offset, int(origin));
    if (position < 0)
        return STG_E_INVALIDFUNCTION;
    if (newPosition)
        newPosition->QuadPart = ULONGLONG(position);
    return S_OK;
}

} // namespace corlist
