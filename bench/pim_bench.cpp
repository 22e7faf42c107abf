// Cost of the contact store's hot paths: the main program's contact load (every item of
// the contacts folder read with one GetProps of its 21 properties into one reusable heap
// buffer), one such GetProps, a Save (one synced transaction), and reading vCards.
#include "ce/kernel.h"
#include "ce/pimstore.h"
#include "pim/VCardMapper.h"
#include "pim/VCardParser.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

const CEPROPID kLoadList[] = {
    PIMPR_SMARTPROP, PIMPR_CATEGORIES, PIMPR_IM1_ADDRESS, PIMPR_IM2_ADDRESS, PIMPR_IM3_ADDRESS,
    PIMPR_FILEAS, PIMPR_FIRST_NAME, PIMPR_MIDDLE_NAME, PIMPR_LAST_NAME, PIMPR_NICKNAME,
    PIMPR_COMPANY_NAME, PIMPR_MOBILE_TELEPHONE_NUMBER, PIMPR_HOME_TELEPHONE_NUMBER,
    PIMPR_BUSINESS_TELEPHONE_NUMBER, PIMPR_HOME2_TELEPHONE_NUMBER, PIMPR_BUSINESS2_TELEPHONE_NUMBER,
    PIMPR_SIM_PHONE, PIMPR_CAR_TELEPHONE_NUMBER, PIMPR_ASSISTANT_TELEPHONE_NUMBER,
    PIMPR_COMPANY_TELEPHONE_NUMBER, PIMPR_RADIO_TELEPHONE_NUMBER};
constexpr WORD kLoadCount = WORD(std::size(kLoadList));

// One device with the factory phone book, logged on, for the whole program.
struct BenchStore {
    BenchStore() {
        CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        CoCreateInstance(CLSID_Application, nullptr, CLSCTX_INPROC_SERVER, IID_IPOutlookApp,
                         reinterpret_cast<void**>(&app));
        app->Logon(nullptr);
        app->GetDefaultFolder(olFolderContacts, &folder);
        folder->get_Items(&items);
    }
    ~BenchStore() {
        items->Release();
        folder->Release();
        app->Logoff();
        app->Release();
        CoUninitialize();
    }
    testsupport::ScratchDevice device;
    IPOutlookApp* app = nullptr;
    IFolder* folder = nullptr;
    IPOutlookItemCollection* items = nullptr;
};

BenchStore& Store() {
    static BenchStore store;
    return store;
}

IItem* ItemAt(int index) {
    IDispatch* dispatch = nullptr;
    IItem* item = nullptr;
    if (SUCCEEDED(Store().items->Item(index, &dispatch))) {
        dispatch->QueryInterface(IID_IItem, reinterpret_cast<void**>(&item));
        dispatch->Release();
    }
    return item;
}

void LoadAllContacts(benchmark::State& state) {
    HANDLE heap = GetProcessHeap();
    ULONG size = 4096;
    auto* buffer = static_cast<CEPROPVAL*>(HeapAlloc(heap, 0, size));
    int count = 0;
    for (auto _ : state) {
        Store().items->get_Count(&count);
        for (int i = 1; i <= count; ++i) {
            IItem* item = ItemAt(i);
            item->GetProps(kLoadList, CEDB_ALLOWREALLOC, kLoadCount, &buffer, &size, heap);
            item->Release();
        }
    }
    HeapFree(heap, 0, buffer);
    state.counters["contacts"] = count;
}
BENCHMARK(LoadAllContacts)->Unit(benchmark::kMicrosecond);

void GetPropsLoadList(benchmark::State& state) {
    HANDLE heap = GetProcessHeap();
    ULONG size = 4096;
    auto* buffer = static_cast<CEPROPVAL*>(HeapAlloc(heap, 0, size));
    IItem* item = ItemAt(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(item->GetProps(kLoadList, CEDB_ALLOWREALLOC, kLoadCount, &buffer, &size, heap));
    item->Release();
    HeapFree(heap, 0, buffer);
}
BENCHMARK(GetPropsLoadList);

void SaveContact(benchmark::State& state) {
    IItem* item = ItemAt(2);
    unsigned n = 0;
    for (auto _ : state) {
        std::u16string nickname = u"Nick" + std::u16string(1, char16_t(u'A' + n++ % 26));
        CEPROPVAL value{};
        value.propid = PIMPR_NICKNAME;
        value.val.lpwstr = nickname.data();
        item->SetProps(0, 1, &value);
        benchmark::DoNotOptimize(item->Save());
    }
    item->Release();
}
BENCHMARK(SaveContact)->Unit(benchmark::kMicrosecond);

void ReadVCards(benchmark::State& state) {
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Smith" + std::to_string(i) +
                ";John;;;\r\nORG:Contoso Ltd;Sales\r\nTEL;TYPE=cell:+44 7700 900" + std::to_string(100 + i) +
                "\r\nEMAIL:john" + std::to_string(i) + "@example.com\r\nADR;TYPE=WORK:;;1 Main St;Springfield;IL;62701;USA\r\nEND:VCARD\r\n";
    for (auto _ : state)
        for (const platform::VCard& card : platform::VCardParser::Parse(text)) {
            platform::ContactRecord record;
            std::string reason;
            benchmark::DoNotOptimize(platform::VCardMapper::ToRecord(card, record, reason));
        }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}
BENCHMARK(ReadVCards)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
