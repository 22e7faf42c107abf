#include "pim/SimCard.h"

#include "ce/regext.h"
#include "kernel/Trace.h"
#include "pim/CedbFile.h"
#include "pim/CedbStatement.h"
#include "pim/SimCallLogSamples.h"

#include <sqlite3.h>

namespace platform {

namespace {

constexpr const char* kSchema =
    "CREATE TABLE IF NOT EXISTS phonebook(location INTEGER PRIMARY KEY, name TEXT NOT NULL,"
    " number TEXT NOT NULL);"
    "CREATE TABLE IF NOT EXISTS card(key TEXT PRIMARY KEY, value INTEGER NOT NULL);";

bool IsDialCharacter(char16_t c) {
    return (c >= u'0' && c <= u'9') || c == u'*' || c == u'#' || c == u'p' || c == u'w' ||
           c == u',' || c == u' ' || c == u'-' || c == u'.' || c == u'(' || c == u')';
}

int64_t StateNumber(SimState state) { return int64_t(state); }

SimState StateFromNumber(int64_t number) {
    switch (number) {
    case 1: return SimState::NotReady;
    case 2: return SimState::Absent;
    default: return SimState::Ready;
    }
}

} // namespace

SimCard& SimCard::Instance() {
    static SimCard card;
    return card;
}

HRESULT SimCard::CheckEntry(std::u16string_view name, std::u16string_view number) {
    if (name.size() > kMaxNameLength)
        return SIM_E_INVALIDTEXTSTRING;
    for (char16_t c : name)
        if (c < 0x20 || c == 0x7F)
            return SIM_E_INVALIDTEXTSTRING;
    if (number.empty() || number.size() > kMaxNumberLength)
        return SIM_E_INVALIDDIALSTRING;
    for (size_t i = 0; i < number.size(); ++i)
        if (!IsDialCharacter(number[i]) && !(number[i] == u'+' && i == 0))
            return SIM_E_INVALIDDIALSTRING;
    return S_OK;
}

DWORD SimCard::RadioReadyState(SimState state) {
    switch (state) {
    case SimState::Ready: return kRadioOn | kSimInserted | kSimReady;
    case SimState::NotReady: return kRadioOn | kSimInserted;
    case SimState::Absent: return kRadioOn;
    }
    return 0;
}

bool SimCard::Boot(const std::filesystem::path& folder) {
    SimState state;
    {
        std::lock_guard lock(m_mutex);
        CloseLocked();
        m_file = folder / "sim.db";
        m_state = SimState::Ready;
        bool created = false;
        if (!OpenLocked(created)) {
            SetAsideLocked(sqlite3_errmsg(m_db));
            CloseLocked();
            if (!OpenLocked(created)) {
                Trace("sim", "cannot open %s: the SIM phonebook is unavailable", m_file.c_str());
                CloseLocked();
            }
        }
        if (m_db && created && !FillFactoryLocked())
            Trace("sim", "the factory SIM entries could not be written");
        if (m_db) {
            CedbStatement read(m_db, "SELECT value FROM card WHERE key = 'state'");
            if (read.Step() == SQLITE_ROW)
                m_state = StateFromNumber(read.Int(0));
        }
        state = m_state;
    }
    PublishState(state);
    return m_db != nullptr;
}

void SimCard::Shutdown() {
    std::lock_guard lock(m_mutex);
    CloseLocked();
}

// Opens the store and checks that it is a readable SIM store; `created` tells whether
// the file was new.
bool SimCard::OpenLocked(bool& created) {
    std::error_code ec;
    created = !std::filesystem::exists(m_file, ec);
    m_db = CedbFile::Open(m_file);
    if (!m_db)
        return false;
    if (!CedbFile::IsIntact(m_db) || !CedbExec(m_db, kSchema))
        return false;
    CedbStatement probe(m_db, "SELECT location, name, number FROM phonebook LIMIT 1");
    CedbStatement probeCard(m_db, "SELECT key, value FROM card LIMIT 1");
    return probe.IsValid() && probeCard.IsValid();
}

void SimCard::CloseLocked() {
    if (m_db)
        sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void SimCard::SetAsideLocked(const std::string& reason) {
    CloseLocked();
    CedbFile::SetAside(m_file, "sim", reason);
}

bool SimCard::FillFactoryLocked() {
    if (!CedbExec(m_db, "BEGIN IMMEDIATE"))
        return false;
    for (const SimSample& sample : SimSamples()) {
        CedbStatement insert(m_db, "INSERT OR REPLACE INTO phonebook VALUES (?, ?, ?)");
        if (!insert.Bind(1, int64_t(sample.location)).Bind(2, sample.name).Bind(3, sample.number).Run()) {
            CedbExec(m_db, "ROLLBACK");
            return false;
        }
    }
    return CedbExec(m_db, "COMMIT");
}

SimState SimCard::State() {
    std::lock_guard lock(m_mutex);
    return m_state;
}

void SimCard::SetState(SimState state) {
    {
        std::lock_guard lock(m_mutex);
        m_state = state;
        if (m_db) {
            CedbStatement write(m_db, "INSERT OR REPLACE INTO card VALUES ('state', ?)");
            if (!write.Bind(1, StateNumber(state)).Run())
                Trace("sim", "the SIM state could not be stored: %s", sqlite3_errmsg(m_db));
        }
    }
    PublishState(state);
}

// Published without the card's lock: registry watchers run on their own thread and may
// call back into the SIM Manager.
void SimCard::PublishState(SimState state) {
    HRESULT result = RegistrySetDWORD(HKEY_LOCAL_MACHINE, u"System\\State\\Phone",
                                      u"Radio Ready State", RadioReadyState(state));
    if (FAILED(result))
        Trace("sim", "\"Radio Ready State\" could not be published (0x%08X)", unsigned(result));
}

HRESULT SimCard::Read(DWORD location, SimEntry& entry) {
    if (location < kFirstLocation || location > kLastLocation)
        return SIM_E_INVALIDINDEX;
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    CedbStatement read(m_db, "SELECT name, number FROM phonebook WHERE location = ?");
    int step = read.Bind(1, int64_t(location)).Step();
    if (step == SQLITE_DONE)
        return SIM_E_NOTFOUND;
    if (step != SQLITE_ROW)
        return SIM_E_SIMFAILURE;
    entry.location = location;
    entry.name = read.Text(0);
    entry.number = read.Text(1);
    return S_OK;
}

HRESULT SimCard::Write(DWORD location, const std::u16string& name, const std::u16string& number,
                       DWORD& stored) {
    if (location != SIM_PBINDEX_FIRSTAVAILABLE &&
        (location < kFirstLocation || location > kLastLocation))
        return SIM_E_INVALIDINDEX;
    if (HRESULT check = CheckEntry(name, number); FAILED(check))
        return check;
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    if (location == SIM_PBINDEX_FIRSTAVAILABLE) {
        // The lowest location not in use: 1 when 1 is free, else the first gap after a used one.
        CedbStatement free(m_db,
                           "SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM phonebook WHERE location = 1)"
                           " THEN 1 ELSE (SELECT MIN(location + 1) FROM phonebook WHERE location + 1"
                           " NOT IN (SELECT location FROM phonebook)) END");
        if (free.Step() != SQLITE_ROW)
            return SIM_E_SIMFAILURE;
        location = DWORD(free.Int(0));
        if (location > kLastLocation)
            return SIM_E_MEMORYFULL;
    }
    CedbStatement write(m_db, "INSERT OR REPLACE INTO phonebook VALUES (?, ?, ?)");
    if (!write.Bind(1, int64_t(location)).Bind(2, name).Bind(3, number).Run())
        return SIM_E_SIMFAILURE;
    stored = location;
    return S_OK;
}

HRESULT SimCard::Delete(DWORD location) {
    if (location < kFirstLocation || location > kLastLocation)
        return SIM_E_INVALIDINDEX;
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    CedbStatement remove(m_db, "DELETE FROM phonebook WHERE location = ?");
    if (!remove.Bind(1, int64_t(location)).Run())
        return SIM_E_SIMFAILURE;
    return sqlite3_changes(m_db) == 0 ? SIM_E_NOTFOUND : S_OK;
}

HRESULT SimCard::UsedRange(DWORD& min, DWORD& max, DWORD& used) {
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    CedbStatement range(m_db, "SELECT MIN(location), MAX(location), COUNT(*) FROM phonebook");
    if (range.Step() != SQLITE_ROW)
        return SIM_E_SIMFAILURE;
    used = DWORD(range.Int(2));
    min = used ? DWORD(range.Int(0)) : kFirstLocation;
    max = used ? DWORD(range.Int(1)) : kFirstLocation - 1;
    return S_OK;
}

HRESULT SimCard::List(std::vector<SimEntry>& entries) {
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    entries.clear();
    CedbStatement list(m_db, "SELECT location, name, number FROM phonebook ORDER BY location");
    int step;
    while ((step = list.Step()) == SQLITE_ROW)
        entries.push_back({DWORD(list.Int(0)), list.Text(1), list.Text(2)});
    return step == SQLITE_DONE ? S_OK : SIM_E_SIMFAILURE;
}

} // namespace platform
