// Cost of the registry's hot calls: reading and writing one value through an open key.
#include "ce/registry.h"
#include "device/Device.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

namespace {

// One device for the whole program, with a key holding the values read and written.
struct BenchDevice {
    BenchDevice() {
        RegCreateKeyExW(HKEY_CURRENT_USER, u"Software\\Bench", 0, nullptr, 0, 0, nullptr, &key, nullptr);
        DWORD value = 1;
        RegSetValueExW(key, u"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4);
        const char16_t text[] = u"\\Program Files\\Tavik Dialora\\Corvane.exe";
        RegSetValueExW(key, u"Text", 0, REG_SZ, reinterpret_cast<const BYTE*>(text), sizeof text);
    }
    ~BenchDevice() {
        RegCloseKey(key);
    }
    testsupport::ScratchDevice device;
    HKEY key = nullptr;
};

BenchDevice& Device() {
    static BenchDevice device;
    return device;
}

void QueryDword(benchmark::State& state) {
    HKEY key = Device().key;
    for (auto _ : state) {
        DWORD value = 0, size = sizeof value;
        benchmark::DoNotOptimize(RegQueryValueExW(key, u"Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size));
        benchmark::DoNotOptimize(value);
    }
}
BENCHMARK(QueryDword);

void QueryString(benchmark::State& state) {
    HKEY key = Device().key;
    for (auto _ : state) {
        char16_t text[64];
        DWORD size = sizeof text;
        benchmark::DoNotOptimize(RegQueryValueExW(key, u"Text", nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size));
    }
}
BENCHMARK(QueryString);

// Every write changes the value, so each one schedules a save and is a real change.
void SetDword(benchmark::State& state) {
    HKEY key = Device().key;
    DWORD value = 0;
    for (auto _ : state) {
        ++value;
        benchmark::DoNotOptimize(RegSetValueExW(key, u"Counter", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), 4));
    }
}
BENCHMARK(SetDword);

void OpenQueryClose(benchmark::State& state) {
    Device();
    for (auto _ : state) {
        HKEY key = nullptr;
        RegOpenKeyExW(HKEY_CURRENT_USER, u"Software\\Bench", 0, KEY_READ, &key);
        DWORD value = 0, size = sizeof value;
        RegQueryValueExW(key, u"Number", nullptr, nullptr, reinterpret_cast<BYTE*>(&value), &size);
        RegCloseKey(key);
    }
}
BENCHMARK(OpenQueryClose);

} // namespace

BENCHMARK_MAIN();
