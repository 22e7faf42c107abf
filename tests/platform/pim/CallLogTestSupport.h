// Opening "clog.db" the way the main program does, and reading its records.
#pragma once

#include "ce/windbase.h"

#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace calllogtest {

constexpr CEPROPID kStart = 0x00020040;
constexpr CEPROPID kEnd = 0x00030040;
constexpr CEPROPID kFlags = 0x00040003;
constexpr CEPROPID kNumber = 0x0006001F;
constexpr CEPROPID kName = 0x0007001F;
constexpr CEPROPID kKind = 0x000A001F;

inline int64_t Ticks(const FILETIME& time) {
    return int64_t(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
}

inline FILETIME FileTime(int64_t ticks) { return FILETIME{DWORD(ticks), DWORD(uint64_t(ticks) >> 32)}; }

// A mounted volume, a session and the database; closed in reverse order.
struct OpenLog {
    CEGUID guid{};
    HANDLE session = INVALID_HANDLE_VALUE;
    HANDLE db = INVALID_HANDLE_VALUE;
    CEOID dbOid = 0;

    explicit OpenLog(CENOTIFYREQUEST* request = nullptr) {
        char16_t volume[] = u"\\pim.vol";
        char16_t name[] = u"clog.db";
        EXPECT_TRUE(CeMountDBVolEx(&guid, volume, nullptr, OPEN_EXISTING));
        session = CeCreateSession(&guid);
        EXPECT_NE(session, INVALID_HANDLE_VALUE);
        db = CeOpenDatabaseInSession(session, &guid, &dbOid, name, nullptr, 0, request);
        EXPECT_NE(db, INVALID_HANDLE_VALUE);
    }
    ~OpenLog() {
        CloseHandle(db);
        CloseHandle(session);
        CeUnmountDBVol(&guid);
    }
};

// One record as read through CeReadRecordPropsEx.
struct Call {
    CEOID oid = 0;
    int64_t start = 0;
    int64_t end = 0;
    LONG flags = 0;
    std::optional<std::u16string> number, name, kind;
};

// Copies the properties out of a read buffer.
inline Call CallFrom(CEOID oid, const BYTE* buffer, WORD count) {
    Call call;
    call.oid = oid;
    for (WORD i = 0; i < count; ++i) {
        CEPROPVAL value;
        std::memcpy(&value, buffer + i * sizeof(CEPROPVAL), sizeof value);
        if (value.wFlags & CEDB_PROPNOTFOUND)
            continue;
        switch (value.propid) {
        case kStart: call.start = Ticks(value.val.filetime); break;
        case kEnd: call.end = Ticks(value.val.filetime); break;
        case kFlags: call.flags = value.val.lVal; break;
        case kNumber: call.number = value.val.lpwstr; break;
        case kName: call.name = value.val.lpwstr; break;
        case kKind: call.kind = value.val.lpwstr; break;
        }
    }
    return call;
}

// Reads from the position to the end with a buffer of the process heap that starts at
// `initialSize` bytes and is grown by the database.
inline std::vector<Call> ReadAll(HANDLE db, size_t initialSize = 4096) {
    HANDLE heap = GetProcessHeap();
    auto* buffer = static_cast<BYTE*>(HeapAlloc(heap, 0, initialSize));
    DWORD size = DWORD(initialSize);
    std::vector<Call> calls;
    while (true) {
        WORD count = 0;
        CEOID oid = CeReadRecordPropsEx(db, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, heap);
        if (!oid) {
            EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_ITEMS));
            break;
        }
        calls.push_back(CallFrom(oid, buffer, count));
    }
    HeapFree(heap, 0, buffer);
    return calls;
}

} // namespace calllogtest
