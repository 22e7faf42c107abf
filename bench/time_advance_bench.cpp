// Host time that `time advance` costs: a day of device time on a booted phone (the shell
// with its task bar clock, the phone application, the main program with scheduled profiles
// switching twice a day), advanced in stops at every timer and wake-up on the way.
#include "ce/kernel.h"
#include "ce/regext.h"
#include "common/ProfileFile.h"
#include "common/Settings.h"
#include "apps/PlatformPrograms.h"
#include "kernel/DeviceClock.h"
#include "kernel/ProcessLauncher.h"
#include "kernel/WaitHub.h"
#include "support/ScratchDevice.h"

#include <benchmark/benchmark.h>

#include <stdexcept>

namespace {

constexpr WCHAR kMainProgram[] = u"\\Program Files\\Tavik Dialora\\Corvane.exe";
constexpr WCHAR kProfileFile[] = u"\\Program Files\\Tavik Dialora\\CustomProfile.xml";
constexpr int64_t kDayMs = int64_t(24) * 3600 * 1000;

common::ProfileRecord Night() {
    common::ProfileRecord record;
    record.name = u"Night";
    record.dayMask = 0x7F;
    record.ringTone = u"*none*";
    record.ringScript = u"af3";
    record.initialRingLevel = 0;
    record.start = 22 * 3600;
    record.end = 7 * 3600 + common::kSecondsPerDay;
    return record;
}

platform::DeviceOptions Options() {
    platform::DeviceOptions options;
    options.installFrom = DIALORA_IMAGE_DIR;
    return options;
}

// The phone as it boots, with the custom profile and its schedule in force.
struct BootedPhone {
    BootedPhone() : device(Options()) {
        std::string error;
        if (!platform::PlatformPrograms::Start(error))
            throw std::runtime_error("the platform programs did not start: " + error);
        common::ProfileRecord base;
        base.name = u"Custom";
        if (!common::WriteProfileFile(kProfileFile, base, {Night()}))
            throw std::runtime_error("cannot write the profile file");
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"ScheduledProfiles", 1);
        RegistrySetDWORD(HKEY_LOCAL_MACHINE, common::kOptionsKey, u"LastProfile", 5);
        DWORD error2 = 0;
        if (!platform::ProcessLauncher::Start(kMainProgram, u"-startup",
                                              platform::ProcessLauncher::kShowDefault, false, error2))
            throw std::runtime_error("the main program did not start");
        platform::WaitHub::Instance().WaitIdle(std::chrono::milliseconds(5000));
        platform::DeviceClock::Instance().Freeze();
    }
    testsupport::ScratchDevice device;
};

void AdvanceOneDay(benchmark::State& state) {
    static BootedPhone phone;
    auto& clock = platform::DeviceClock::Instance();
    for (auto _ : state)
        clock.AdvanceStepwise(kDayMs, 2000);
    state.counters["device_days_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(AdvanceOneDay)->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
