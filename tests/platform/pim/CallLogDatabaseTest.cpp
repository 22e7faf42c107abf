// The call log database against a booted device: mounting and opening, reading newest
// first into a growing buffer, seeking, deleting, writing and persistence.
#include "CallLogTestSupport.h"
#include "pim/CallLogStore.h"
#include "pim/PimVolume.h"
#include "support/TestDevice.h"

#include <algorithm>
#include <sqlite3.h>

using namespace calllogtest;

namespace {

class CallLogDatabase : public testsupport::TestDevice {};

TEST_F(CallLogDatabase, ReadsEveryCallNewestFirstGrowingATinyBuffer) {
    OpenLog log;
    EXPECT_EQ(log.dbOid, platform::CallLogStore::kDatabaseOid);
    std::vector<Call> calls = ReadAll(log.db, 8);
    ASSERT_EQ(calls.size(), 50u);
    for (size_t i = 1; i < calls.size(); ++i)
        EXPECT_GE(calls[i - 1].start, calls[i].start) << i;
    // Calls without a number carry the logged name; missed calls last 0 seconds.
    auto withheld = std::count_if(calls.begin(), calls.end(), [](const Call& c) { return !c.number; });
    EXPECT_EQ(withheld, 4);
    for (const Call& call : calls) {
        EXPECT_TRUE(call.number || call.name);
        EXPECT_GE(call.end, call.start);
        if (!(call.flags & 0x1) && !(call.flags & 0x2)) {
            EXPECT_EQ(call.end, call.start);
        }
    }
    // The read position stays at the end.
    WORD count = 0;
    BYTE* buffer = nullptr;
    DWORD size = 0;
    EXPECT_EQ(CeReadRecordPropsEx(log.db, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_MORE_ITEMS));
}

TEST_F(CallLogDatabase, ReadsNamedPropertiesAndMarksTheMissingOnes) {
    OpenLog log;
    std::vector<Call> calls = ReadAll(log.db);
    auto withheld = std::find_if(calls.begin(), calls.end(), [](const Call& c) { return !c.number; });
    ASSERT_NE(withheld, calls.end());
    ASSERT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_CEOID, withheld->oid, 0, nullptr), withheld->oid);
    CEPROPID ids[] = {kName, kNumber, 0x00990003};
    WORD count = 3;
    BYTE* buffer = nullptr;
    DWORD size = 0;
    ASSERT_EQ(CeReadRecordPropsEx(log.db, CEDB_ALLOWREALLOC, &count, ids, &buffer, &size, nullptr), withheld->oid);
    ASSERT_EQ(count, 3);
    CEPROPVAL values[3];
    std::memcpy(values, buffer, sizeof values);
    EXPECT_EQ(values[0].propid, kName);
    EXPECT_EQ(values[0].wFlags, 0);
    EXPECT_EQ(std::u16string(values[0].val.lpwstr), *withheld->name);
    EXPECT_EQ(values[1].propid, kNumber);
    EXPECT_EQ(values[1].wFlags, CEDB_PROPNOTFOUND);
    EXPECT_EQ(values[2].wFlags, CEDB_PROPNOTFOUND);
    // Without a heap the buffer comes from LocalAlloc.
    LocalFree(buffer);
}

TEST_F(CallLogDatabase, ABufferTooSmallWithoutReallocationKeepsThePosition) {
    OpenLog log;
    BYTE small[16];
    BYTE* buffer = small;
    DWORD size = sizeof small;
    WORD count = 0;
    EXPECT_EQ(CeReadRecordPropsEx(log.db, 0, &count, nullptr, &buffer, &size, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INSUFFICIENT_BUFFER));
    EXPECT_GT(size, sizeof small);
    EXPECT_EQ(buffer, small);
    std::vector<BYTE> big(size);
    buffer = big.data();
    CEOID first = CeReadRecordPropsEx(log.db, 0, &count, nullptr, &buffer, &size, nullptr);
    EXPECT_EQ(first, ReadAll(OpenLog().db).front().oid);
    EXPECT_EQ(CeReadRecordPropsEx(log.db, 7, &count, nullptr, &buffer, &size, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(CallLogDatabase, SeeksByIdentifierAndByPlace) {
    OpenLog log;
    std::vector<Call> calls = ReadAll(log.db);
    DWORD index = 99;
    ASSERT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_CEOID, calls[2].oid, 0, &index), calls[2].oid);
    EXPECT_EQ(index, 2u);
    // The next read returns the record sought, then the one after it.
    std::vector<Call> rest = ReadAll(log.db);
    ASSERT_EQ(rest.size(), calls.size() - 2);
    EXPECT_EQ(rest[0].oid, calls[2].oid);
    struct Case {
        DWORD type;
        DWORD value;
        size_t expected;
    };
    const Case cases[] = {
        {CEDB_SEEK_BEGINNING, 0, 0},
        {CEDB_SEEK_BEGINNING, 5, 5},
        {CEDB_SEEK_CURRENT, 3, 8},
        {CEDB_SEEK_CURRENT, DWORD(-2), 6},
        {CEDB_SEEK_END, 0, calls.size() - 1},
        {CEDB_SEEK_END, 1, calls.size() - 2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CeSeekDatabaseEx(log.db, c.type, c.value, 0, &index), calls[c.expected].oid) << c.type;
        EXPECT_EQ(index, c.expected);
    }
    EXPECT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_CEOID, 0x12345, 0, &index), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_FOUND));
    EXPECT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_BEGINNING, 50, 0, &index), 0u);
    EXPECT_EQ(CeSeekDatabaseEx(log.db, 0x10, 0, 0, &index), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
}

TEST_F(CallLogDatabase, DeletesRecordsAndReadsOnPastADeletedPosition) {
    OpenLog log;
    std::vector<Call> calls = ReadAll(log.db);
    ASSERT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_CEOID, calls[1].oid, 0, nullptr), calls[1].oid);
    ASSERT_TRUE(CeDeleteRecord(log.db, calls[1].oid));
    EXPECT_FALSE(CeDeleteRecord(log.db, calls[1].oid));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_FOUND));
    EXPECT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_CEOID, calls[1].oid, 0, nullptr), 0u);
    // The position was on the deleted record: reading goes on with the one after it.
    std::vector<Call> rest = ReadAll(log.db);
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest[0].oid, calls[2].oid);
}

TEST_F(CallLogDatabase, WritesNewAndChangedCallsAndRefusesBadProperties) {
    OpenLog log;
    char16_t number[] = u"+44 7700 900999";
    char16_t kind[] = u"m";
    CEPROPVAL values[4]{};
    values[0].propid = kStart;
    values[0].val.filetime = FileTime(int64_t(140000000000000000));
    values[1].propid = kEnd;
    values[1].val.filetime = FileTime(int64_t(140000000000000000) + 30 * 10000000LL);
    values[2].propid = kNumber;
    values[2].val.lpwstr = number;
    values[3].propid = kKind;
    values[3].val.lpwstr = kind;
    CEOID oid = CeWriteRecordProps(log.db, 0, 4, values);
    ASSERT_NE(oid, 0u);
    // A call far in the future is the newest.
    std::vector<Call> calls = ReadAll(log.db);
    ASSERT_EQ(calls.front().oid, oid);
    EXPECT_EQ(calls.front().end - calls.front().start, 30 * 10000000LL);
    EXPECT_EQ(*calls.front().kind, u"m");
    // Changing: the number is removed, the flags set.
    CEPROPVAL change[2]{};
    change[0].propid = kNumber;
    change[0].wFlags = CEDB_PROPDELETE;
    change[1].propid = kFlags;
    change[1].val.lVal = 0x3;
    ASSERT_EQ(CeWriteRecordProps(log.db, oid, 2, change), oid);
    ASSERT_EQ(CeSeekDatabaseEx(log.db, CEDB_SEEK_CEOID, oid, 0, nullptr), oid);
    Call changed = ReadAll(log.db).front();
    EXPECT_FALSE(changed.number);
    EXPECT_EQ(changed.flags, 0x3);

    std::u16string tooLong(300, u'9');
    CEPROPVAL bad{};
    struct Case {
        CEPROPID id;
        WORD flags;
        WCHAR* text;
    };
    const Case cases[] = {
        {0x00990003, 0, nullptr},   // unknown property
        {kNumber, 0, nullptr},      // a null text
        {kNumber, 0, tooLong.data()},
        {kStart, CEDB_PROPDELETE, nullptr}, // every call has its times
    };
    for (const Case& c : cases) {
        bad.propid = c.id;
        bad.wFlags = c.flags;
        bad.val.lpwstr = c.text;
        EXPECT_EQ(CeWriteRecordProps(log.db, oid, 1, &bad), 0u) << std::hex << c.id;
        EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(CeWriteRecordProps(log.db, 0x12345, 1, change), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_FOUND));
}

TEST_F(CallLogDatabase, RefusesOtherVolumesDatabasesAndStaleHandles) {
    CEGUID guid{};
    char16_t other[] = u"\\other.vol";
    char16_t pim[] = u"\\PIM.VOL";
    char16_t unknown[] = u"calls.db";
    EXPECT_FALSE(CeMountDBVolEx(&guid, other, nullptr, OPEN_EXISTING));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    EXPECT_FALSE(CeMountDBVolEx(&guid, pim, nullptr, CREATE_NEW));
    ASSERT_TRUE(CeMountDBVolEx(&guid, pim, nullptr, OPEN_EXISTING));
    HANDLE session = CeCreateSession(&guid);
    ASSERT_NE(session, INVALID_HANDLE_VALUE);
    CEOID oid = 0;
    EXPECT_EQ(CeOpenDatabaseInSession(session, &guid, &oid, unknown, nullptr, 0, nullptr), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_FILE_NOT_FOUND));
    SORTORDERSPECEX sort{};
    char16_t name[] = u"clog.db";
    EXPECT_EQ(CeOpenDatabaseInSession(session, &guid, &oid, name, &sort, 0, nullptr), INVALID_HANDLE_VALUE);
    CENOTIFYREQUEST request{};
    request.dwSize = 20; // the device's size; this platform's record holds 64-bit handles
    request.hwnd = reinterpret_cast<HWND>(1);
    request.dwFlags = CEDB_EXNOTIFICATION;
    EXPECT_EQ(CeOpenDatabaseInSession(session, &guid, &oid, name, nullptr, 0, &request), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    // A session handle is not a database handle.
    WORD count = 0;
    BYTE* buffer = nullptr;
    DWORD size = 0;
    EXPECT_EQ(CeReadRecordPropsEx(session, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, nullptr), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    HANDLE db = CeOpenDatabaseInSession(session, &guid, &oid, name, nullptr, 0, nullptr);
    ASSERT_NE(db, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(CloseHandle(db));
    EXPECT_FALSE(CeDeleteRecord(db, 1));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    CloseHandle(session);
    EXPECT_TRUE(CeUnmountDBVol(&guid));
    EXPECT_FALSE(CeUnmountDBVol(&guid));
    EXPECT_EQ(CeCreateSession(&guid), INVALID_HANDLE_VALUE);
}

TEST_F(CallLogDatabase, KeepsItsCallsAcrossAReboot) {
    CEOID deleted = 0;
    {
        OpenLog log;
        deleted = ReadAll(log.db).front().oid;
        ASSERT_TRUE(CeDeleteRecord(log.db, deleted));
    }
    Reboot();
    OpenLog log;
    std::vector<Call> calls = ReadAll(log.db);
    // The factory calls come only with a new volume.
    EXPECT_EQ(calls.size(), 49u);
    EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [&](const Call& c) { return c.oid == deleted; }));
}

TEST_F(CallLogDatabase, ATableOfAnotherShapeIsKeptAsideAndTheLogStartsEmpty) {
    {
        auto& volume = platform::PimVolume::Instance();
        std::lock_guard lock(volume.Mutex());
        ASSERT_EQ(sqlite3_exec(volume.Db(), "DROP TABLE clog; CREATE TABLE clog(x TEXT); INSERT INTO clog VALUES ('old');",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    Reboot();
    {
        OpenLog log;
        EXPECT_TRUE(ReadAll(log.db).empty());
    }
    auto& volume = platform::PimVolume::Instance();
    std::lock_guard lock(volume.Mutex());
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(volume.Db(), "SELECT name FROM sqlite_schema WHERE name LIKE 'clog_damaged_%'", -1,
                                 &statement, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_step(statement), SQLITE_ROW);
    sqlite3_finalize(statement);
}

} // namespace
