// The keypad search per keystroke over 10,000 contacts: a fresh search for the typed keys and
// the narrowing when one more key is typed, on its own and through the list model of the
// main pages (which reads the contacts from the core object's directory), beside a plain
// substring scan of the same names (what a search without keypad letters, words and numbers
// would cost), in one run.
#include "common/ContactDirectory.h"
#include "common/ContactRecord.h"
#include "common/CoreObject.h"
#include "common/PhoneKey.h"
#include "corlist/contacts/ContactSearch.h"
#include "corlist/contacts/ListModel.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <deque>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kContacts = 10000;

struct Book {
    std::deque<common::ContactRecord> records;
    std::vector<corlist::SearchRow> rows;
    std::vector<std::u16string> companies;
};

// Names from syllables, a company for every third contact, two numbers each.
Book& Contacts() {
    static Book book = [] {
        Book made;
        const char16_t* syllables[] = {u"an", u"jo", u"mar", u"ke", u"li", u"sa", u"to", u"ben", u"da", u"el"};
        std::mt19937 random(7);
        made.companies.reserve(kContacts);
        for (int i = 0; i < kContacts; ++i) {
            std::u16string first, last;
            for (int s = 0; s < 2; ++s)
                first += syllables[random() % 10];
            for (int s = 0; s < 3; ++s)
                last += syllables[random() % 10];
            first[0] = char16_t(first[0] - 32);
            last[0] = char16_t(last[0] - 32);
            common::ContactRecord& record = made.records.emplace_back();
            record.displayName = first + u" " + last;
            record.lastCall = (i % 7 == 0) ? DWORD(random() % 100000) : 0;
            if (i % 3 == 0) {
                made.companies.push_back(last + u" Ltd");
                record.company = &made.companies.back();
            }
            common::PhoneKeyBlock block;
            std::u16string mobile = u"+44 7" + std::u16string(std::to_string(100000000 + i).begin(), std::to_string(100000000 + i).end());
            block.Append(common::PhoneKey(mobile, 1));
            block.Append(common::PhoneKey(u"020 7946 " + std::u16string(std::to_string(1000 + i % 9000).begin(), std::to_string(1000 + i % 9000).end()), 2));
            record.phoneKeys = block.Take();
            corlist::SearchRow row;
            row.contact = &record;
            made.rows.push_back(row);
        }
        return made;
    }();
    return book;
}

testsupport::ScratchDevice& Device() {
    static testsupport::ScratchDevice device;
    return device;
}

void FreshSearch(benchmark::State& state, const char16_t* typed) {
    Device();
    Book& book = Contacts();
    corlist::ContactSearch search;
    size_t found = 0;
    for (auto _ : state)
        found = search.Search(book.rows, typed, false, false);
    state.counters["found"] = double(found);
}

void NarrowingSearch(benchmark::State& state, const char16_t* before, const char16_t* typed) {
    Device();
    Book& book = Contacts();
    corlist::ContactSearch search;
    size_t found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        search.Search(book.rows, before, false, false);
        state.ResumeTiming();
        found = search.Search(book.rows, typed, true, false);
    }
    state.counters["found"] = double(found);
}

// The book as the main program's directory hands it out: contacts only, no categories,
// companies or calls beyond the first entries.
class BookDirectory final : public common::ContactDirectory {
public:
    size_t ContactCount() const override { return Contacts().rows.size(); }
    common::ContactRecord* ContactAt(size_t index) const override { return Contacts().rows[index].contact; }
    size_t CategoryCount() const override { return m_categories.size(); }
    const common::CategoryEntry& CategoryAt(size_t index) const override { return m_categories[index]; }
    size_t CompanyCount() const override { return 1; }
    const std::u16string& CompanyAt(size_t) const override { return m_allCompanies; }
    size_t CallCount() const override { return 0; }
    common::CallLogEntry* CallAt(size_t) const override { return nullptr; }
    IContact* FetchItem(common::ContactRecord&) override { return nullptr; }
    void ReleaseItem(common::ContactRecord&) override {}

private:
    std::vector<common::CategoryEntry> m_categories{{u"All Categories"}, {u"Favorites"}};
    std::u16string m_allCompanies = u"All Companies";
};

// A core object over the book; the operations the model does not call do nothing.
class BookCore final : public common::CoreObject {
public:
    BookCore() {
        m_directory = &m_book;
        m_settings.Record() = common::Settings::Defaults();
    }
    ~BookCore() override = default;
    common::ContactRecord* FindContactByNumber(const WCHAR*) override { return nullptr; }
    common::ContactRecord* FindContactByOid(DWORD) override { return nullptr; }
    BOOL BeamContact(common::ContactRecord*) override { return FALSE; }
    void* CreateContact() override { return nullptr; }
    BOOL DeleteContacts(common::ContactRecord**, int, BOOL) override { return FALSE; }
    BOOL DeleteCallLogEntries(common::CallLogEntry**, int, BOOL) override { return FALSE; }
    int CountCalls(int, const FILETIME*, const FILETIME*, DWORD*) override { return 0; }
    CoreObject* Self() override { return this; }
    void SuppressNotification(common::ContactRecord*) override {}
    void Destroy() override {}

private:
    BookDirectory m_book;
};

BookCore& Core() {
    Device();
    static BookCore core;
    return core;
}

void ModelFreshSearch(benchmark::State& state, const char16_t* typed) {
    corlist::ListModel model(Core());
    model.Load(corlist::ViewBit::kContacts);
    size_t found = 0;
    for (auto _ : state)
        found = model.Search(typed, false);
    state.counters["found"] = double(found);
}

void ModelNarrowingSearch(benchmark::State& state, const char16_t* before, const char16_t* typed) {
    corlist::ListModel model(Core());
    model.Load(corlist::ViewBit::kContacts);
    size_t found = 0;
    for (auto _ : state) {
        state.PauseTiming();
        model.Search(before, false);
        state.ResumeTiming();
        found = model.Search(typed, true);
    }
    state.counters["found"] = double(found);
}

void PlainSubstringScan(benchmark::State& state, const char16_t* typed) {
    Book& book = Contacts();
    std::u16string needle(typed);
    size_t found = 0;
    for (auto _ : state) {
        found = 0;
        for (const corlist::SearchRow& row : book.rows)
            found += row.contact->displayName.find(needle) != std::u16string::npos;
        benchmark::DoNotOptimize(found);
    }
    state.counters["found"] = double(found);
}

BENCHMARK_CAPTURE(FreshSearch, OneKey, u"5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FreshSearch, ThreeKeys, u"562")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(FreshSearch, NumberDigits, u"07100")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(NarrowingSearch, ThirdKey, u"56", u"562")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ModelFreshSearch, OneKey, u"5")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ModelFreshSearch, ThreeKeys, u"562")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ModelFreshSearch, NumberDigits, u"07100")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(ModelNarrowingSearch, ThirdKey, u"56", u"562")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(PlainSubstringScan, ThreeLetters, u"jom")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
