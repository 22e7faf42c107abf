// Moves contact properties between a ContactRecord and the CEPROPVAL arrays of
// IItem::GetProps / SetProps. Pure: no store, no device.
#pragma once

#include "ce/cedbtypes.h"
#include "pim/ContactRecord.h"

namespace platform {

class PropertyBuffer {
public:
    // Writes `count` properties of `record` into one block: the CEPROPVAL array, then the
    // texts and bytes they point to. With CEDB_ALLOWREALLOC the block is allocated or grown
    // (from `heap`, or LocalAlloc when null) and *size gets its size; without it *buffer must
    // hold *size bytes, and a smaller one fails with ERROR_INSUFFICIENT_BUFFER and *size set
    // to the size needed. Absent properties get CEDB_PROPNOTFOUND.
    static HRESULT Read(const ContactRecord& record, const CEPROPID* tags, ULONG flags,
                        WORD count, CEPROPVAL** buffer, ULONG* size, HANDLE heap);

    // Applies `count` values to `record`: CEDB_PROPDELETE removes, an empty text or byte
    // array removes too. Every value is checked first; on failure nothing changes.
    static HRESULT Apply(ContactRecord& record, WORD count, const CEPROPVAL* values);

    // The block size Read needs for these tags.
    static uint64_t NeededSize(const ContactRecord& record, const CEPROPID* tags, WORD count);
};

} // namespace platform
