// calllog add | list | delete: the call log database from the console. Changes go through
// the same store as the programs' own, so programs that watch "clog.db" are notified.
// Times are the device's local time written as YYYY-MM-DDTHH:MM:SS.
#include "ce/kernel.h"
#include "console/ConsoleFormat.h"
#include "console/DeviceCommands.h"
#include "console/Tokenizer.h"
#include "kernel/Utf.h"
#include "pim/CallLogStore.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace platform {

namespace {

constexpr int64_t kTicksPerSecond = 10000000;
// A week: longer calls are a typing mistake.
constexpr int64_t kMaxSeconds = 7 * 86400;

int64_t TicksOf(const FILETIME& time) { return int64_t(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime); }

bool LocalTextToUtc(const std::string& text, int64_t& ticks) {
    SYSTEMTIME local;
    FILETIME localFile{}, utc{};
    if (!Tokenizer::ParseLocalTime(text, local) || !SystemTimeToFileTime(&local, &localFile) ||
        !LocalFileTimeToFileTime(&localFile, &utc))
        return false;
    ticks = TicksOf(utc);
    return true;
}

std::string UtcToLocalText(int64_t ticks) {
    FILETIME utc{DWORD(ticks), DWORD(uint64_t(ticks) >> 32)}, local{};
    SYSTEMTIME time{};
    if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToSystemTime(&local, &time))
        return "?";
    char text[64];
    std::snprintf(text, sizeof text, "%04u-%02u-%02uT%02u:%02u:%02u", time.wYear, time.wMonth, time.wDay,
                  time.wHour, time.wMinute, time.wSecond);
    return text;
}

const char* Direction(DWORD flags) {
    if (flags & kClogOutgoing)
        return "out";
    return (flags & kClogConnected) ? "in" : "missed";
}

// The options after SECONDS: name="...", kind=w|h|m, roaming. False on anything else.
bool ParseOptions(const Console::Arguments& args, size_t from, CallLogRecord& record) {
    for (size_t i = from; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option.starts_with("name=") && option.size() - 5 <= kClogMaxText)
            record.name = FromUtf8(option.substr(5));
        else if (option == "kind=w" || option == "kind=h" || option == "kind=m")
            record.numberKind = FromUtf8(option.substr(5));
        else if (option == "roaming")
            record.flags |= kClogRoaming;
        else
            return false;
    }
    return true;
}

// NUMBER in|out|missed START SECONDS [options] into `record`; the failure, or nothing.
std::optional<CommandResult> ParseCall(const Console::Arguments& args, CallLogRecord& record) {
    if (args[0] != "-") {
        if (args[0].size() > kClogMaxText)
            return CommandResult::Error("number too long");
        record.number = FromUtf8(args[0]);
    }
    const std::string& kind = args[1];
    int64_t seconds = 0;
    if (kind != "in" && kind != "out" && kind != "missed")
        return CommandResult::Usage();
    if (!LocalTextToUtc(args[2], record.start))
        return CommandResult::Error("invalid time: " + args[2]);
    if (!Tokenizer::ParseNumber(args[3], 0, kMaxSeconds, seconds))
        return CommandResult::Usage();
    if (kind == "missed" && seconds != 0)
        return CommandResult::Error("a missed call lasts 0 seconds");
    record.end = record.start + seconds * kTicksPerSecond;
    // An outgoing call of 0 seconds was not answered.
    if (kind == "out")
        record.flags = kClogOutgoing | (seconds > 0 ? kClogConnected : 0);
    else if (kind == "in")
        record.flags = kClogConnected;
    if (!ParseOptions(args, 4, record))
        return CommandResult::Usage();
    return std::nullopt;
}

CommandResult Add(const Console::Arguments& args, ConsoleOutput& out) {
    if (args.size() < 4)
        return CommandResult::Usage();
    CallLogRecord record;
    if (auto failure = ParseCall(args, record))
        return *failure;
    CEOID oid = 0;
    if (DWORD error = CallLogStore::Instance().Add(record, oid); error != ERROR_SUCCESS)
        return CommandResult::Error("call log: " + ConsoleFormat::ErrorText(error));
    out.Printf("id %lu", (unsigned long)oid);
    return CommandResult::Ok();
}

CommandResult List(const Console::Arguments& args, ConsoleOutput& out) {
    if (!args.empty())
        return CommandResult::Usage();
    std::vector<CallLogRecord> records;
    if (DWORD error = CallLogStore::Instance().List(records); error != ERROR_SUCCESS)
        return CommandResult::Error("call log: " + ConsoleFormat::ErrorText(error));
    for (const CallLogRecord& record : records) {
        std::string line = std::to_string(record.oid) + " " + UtcToLocalText(record.start) + " " +
                           Direction(record.flags) + " " +
                           std::to_string(std::max<int64_t>(0, (record.end - record.start) / kTicksPerSecond)) +
                           " " + (record.number ? ConsoleFormat::Word(*record.number) : "-");
        if (record.name)
            line += " name=" + ConsoleFormat::Quoted(*record.name);
        if (record.numberKind)
            line += " kind=" + ConsoleFormat::Word(*record.numberKind);
        if (record.flags & kClogRoaming)
            line += " roaming";
        out.Line(line);
    }
    return CommandResult::Ok();
}

CommandResult Delete(const Console::Arguments& args, ConsoleOutput&) {
    int64_t oid = 0;
    if (args.size() != 1 || !Tokenizer::ParseNumber(args[0], 1, CallLogStore::kDatabaseOid - 1, oid))
        return CommandResult::Usage();
    DWORD error = CallLogStore::Instance().Delete(CEOID(oid));
    if (error == ERROR_NOT_FOUND)
        return CommandResult::Error("no call " + args[0]);
    if (error != ERROR_SUCCESS)
        return CommandResult::Error("call log: " + ConsoleFormat::ErrorText(error));
    return CommandResult::Ok();
}

} // namespace

void RegisterCallLogCommands(Console& console) {
    console.Register("calllog add", "NUMBER|- in|out|missed YYYY-MM-DDTHH:MM:SS SECONDS [name=\"NAME\"] "
                                    "[kind=w|h|m] [roaming]",
                     Add);
    console.Register("calllog list", "", List);
    console.Register("calllog delete", "ID", Delete);
}

} // namespace platform
