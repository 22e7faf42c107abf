#include "pim/PropertyStream.h"

#include "pim/ContactRecord.h"
#include "pim/PoomContact.h"

#include <algorithm>
#include <cstring>
#include <new>

#define STG_E_ACCESSDENIED ((HRESULT)0x80030005L)

namespace platform {

IStream* PropertyStream::Create(PoomContact* owner, std::vector<uint8_t> bytes, bool writable) {
    return new (std::nothrow) PropertyStream(owner, std::move(bytes), writable);
}

PropertyStream::PropertyStream(PoomContact* owner, std::vector<uint8_t> bytes, bool writable)
    : m_owner(owner), m_bytes(std::move(bytes)), m_writable(writable) {
    if (m_owner)
        static_cast<IItem*>(m_owner)->AddRef();
}

PropertyStream::~PropertyStream() {
    if (!m_owner)
        return;
    if (m_dirty)
        m_owner->StorePicture(std::move(m_bytes));
    static_cast<IItem*>(m_owner)->Release();
}

HRESULT PropertyStream::QueryInterface(REFIID iid, void** object) {
    if (!object)
        return E_POINTER;
    if (iid != IID_IUnknown && iid != IID_ISequentialStream && iid != IID_IStream) {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    *object = static_cast<IStream*>(this);
    AddRef();
    return S_OK;
}

ULONG PropertyStream::Release() {
    ULONG remaining;
    if (m_refs.Drop(remaining))
        delete this;
    return remaining;
}

HRESULT PropertyStream::Read(void* buffer, ULONG count, ULONG* read) {
    if (!buffer && count)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    uint64_t available = m_position < m_bytes.size() ? m_bytes.size() - m_position : 0;
    auto n = ULONG(std::min<uint64_t>(count, available));
    if (n)
        memcpy(buffer, m_bytes.data() + m_position, n);
    m_position += n;
    if (read)
        *read = n;
    return n == count ? S_OK : S_FALSE;
}

HRESULT PropertyStream::Write(const void* data, ULONG count, ULONG* written) {
    if (written)
        *written = 0;
    if (!data && count)
        return E_POINTER;
    std::lock_guard lock(m_mutex);
    if (!m_writable)
        return STG_E_ACCESSDENIED;
    uint64_t end = m_position + count;
    if (end > kMaxContactPicture)
        return STG_E_MEDIUMFULL;
    if (end > m_bytes.size())
        m_bytes.resize(size_t(end));
    if (count)
        memcpy(m_bytes.data() + m_position, data, count);
    m_position = end;
    m_dirty = true;
    if (written)
        *written = count;
    return S_OK;
}

HRESULT PropertyStream::Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) {
    std::lock_guard lock(m_mutex);
    int64_t base;
    switch (origin) {
    case STREAM_SEEK_SET:
        base = 0;
        break;
    case STREAM_SEEK_CUR:
        base = int64_t(m_position);
        break;
    case STREAM_SEEK_END:
        base = int64_t(m_bytes.size());
        break;
    default:
        return STG_E_INVALIDFUNCTION;
    }
    int64_t offset = move.QuadPart;
    // Positions stay inside [0, kMaxContactPicture]: no overflow in the sum below.
    if (offset < -base || offset > int64_t(kMaxContactPicture) - base)
        return STG_E_INVALIDFUNCTION;
    m_position = uint64_t(base + offset);
    if (newPosition)
        newPosition->QuadPart = m_position;
    return S_OK;
}

HRESULT PropertyStream::SetSize(ULARGE_INTEGER size) {
    std::lock_guard lock(m_mutex);
    if (!m_writable)
        return STG_E_ACCESSDENIED;
    if (size.QuadPart > kMaxContactPicture)
        return STG_E_MEDIUMFULL;
    m_bytes.resize(size_t(size.QuadPart));
    m_dirty = true;
    return S_OK;
}

HRESULT PropertyStream::Commit(DWORD) {
    std::lock_guard lock(m_mutex);
    if (!m_writable)
        return S_OK; // nothing to hand back
    if (m_owner)
        m_owner->StorePicture(m_bytes);
    m_dirty = false;
    return S_OK;
}

std::vector<uint8_t> PropertyStream::Bytes() {
    std::lock_guard lock(m_mutex);
    return m_bytes;
}

} // namespace platform
