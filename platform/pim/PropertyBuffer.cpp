#include "pim/PropertyBuffer.h"

#include "ce/kernel.h"
#include "ce/pimstore.h"
#include "ce/winerror.h"
#include "pim/ContactFields.h"
#include "pim/GrowableBuffer.h"

#include <cstring>
#include <limits>

namespace platform {

namespace {

const ContactValue* Find(const ContactRecord& record, CEPROPID tag) {
    auto found = record.values.find(tag);
    return found == record.values.end() ? nullptr : &found->second;
}

// Bytes a value takes after the CEPROPVAL array, rounded to keep texts 2-byte aligned.
uint64_t DataSize(const ContactValue& value) {
    if (auto* text = std::get_if<std::u16string>(&value))
        return (uint64_t(text->size()) + 1) * sizeof(char16_t);
    if (auto* bytes = std::get_if<std::vector<uint8_t>>(&value))
        return (uint64_t(bytes->size()) + 1) & ~uint64_t(1);
    return 0;
}

// Fills one CEPROPVAL; variable data goes to *data, which moves on.
void Fill(CEPROPVAL& out, const ContactRecord& record, CEPROPID tag, uint8_t*& data) {
    out = CEPROPVAL{};
    out.propid = tag;
    if (tag == PIMPR_OID) {
        out.val.ulVal = record.oid;
        if (!record.oid)
            out.wFlags = CEDB_PROPNOTFOUND;
        return;
    }
    const ContactValue* value = Find(record, tag);
    if (!value) {
        out.wFlags = CEDB_PROPNOTFOUND;
        return;
    }
    uint64_t bytes = DataSize(*value);
    if (auto* text = std::get_if<std::u16string>(value)) {
        memcpy(data, text->c_str(), bytes);
        out.val.lpwstr = reinterpret_cast<LPWSTR>(data);
        out.wLenData = WORD(bytes > 0xFFFF ? 0xFFFF : bytes);
    } else if (auto* blob = std::get_if<std::vector<uint8_t>>(value)) {
        if (!blob->empty())
            memcpy(data, blob->data(), blob->size());
        out.val.blob.dwCount = DWORD(blob->size());
        out.val.blob.lpb = data;
        out.wLenData = WORD(blob->size() > 0xFFFF ? 0xFFFF : blob->size());
    } else if (auto* number = std::get_if<uint32_t>(value)) {
        out.val.ulVal = *number;
    } else if (auto* time = std::get_if<uint64_t>(value)) {
        out.val.filetime.dwLowDateTime = DWORD(*time);
        out.val.filetime.dwHighDateTime = DWORD(*time >> 32);
    }
    data += bytes;
}

// Checks that `in` may be applied; `length` gets a text's length.
HRESULT Check(const CEPROPVAL& in, size_t& length) {
    if (!ContactFields::IsWritable(in.propid))
        return E_INVALIDARG;
    if (in.wFlags & CEDB_PROPDELETE)
        return S_OK;
    switch (ContactFields::KindOf(in.propid)) {
    case ContactValueKind::Text:
        if (!in.val.lpwstr)
            return E_INVALIDARG;
        for (length = 0; in.val.lpwstr[length]; ++length)
            if (length >= kMaxContactText)
                return E_INVALIDARG;
        return S_OK;
    case ContactValueKind::Bytes:
        if (in.val.blob.dwCount > kMaxContactPicture || (in.val.blob.dwCount && !in.val.blob.lpb))
            return E_INVALIDARG;
        return S_OK;
    case ContactValueKind::Number:
    case ContactValueKind::Time:
        return S_OK;
    default:
        return E_INVALIDARG;
    }
}

void ApplyOne(ContactRecord& record, const CEPROPVAL& in, size_t length) {
    if (in.wFlags & CEDB_PROPDELETE) {
        record.values.erase(in.propid);
        return;
    }
    switch (ContactFields::KindOf(in.propid)) {
    case ContactValueKind::Text:
        if (length == 0)
            record.values.erase(in.propid);
        else
            record.values[in.propid] = std::u16string(in.val.lpwstr, length);
        return;
    case ContactValueKind::Bytes:
        if (in.val.blob.dwCount == 0)
            record.values.erase(in.propid);
        else
            record.values[in.propid] =
                std::vector<uint8_t>(in.val.blob.lpb, in.val.blob.lpb + in.val.blob.dwCount);
        return;
    case ContactValueKind::Number:
        record.values[in.propid] = uint32_t(in.val.ulVal);
        return;
    case ContactValueKind::Time:
        record.values[in.propid] =
            (uint64_t(in.val.filetime.dwHighDateTime) << 32) | in.val.filetime.dwLowDateTime;
        return;
    default:
        return;
    }
}

} // namespace

uint64_t PropertyBuffer::NeededSize(const ContactRecord& record, const CEPROPID* tags, WORD count) {
    uint64_t needed = uint64_t(count) * sizeof(CEPROPVAL);
    for (WORD i = 0; i < count; ++i)
        if (const ContactValue* value = Find(record, tags[i]))
            needed += DataSize(*value);
    return needed;
}

HRESULT PropertyBuffer::Read(const ContactRecord& record, const CEPROPID* tags, ULONG flags,
                             WORD count, CEPROPVAL** buffer, ULONG* size, HANDLE heap) {
    if (!buffer || !size || (count && !tags))
        return E_INVALIDARG;
    uint64_t needed = NeededSize(record, tags, count);
    if (needed > std::numeric_limits<ULONG>::max())
        return E_OUTOFMEMORY;
    if (!*buffer || *size < needed) {
        if (!(flags & CEDB_ALLOWREALLOC)) {
            *size = ULONG(needed);
            return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
        }
        ULONG grownSize = ULONG(needed ? needed : 1);
        void* block = *buffer;
        if (!GrowableBuffer::Grow(block, grownSize, heap))
            return E_OUTOFMEMORY;
        *buffer = static_cast<CEPROPVAL*>(block);
        *size = grownSize;
    }
    uint8_t* data = reinterpret_cast<uint8_t*>(*buffer) + uint64_t(count) * sizeof(CEPROPVAL);
    for (WORD i = 0; i < count; ++i)
        Fill((*buffer)[i], record, tags[i], data);
    return S_OK;
}

HRESULT PropertyBuffer::Apply(ContactRecord& record, WORD count, const CEPROPVAL* values) {
    if (count && !values)
        return E_INVALIDARG;
    std::vector<size_t> lengths(count);
    for (WORD i = 0; i < count; ++i)
        if (HRESULT hr = Check(values[i], lengths[i]); FAILED(hr))
            return hr;
    for (WORD i = 0; i < count; ++i)
        ApplyOne(record, values[i], lengths[i]);
    return S_OK;
}

} // namespace platform
