// Host time from a device boot to the contacts page with its rows: the device boots (shell,
// phone application) on a phone book of 1,000 or 10,000 contacts, the main program starts
// with "-contacts", reads the store into its cache and opens the frame, which loads the
// skin and shows the list. Measured until the console's `ui` reads the first row.
#include "ce/pimstore.h"
#include "ce/user.h"
#include "console/Console.h"
#include "console/DeviceCommands.h"
#include "device/Device.h"
#include "kernel/ProcessLauncher.h"
#include "pim/ContactStore.h"
#include "support/TestDevice.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <thread>

namespace {

constexpr WCHAR kMainProgram[] = u"\\Program Files\\Tavik Dialora\\Corvane.exe";

std::u16string Wide(const std::string& text) {
    return std::u16string(text.begin(), text.end());
}

platform::DeviceOptions Options(const std::filesystem::path& folder) {
    platform::DeviceOptions options;
    options.folder = folder;
    options.installFrom = DIALORA_IMAGE_DIR;
    options.startMainProgram = false;
    options.factoryContacts = false;
    return options;
}

std::vector<platform::ContactRecord> PhoneBook(int count) {
    static const char* const kFirst[] = {"Anna", "Ben", "Clara", "David", "Emma", "Frank", "Greta", "Hugo"};
    static const char* const kLast[] = {"Berg", "Carter", "Diaz", "Evans", "Fox", "Green", "Hall", "Ito"};
    std::vector<platform::ContactRecord> records(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        std::string first = kFirst[i % 8];
        std::string last = std::string(kLast[(i / 8) % 8]) + std::to_string(i);
        auto& values = records[size_t(i)].values;
        values[PIMPR_FIRST_NAME] = Wide(first);
        values[PIMPR_LAST_NAME] = Wide(last);
        values[PIMPR_FILEAS] = Wide(last + ", " + first);
        values[PIMPR_MOBILE_TELEPHONE_NUMBER] = Wide("+44 7700 " + std::to_string(100000 + i));
    }
    return records;
}

// A device folder holding `count` contacts, made once per size.
const std::filesystem::path& PreparedFolder(int count) {
    static std::map<int, std::filesystem::path> folders;
    auto found = folders.find(count);
    if (found != folders.end())
        return found->second;
    std::filesystem::path folder = testsupport::MakeTempFolder("dialora-boot-bench");
    platform::DeviceOptions options = Options(folder);
    options.startPlatformPrograms = false;
    platform::Device device(options);
    std::string error;
    if (!device.Boot(error))
        throw std::runtime_error("the device did not boot: " + error);
    std::vector<platform::ContactRecord> records = PhoneBook(count);
    if (!platform::ContactStore::Instance().Insert(records, error))
        throw std::runtime_error("the phone book was not stored: " + error);
    device.Shutdown();
    return folders.emplace(count, folder).first->second;
}

bool ShowsRows(platform::Console& console) {
    for (const std::string& line : console.Execute("ui").lines)
        if (line.find("row 0 ") != std::string::npos)
            return true;
    return false;
}

void BootToContacts(benchmark::State& state) {
    const std::filesystem::path& folder = PreparedFolder(int(state.range(0)));
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        platform::Device device(Options(folder));
        std::string error;
        if (!device.Boot(error))
            throw std::runtime_error("the device did not boot: " + error);
        platform::Console console;
        platform::RegisterDeviceCommands(console);
        DWORD code = 0;
        if (!platform::ProcessLauncher::Start(kMainProgram, u"-contacts", SW_SHOW, false, code))
            throw std::runtime_error("the main program did not start");
        auto limit = start + std::chrono::seconds(60);
        while (!ShowsRows(console)) {
            if (std::chrono::steady_clock::now() > limit)
                throw std::runtime_error("no rows within 60 s");
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
        device.Shutdown();
    }
    state.counters["contacts"] = double(state.range(0));
}
BENCHMARK(BootToContacts)->Arg(1000)->Arg(10000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
