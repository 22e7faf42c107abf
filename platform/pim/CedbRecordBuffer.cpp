#include "pim/CedbRecordBuffer.h"

#include "ce/windbase.h"

#include <cstring>

namespace platform {

namespace {

constexpr CEPROPID kAllTags[] = {kClogStartTime, kClogEndTime, kClogFlags, kClogNumber, kClogName,
                                 kClogNumberKind};

// The text field of tag `id`, or null; `Record` is CallLogRecord with or without const.
template <typename Record> auto TextField(Record& record, CEPROPID id) -> decltype(&record.number) {
    switch (id) {
    case kClogNumber: return &record.number;
    case kClogName: return &record.name;
    case kClogNumberKind: return &record.numberKind;
    default: return nullptr;
    }
}

int64_t* TimeField(CallLogRecord& record, CEPROPID id) {
    switch (id) {
    case kClogStartTime: return &record.start;
    case kClogEndTime: return &record.end;
    default: return nullptr;
    }
}

// The text of a caller's property, or nothing when it is null or too long.
std::optional<std::u16string> BoundedText(const WCHAR* text) {
    if (!text)
        return std::nullopt;
    size_t length = 0;
    while (length <= kClogMaxText && text[length])
        ++length;
    if (length > kClogMaxText)
        return std::nullopt;
    return std::u16string(text, length);
}

DWORD ApplyOne(CallLogRecord& record, const CEPROPVAL& value) {
    bool remove = value.wFlags & CEDB_PROPDELETE;
    if (auto* text = TextField(record, value.propid)) {
        if (remove) {
            text->reset();
            return ERROR_SUCCESS;
        }
        auto bounded = BoundedText(value.val.lpwstr);
        if (!bounded)
            return ERROR_INVALID_PARAMETER;
        *text = std::move(bounded);
        return ERROR_SUCCESS;
    }
    if (remove)
        return ERROR_INVALID_PARAMETER; // times and flags are part of every call
    if (int64_t* time = TimeField(record, value.propid)) {
        *time = int64_t(uint64_t(value.val.filetime.dwHighDateTime) << 32 | value.val.filetime.dwLowDateTime);
        return ERROR_SUCCESS;
    }
    if (value.propid == kClogFlags) {
        record.flags = DWORD(value.val.lVal);
        return ERROR_SUCCESS;
    }
    return ERROR_INVALID_PARAMETER;
}

} // namespace

CedbRecordBuffer::CedbRecordBuffer(const CallLogRecord& record, const CEPROPID* ids, WORD count)
    : m_record(record) {
    if (ids) {
        for (WORD i = 0; i < count; ++i)
            m_properties.push_back(Lookup(ids[i]));
        return;
    }
    for (CEPROPID id : kAllTags)
        if (Property property = Lookup(id); property.found)
            m_properties.push_back(property);
}

CedbRecordBuffer::Property CedbRecordBuffer::Lookup(CEPROPID id) const {
    Property property{id};
    switch (id) {
    case kClogStartTime: property.time = m_record.start; property.found = true; break;
    case kClogEndTime: property.time = m_record.end; property.found = true; break;
    case kClogFlags: property.number = LONG(m_record.flags); property.found = true; break;
    default:
        if (auto* text = TextField(m_record, id); text && *text) {
            property.text = &**text;
            property.found = true;
        }
    }
    return property;
}

size_t CedbRecordBuffer::Size() const {
    size_t size = m_properties.size() * sizeof(CEPROPVAL);
    for (const Property& property : m_properties)
        if (property.text)
            size += (property.text->size() + 1) * sizeof(WCHAR);
    return size;
}

void CedbRecordBuffer::WriteTo(BYTE* buffer) const {
    // Written with memcpy: the caller's buffer need not be aligned.
    BYTE* texts = buffer + m_properties.size() * sizeof(CEPROPVAL);
    for (size_t i = 0; i < m_properties.size(); ++i) {
        const Property& property = m_properties[i];
        CEPROPVAL value{};
        value.propid = property.id;
        if (!property.found) {
            value.wFlags = CEDB_PROPNOTFOUND;
        } else if (property.text) {
            size_t bytes = (property.text->size() + 1) * sizeof(WCHAR);
            std::memcpy(texts, property.text->c_str(), bytes);
            value.val.lpwstr = reinterpret_cast<WCHAR*>(texts);
            value.wLenData = WORD(bytes);
            texts += bytes;
        } else if (property.id == kClogFlags) {
            value.val.lVal = property.number;
        } else {
            value.val.filetime = {DWORD(property.time), DWORD(uint64_t(property.time) >> 32)};
        }
        std::memcpy(buffer + i * sizeof(CEPROPVAL), &value, sizeof value);
    }
}

DWORD ApplyRecordProps(CallLogRecord& record, const CEPROPVAL* values, WORD count) {
    if (count && !values)
        return ERROR_INVALID_PARAMETER;
    CallLogRecord changed = record;
    for (WORD i = 0; i < count; ++i)
        if (DWORD error = ApplyOne(changed, values[i]); error != ERROR_SUCCESS)
            return error;
    record = std::move(changed);
    return ERROR_SUCCESS;
}

} // namespace platform
