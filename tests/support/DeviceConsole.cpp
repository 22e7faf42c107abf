#include "support/DeviceConsole.h"

#include "ce/user.h"
#include "pim/CallLogStore.h"
#include "pim/SimCard.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace testsupport {

void PumpUntilQuiet() {
    int quietRounds = 0;
    while (quietRounds < 5) {
        MSG message;
        bool any = false;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            any = true;
            DispatchMessageW(&message);
        }
        quietRounds = any ? 0 : quietRounds + 1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<std::string> RunConsoleLine(platform::Console& console, const std::string& line) {
    platform::ConsoleAnswer answer = console.Execute(line);
    EXPECT_FALSE(answer.lines.empty()) << line;
    if (answer.lines.empty())
        return {};
    EXPECT_EQ(answer.lines.back(), "OK") << line;
    answer.lines.pop_back();
    return answer.lines;
}

void EmptySimAndCallLog() {
    std::vector<platform::SimEntry> entries;
    platform::SimCard::Instance().List(entries);
    for (const platform::SimEntry& entry : entries)
        platform::SimCard::Instance().Delete(entry.location);
    std::vector<platform::CallLogRecord> records;
    platform::CallLogStore::Instance().List(records);
    for (const platform::CallLogRecord& record : records)
        platform::CallLogStore::Instance().Delete(record.oid);
}

CEOID AddContactThrough(platform::Console& console, const std::string& fields) {
    std::vector<std::string> lines = RunConsoleLine(console, "contact add " + fields);
    if (lines.size() != 1 || lines[0].rfind("oid ", 0) != 0)
        return 0;
    return CEOID(std::stoul(lines[0].substr(4)));
}

} // namespace testsupport
