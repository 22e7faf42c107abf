// The simulated SIM card: its phonebook of numbered locations and its state (ready, not
// ready, absent), kept in its own SQLite store "sim.db" in the device's data folder, one
// transaction per change. The SIM Manager functions and the console work through it; the
// state is published as "Radio Ready State" under HKLM "System\State\Phone".
#pragma once

#include "ce/simmgr.h"

#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

struct sqlite3;

namespace platform {

enum class SimState { Ready, NotReady, Absent };

struct SimEntry {
    DWORD location = 0;
    std::u16string name;
    std::u16string number;
};

class SimCard {
public:
    static constexpr DWORD kFirstLocation = 1;
    static constexpr DWORD kLastLocation = 250;
    static constexpr size_t kMaxNumberLength = 40; // characters
    static constexpr size_t kMaxNameLength = 32;   // UTF-16 units
    // "Radio Ready State" bits: radio on, SIM inserted, SIM phonebook ready.
    static constexpr DWORD kRadioOn = 0x1;
    static constexpr DWORD kSimInserted = 0x2;
    static constexpr DWORD kSimReady = 0x4;

    static SimCard& Instance();

    // Opens (or creates, with the factory entries) "sim.db" in `folder`; a damaged store
    // is renamed "sim.db.corrupt-<time>" and replaced. Publishes the state. False when no
    // store could be opened: every phonebook operation then fails with SIM_E_SIMFAILURE.
    bool Boot(const std::filesystem::path& folder);
    void Shutdown();

    SimState State();
    // Stored with the card and published at once.
    void SetState(SimState state);
    static DWORD RadioReadyState(SimState state);

    // These ignore the state (the console works on the card itself); results are
    // S_OK or SIM_E_* codes.
    HRESULT Read(DWORD location, SimEntry& entry);
    // `location` SIM_PBINDEX_FIRSTAVAILABLE takes the lowest free location; `stored`
    // receives the location used.
    HRESULT Write(DWORD location, const std::u16string& name, const std::u16string& number,
                  DWORD& stored);
    HRESULT Delete(DWORD location);
    // The lowest and highest used location and the count; min > max when empty.
    HRESULT UsedRange(DWORD& min, DWORD& max, DWORD& used);
    HRESULT List(std::vector<SimEntry>& entries);

    // S_OK, SIM_E_INVALIDTEXTSTRING or SIM_E_INVALIDDIALSTRING.
    static HRESULT CheckEntry(std::u16string_view name, std::u16string_view number);

private:
    bool OpenLocked(bool& created);
    void CloseLocked();
    void SetAsideLocked(const std::string& reason);
    bool FillFactoryLocked();
    void PublishState(SimState state);

    std::mutex m_mutex;
    sqlite3* m_db = nullptr;
    std::filesystem::path m_file;
    SimState m_state = SimState::Ready;
};

} // namespace platform
