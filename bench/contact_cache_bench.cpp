// The contact cache with 10,000 device contacts of three numbers each: a lookup by number
// against a scan that compares the same numbers with libphonenumber's IsNumberMatch (all
// numbers parsed beforehand), the cold load of the cache from the contact store against a
// plain SQLite select of the same properties, and the memory a cached contact takes.
#include "ce/objbase.h"
#include "ce/pimstore.h"
#include "ce/user.h"
#include "common/CoreLock.h"
#include "common/Settings.h"
#include "corvane/ContactCache.h"
#include "corvane/ContactFill.h"
#include "pim/ContactStore.h"
#include "pim/SimCard.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>
#include <phonenumbers/phonenumberutil.h>
#include <sqlite3.h>

#include <malloc.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace {

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberUtil;

constexpr int kContacts = 10000;
constexpr int kQueries = 1024;

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

// The numbers of contact i as they are stored, and as a caller's number would show them.
std::vector<std::string> StoredNumbers(int i) {
    char mobile[32], home[32], work[32];
    std::snprintf(mobile, sizeof mobile, "07700 9%05d", i);
    std::snprintf(home, sizeof home, "0161 49%05d", i);
    std::snprintf(work, sizeof work, "+1 212 55%05d", i);
    return {mobile, home, work};
}

std::string CallerNumber(int i, int which) {
    char text[32];
    if (which == 0)
        std::snprintf(text, sizeof text, "+447700 9%05d", i);
    else if (which == 1)
        std::snprintf(text, sizeof text, "+44 161 49%05d", i);
    else
        std::snprintf(text, sizeof text, "1-212-55%05d", i);
    return text;
}

platform::DeviceOptions Options() {
    platform::DeviceOptions options;
    options.factoryContacts = false;
    options.startPlatformPrograms = false;
    options.startMainProgram = false;
    return options;
}

LRESULT CALLBACK QuietProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window, message, wParam, lParam);
}

// One device with the phone book for the whole program.
struct Bench {
    Bench() : device(Options()) {
        std::vector<platform::ContactRecord> records(kContacts);
        const CEPROPID phones[] = {PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_HOME_TELEPHONE_NUMBER,
                                   PIMPR_BUSINESS_TELEPHONE_NUMBER};
        for (int i = 0; i < kContacts; ++i) {
            records[i].values[PIMPR_FIRST_NAME] =
                Wide("First" + std::to_string(i * 7919 % kContacts));
            records[i].values[PIMPR_LAST_NAME] = Wide("Last" + std::to_string(i));
            records[i].values[PIMPR_FILEAS] = Wide("Last" + std::to_string(i) + ", First");
            std::vector<std::string> numbers = StoredNumbers(i);
            for (int n = 0; n < 3; ++n)
                records[i].values[phones[n]] = Wide(numbers[n]);
        }
        std::string error;
        if (!platform::ContactStore::Instance().Insert(records, error))
            std::fprintf(stderr, "contact store: %s\n", error.c_str());
        std::vector<platform::SimEntry> entries;
        platform::SimCard::Instance().List(entries);
        for (const platform::SimEntry& entry : entries)
            platform::SimCard::Instance().Delete(entry.location);
        CoInitializeEx(nullptr, 0);
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = QuietProc;
        windowClass.lpszClassName = u"BenchWatcher";
        RegisterClassW(&windowClass);
        watcher = CreateWindowExW(0, u"BenchWatcher", u"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                  nullptr, nullptr);
        settings.Record() = common::Settings::Defaults();
        volume = device.Get().DataFolder() / "pim.vol";
    }
    ~Bench() {
        DestroyWindow(watcher);
        CoUninitialize();
    }
    std::unique_ptr<corvane::ContactCache> Load() {
        auto cache = std::make_unique<corvane::ContactCache>(lock, settings);
        cache->Open(watcher, nullptr);
        return cache;
    }

    testsupport::ScratchDevice device;
    HWND watcher = nullptr;
    common::CoreLock lock;
    common::Settings settings;
    std::filesystem::path volume;
};

// Made on first use and shut down by main before the program's statics go.
std::unique_ptr<Bench> g_bench;

Bench& TheBench() {
    if (!g_bench)
        g_bench = std::make_unique<Bench>();
    return *g_bench;
}

// Contacts spread over the list, each with one of its numbers, plus numbers of nobody.
std::vector<std::string> Queries() {
    std::mt19937 random(7);
    std::vector<std::string> queries;
    for (int q = 0; q < kQueries; ++q) {
        if (q % 8 == 7)
            queries.push_back("+44 20 7946 " + std::to_string(1000 + q));
        else
            queries.push_back(CallerNumber(int(random() % kContacts), int(random() % 3)));
    }
    return queries;
}

void BM_CacheLookup(benchmark::State& state) {
    Bench& bench = TheBench();
    std::unique_ptr<corvane::ContactCache> cache = bench.Load();
    std::vector<std::u16string> queries;
    for (const std::string& query : Queries())
        queries.push_back(Wide(query));
    size_t next = 0, found = 0;
    for (auto _ : state) {
        common::ContactRecord* record = cache->FindByNumber(queries[next].c_str());
        found += record != nullptr;
        benchmark::DoNotOptimize(record);
        next = (next + 1) % queries.size();
    }
    state.counters["found"] = double(found) / double(state.iterations());
}
BENCHMARK(BM_CacheLookup)->Unit(benchmark::kMicrosecond);

void BM_LibphonenumberScan(benchmark::State& state) {
    PhoneNumberUtil* util = PhoneNumberUtil::GetInstance();
    std::vector<std::array<PhoneNumber, 3>> contacts(kContacts);
    for (int i = 0; i < kContacts; ++i) {
        std::vector<std::string> numbers = StoredNumbers(i);
        for (int n = 0; n < 3; ++n)
            util->Parse(numbers[n], "GB", &contacts[i][n]);
    }
    std::vector<PhoneNumber> queries;
    for (const std::string& query : Queries()) {
        queries.emplace_back();
        util->Parse(query, "GB", &queries.back());
    }
    size_t next = 0, found = 0;
    for (auto _ : state) {
        const PhoneNumber& query = queries[next];
        int match = -1;
        // The cache's order: from the last contact to the first.
        for (int i = kContacts - 1; i >= 0 && match < 0; --i)
            for (const PhoneNumber& number : contacts[i])
                if (util->IsNumberMatch(query, number) != PhoneNumberUtil::NO_MATCH) {
                    match = i;
                    break;
                }
        found += match >= 0;
        benchmark::DoNotOptimize(match);
        next = (next + 1) % queries.size();
    }
    state.counters["found"] = double(found) / double(state.iterations());
}
BENCHMARK(BM_LibphonenumberScan)->Unit(benchmark::kMicrosecond);

void BM_CacheColdLoad(benchmark::State& state) {
    Bench& bench = TheBench();
    for (auto _ : state) {
        std::unique_ptr<corvane::ContactCache> cache = bench.Load();
        benchmark::DoNotOptimize(cache->Size());
        state.PauseTiming();
        cache.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_CacheColdLoad)->Unit(benchmark::kMillisecond);

// The same properties straight from the volume, into one text per value.
void BM_PlainSelect(benchmark::State& state) {
    Bench& bench = TheBench();
    sqlite3* db = nullptr;
    sqlite3_open_v2(bench.volume.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    std::string sql = "SELECT oid, tag, value FROM contact_props WHERE tag IN (";
    for (int i = 0; i < corvane::kLoadSlots; ++i)
        sql += std::to_string(corvane::kContactLoadList[i]) +
               (i + 1 < corvane::kLoadSlots ? "," : ")");
    sql += " ORDER BY oid";
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, sql.c_str(), -1, &select, nullptr);
    for (auto _ : state) {
        std::map<sqlite3_int64, std::vector<std::u16string>> contacts;
        while (sqlite3_step(select) == SQLITE_ROW) {
            auto* text = static_cast<const char16_t*>(sqlite3_column_text16(select, 2));
            contacts[sqlite3_column_int64(select, 0)].emplace_back(text ? text : u"");
        }
        sqlite3_reset(select);
        benchmark::DoNotOptimize(contacts.size());
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
}
BENCHMARK(BM_PlainSelect)->Unit(benchmark::kMillisecond);

// Heap bytes the loaded cache and its number index hold per contact (after one load
// warmed the store's caches).
void BM_MemoryPerContact(benchmark::State& state) {
    Bench& bench = TheBench();
    bench.Load().reset();
    double perContact = 0;
    for (auto _ : state) {
        size_t before = mallinfo2().uordblks;
        std::unique_ptr<corvane::ContactCache> cache = bench.Load();
        // The first lookup builds the number index, which counts too.
        benchmark::DoNotOptimize(cache->FindByNumber(u"+44 20 7946 0000"));
        size_t after = mallinfo2().uordblks;
        perContact = double(after - before) / double(cache->Size());
    }
    state.counters["bytes_per_contact"] = perContact;
}
BENCHMARK(BM_MemoryPerContact)->Iterations(1)->Unit(benchmark::kMillisecond);

// Prints the runs, then how the cache compares with each reference.
class ComparingReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& reports) override {
        ConsoleReporter::ReportRuns(reports);
        for (const Run& run : reports)
            if (!run.error_occurred && run.run_type == Run::RT_Iteration)
                m_times[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        Compare("lookup: scan time / cache time", "BM_LibphonenumberScan", "BM_CacheLookup");
        Compare("cold load: cache time / plain select time", "BM_CacheColdLoad", "BM_PlainSelect");
    }

private:
    void Compare(const char* what, const std::string& a, const std::string& b) {
        if (m_times[a] > 0 && m_times[b] > 0)
            GetOutputStream() << what << ": " << m_times[a] / m_times[b] << "\n";
    }
    std::map<std::string, double> m_times;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    ComparingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    g_bench.reset();
    benchmark::Shutdown();
    return 0;
}
