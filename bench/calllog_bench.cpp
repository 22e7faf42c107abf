// Cost of reading the whole call log the way the main program does at start (every
// record, newest first, into one growing buffer), for logs of several sizes; and of
// logging one call.
#include "ce/windbase.h"
#include "pim/CallLogStore.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

namespace {

// The device is booted in main and shut down before the program's static objects go:
// the platform's singletons it uses may be made after it.
int64_t g_calls = 50; // the factory log

// Logs calls until the log holds `count`.
void FillTo(int64_t count) {
    auto& store = platform::CallLogStore::Instance();
    for (int64_t& calls = g_calls; calls < count; ++calls) {
        platform::CallLogRecord record;
        record.start = 130000000000000000 + calls * 6000000000;
        record.end = record.start + 600000000;
        record.flags = calls % 3;
        record.number = u"+44 7700 900" + std::u16string(1, char16_t(u'0' + calls % 10));
        CEOID oid = 0;
        store.Add(record, oid);
    }
}

void ReadWholeLog(benchmark::State& state) {
    FillTo(state.range(0));
    CEGUID guid{};
    char16_t volume[] = u"\\pim.vol";
    char16_t name[] = u"clog.db";
    CeMountDBVolEx(&guid, volume, nullptr, OPEN_EXISTING);
    HANDLE session = CeCreateSession(&guid);
    HANDLE heap = GetProcessHeap();
    for (auto _ : state) {
        HANDLE db = CeOpenDatabaseInSession(session, &guid, nullptr, name, nullptr, 0, nullptr);
        auto* buffer = static_cast<BYTE*>(HeapAlloc(heap, 0, 4096));
        DWORD size = 4096;
        int64_t read = 0;
        WORD count = 0;
        while (CeReadRecordPropsEx(db, CEDB_ALLOWREALLOC, &count, nullptr, &buffer, &size, heap))
            ++read;
        HeapFree(heap, 0, buffer);
        CloseHandle(db);
        if (read != g_calls)
            state.SkipWithError("the log was not read whole");
    }
    state.SetItemsProcessed(state.iterations() * g_calls);
    CloseHandle(session);
    CeUnmountDBVol(&guid);
}
BENCHMARK(ReadWholeLog)->Arg(50)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void LogOneCall(benchmark::State& state) {
    platform::CallLogRecord record;
    record.start = 140000000000000000;
    record.end = record.start + 600000000;
    record.number = u"0800 123 456";
    for (auto _ : state) {
        CEOID oid = 0;
        platform::CallLogStore::Instance().Add(record, oid);
        ++g_calls;
    }
}
BENCHMARK(LogOneCall)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    {
        testsupport::ScratchDevice device;
        benchmark::RunSpecifiedBenchmarks();
    }
    benchmark::Shutdown();
    return 0;
}
