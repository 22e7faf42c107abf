// Database notifications of the call log: a window that opened "clog.db" with a request
// gets WM_DBNOTIFICATION for changes made by another process's thread and by the console,
// with a notification of this platform's size that it frees with CeFreeNotification.
#include "CallLogTestSupport.h"
#include "console/DeviceCommands.h"
#include "platform/user/UserTestSupport.h"

#include <atomic>

using namespace calllogtest;
using usertest::Recorder;

namespace {

struct Seen {
    WPARAM kind;
    CENOTIFICATION notification;
    BOOL freed;
};

class CallLogNotify : public usertest::UserTest {
protected:
    void SetUp() override {
        UserTest::SetUp();
        m_hwnd = Create();
        m_request = {sizeof(CENOTIFYREQUEST), m_hwnd, CEDB_EXNOTIFICATION, nullptr, 77};
        Recorder::Instance().m_hook = [this](HWND, UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
            if (message != WM_DBNOTIFICATION)
                return false;
            auto* notification = reinterpret_cast<CENOTIFICATION*>(lParam);
            Seen seen{wParam, *notification, FALSE};
            seen.freed = CeFreeNotification(&m_request, notification);
            m_seen.push_back(seen);
            return true;
        };
        platform::RegisterDeviceCommands(m_console);
    }
    // Dispatches this thread's messages until `count` notifications arrived.
    bool PumpUntil(size_t count, int timeoutMs = 5000) {
        return usertest::WaitFor([&] {
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
                DispatchMessageW(&msg);
            return m_seen.size() >= count;
        }, timeoutMs);
    }
    std::string Status(const std::string& line) { return m_console.Execute(line).lines.back(); }

    HWND m_hwnd = nullptr;
    CENOTIFYREQUEST m_request{};
    std::vector<Seen> m_seen;
    platform::Console m_console;
};

TEST_F(CallLogNotify, ChangesFromAnotherProcessReachTheWindow) {
    OpenLog log(&m_request);
    std::atomic<CEOID> written{0};
    auto worker = usertest::StartWorker([&]() -> DWORD {
        OpenLog own;
        char16_t number[] = u"0800 123 456";
        CEPROPVAL value{};
        value.propid = kNumber;
        value.val.lpwstr = number;
        written = CeWriteRecordProps(own.db, 0, 1, &value);
        CEPROPVAL flags{};
        flags.propid = kFlags;
        flags.val.lVal = 1;
        CeWriteRecordProps(own.db, written, 1, &flags);
        CeDeleteRecord(own.db, written);
        return 0;
    });
    ASSERT_TRUE(usertest::JoinThread(worker));
    ASSERT_NE(written.load(), 0u);
    ASSERT_TRUE(PumpUntil(3));
    ASSERT_EQ(m_seen.size(), 3u);
    const WPARAM kinds[] = {DB_CEOID_CREATED, DB_CEOID_CHANGED, DB_CEOID_RECORD_DELETED};
    for (size_t i = 0; i < 3; ++i) {
        const Seen& seen = m_seen[i];
        EXPECT_EQ(seen.kind, kinds[i]);
        // 36 bytes, as on the device: the structure holds no pointer.
        EXPECT_EQ(seen.notification.dwSize, 36u);
        EXPECT_EQ(seen.notification.uType, kinds[i]);
        EXPECT_EQ(seen.notification.dwParam, 77u);
        EXPECT_EQ(seen.notification.oid, written.load());
        EXPECT_EQ(seen.notification.oidParent, log.dbOid);
        EXPECT_EQ(std::memcmp(&seen.notification.guid, &log.guid, sizeof(CEGUID)), 0);
        EXPECT_TRUE(seen.freed);
    }
}

TEST_F(CallLogNotify, ConsoleChangesNotifyUntilTheDatabaseIsClosed) {
    auto log = std::make_unique<OpenLog>(&m_request);
    std::vector<std::string> answer = m_console.Execute("calllog add +441632960471 in 2026-12-01T10:00:00 75").lines;
    ASSERT_EQ(answer.size(), 2u);
    ASSERT_EQ(answer.back(), "OK");
    ASSERT_EQ(answer[0].rfind("id ", 0), 0u);
    CEOID oid = CEOID(std::stoul(answer[0].substr(3)));
    ASSERT_TRUE(PumpUntil(1));
    EXPECT_EQ(m_seen[0].kind, WPARAM(DB_CEOID_CREATED));
    EXPECT_EQ(m_seen[0].notification.oid, oid);
    ASSERT_EQ(Status("calllog delete " + std::to_string(oid)), "OK");
    ASSERT_TRUE(PumpUntil(2));
    EXPECT_EQ(m_seen[1].kind, WPARAM(DB_CEOID_RECORD_DELETED));
    EXPECT_EQ(m_seen[1].notification.oid, oid);
    // A failed change notifies nobody, and a closed database no more.
    EXPECT_EQ(Status("calllog delete " + std::to_string(oid)), "ERROR no call " + std::to_string(oid));
    log.reset();
    ASSERT_EQ(Status("calllog add - missed 2026-12-01T11:00:00 0"), "OK");
    EXPECT_FALSE(PumpUntil(3, 300));
    EXPECT_EQ(m_seen.size(), 2u);
}

TEST_F(CallLogNotify, CeFreeNotificationFreesOnlyNotifications) {
    // A notification is freed from the request's heap: the process heap when it names none.
    OpenLog log(&m_request);
    ASSERT_EQ(Status("calllog add 901 out 2026-12-01T12:00:00 20"), "OK");
    ASSERT_TRUE(PumpUntil(1));
    EXPECT_TRUE(m_seen[0].freed);
    CENOTIFYREQUEST wrongSize = m_request;
    wrongSize.dwSize = 20;
    CENOTIFICATION local{};
    EXPECT_FALSE(CeFreeNotification(&wrongSize, &local));
    EXPECT_FALSE(CeFreeNotification(nullptr, &local));
    EXPECT_FALSE(CeFreeNotification(&m_request, &local)); // dwSize 0: not a notification
}

TEST_F(CallLogNotify, TheConsoleRefusesToPostATypedNotificationPointer) {
    EXPECT_EQ(Status("post TestWnd 0x3FD 0x401 0x1234"), "ERROR message carries a pointer: 0x3FD");
}

} // namespace
