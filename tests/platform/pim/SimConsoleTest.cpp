// The sim and calllog console commands: their refusals and answer formats (the scenario
// calllog.txt drives the ones that succeed end to end).
#include "console/DeviceCommands.h"
#include "pim/SimCard.h"
#include "support/TestDevice.h"

#include <string>
#include <vector>

namespace {

class StoreCommands : public testsupport::TestDevice {
protected:
    void SetUp() override {
        TestDevice::SetUp();
        platform::RegisterDeviceCommands(m_console);
    }
    std::vector<std::string> Answer(const std::string& line) { return m_console.Execute(line).lines; }
    std::string Status(const std::string& line) { return Answer(line).back(); }

    platform::Console m_console;
};

TEST_F(StoreCommands, RefusesWhatTheStoresCannotTake) {
    struct Case {
        const char* line;
        const char* status;
    };
    const Case cases[] = {
        {"sim add 1 \"X\" 123", "ERROR location 1 is in use"},
        {"sim add 0 \"X\" 123", "ERROR usage: sim add INDEX \"NAME\" NUMBER"},
        {"sim add 251 \"X\" 123", "ERROR usage: sim add INDEX \"NAME\" NUMBER"},
        {"sim add 4 \"X\" 12a", "ERROR invalid number: 12a"},
        {"sim add 4 \"Thirty-three characters, one over\" 1",
         "ERROR invalid name: at most 32 characters, no control characters"},
        {"sim remove 4", "ERROR no entry at 4"},
        {"sim state broken", "ERROR usage: sim state [ready|notready|absent]"},
        {"calllog add 1 sideways 2026-01-01T00:00:00 0", ""},
        {"calllog add 1 in 2026-13-01T00:00:00 0", "ERROR invalid time: 2026-13-01T00:00:00"},
        {"calllog add 1 in 2026-01-01 0", "ERROR invalid time: 2026-01-01"},
        {"calllog add 1 missed 2026-01-01T00:00:00 5", "ERROR a missed call lasts 0 seconds"},
        {"calllog add 1 in 2026-01-01T00:00:00 604801", ""},
        {"calllog add 1 in 2026-01-01T00:00:00 -1", ""},
        {"calllog add 1 in 2026-01-01T00:00:00 5 kind=x", ""},
        {"calllog add 1 in 2026-01-01T00:00:00 5 colour=red", ""},
        {"calllog delete 999", "ERROR no call 999"},
        {"calllog delete 0", "ERROR usage: calllog delete ID"},
    };
    for (const Case& c : cases) {
        std::string status = Status(c.line);
        if (*c.status)
            EXPECT_EQ(status, c.status) << c.line;
        else
            EXPECT_EQ(status.rfind("ERROR usage: calllog add", 0), 0u) << c.line << ": " << status;
    }
    // Nothing was stored by the refused commands.
    EXPECT_EQ(Answer("sim list").size(), 8u);
    EXPECT_EQ(Answer("calllog list").size(), 51u);
}

TEST_F(StoreCommands, ListsWhatWasAddedWithQuotesDoubled) {
    ASSERT_EQ(Status("sim add 250 \"Say \"\"hi\"\"\" 0123"), "OK");
    EXPECT_EQ(Answer("sim list")[7], "250 \"Say \"\"hi\"\"\" 0123");
    std::vector<std::string> added = Answer("calllog add 555 out 2031-05-06T07:08:09 0 name=\"A \"\"B\"\"\"");
    ASSERT_EQ(added.size(), 2u);
    EXPECT_EQ(added[0], "id 51");
    EXPECT_EQ(Answer("calllog list")[0], "51 2031-05-06T07:08:09 out 0 555 name=\"A \"\"B\"\"\"");
    EXPECT_EQ(Answer("sim state"), (std::vector<std::string>{"ready", "OK"}));
    EXPECT_EQ(Answer("sim state absent"), (std::vector<std::string>{"absent", "OK"}));
    EXPECT_EQ(platform::SimCard::Instance().State(), platform::SimState::Absent);
}

} // namespace
