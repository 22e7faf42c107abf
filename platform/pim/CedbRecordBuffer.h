// How a call record is handed out by CeReadRecordPropsEx: an array of CEPROPVAL followed
// by the texts they point to, all in the caller's one buffer.
#pragma once

#include "pim/CallLogRecord.h"

#include <vector>

namespace platform {

class CedbRecordBuffer {
public:
    // The properties `ids` asks for (`ids` null: every property the record holds, in tag
    // order); a property the record lacks keeps its tag and gets CEDB_PROPNOTFOUND.
    CedbRecordBuffer(const CallLogRecord& record, const CEPROPID* ids, WORD count);

    WORD Count() const { return WORD(m_properties.size()); }
    size_t Size() const;
    // Writes Size() bytes to `buffer`.
    void WriteTo(BYTE* buffer) const;

private:
    struct Property {
        CEPROPID id;
        bool found = false;
        int64_t time = 0;
        LONG number = 0;
        const std::u16string* text = nullptr;
    };
    Property Lookup(CEPROPID id) const;

    const CallLogRecord& m_record;
    std::vector<Property> m_properties;
};

// Applies the written properties to `record`. ERROR_INVALID_PARAMETER for a tag the call
// log does not know, a text that is null or longer than kClogMaxText, or the removal of
// a time or the flags.
DWORD ApplyRecordProps(CallLogRecord& record, const CEPROPVAL* values, WORD count);

} // namespace platform
