#include "pim/SimCard.h"

#include "ce/regext.h"
#include "kernel/Trace.h"
#include "pim/CedbFile.h"
#include "pim/SqlStatement.h"
#include "pim/SqlTransaction.h"
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
    bool open = false;
    {
        std::lock_guard lock(m_mutex);
        CloseLocked();
        m_file = folder / "sim.db";
        m_state = SimState::Ready;
        bool created = false;
        if (!OpenLocked(created)) {
            SetAsideLocked(std::string("not a readable SIM store: ") + sqlite3_errmsg(m_db));
            if (!OpenLocked(created)) {
                Trace("sim", "cannot open %s: the SIM phonebook is unavailable", m_file.c_str());
                CloseLocked();
            }
        }
        if (m_db && created && !FillFactoryLocked())
            Trace("sim", "the factory SIM entries could not be written");
        if (m_db) {
            SqlStatement read(m_db, "SELECT value FROM card WHERE key = 'state'");
            if (read.Step() == SQLITE_ROW)
                m_state = StateFromNumber(read.ColumnInt64(0));
        }
        state = m_state;
        open = m_db != nullptr;
    }
    PublishState(state);
    return open;
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
    std::string damage; // the caller reports the connection's last error
    if (!CedbFile::IsIntact(m_db, damage) || !CedbFile::Exec(m_db, kSchema))
        return false;
    SqlStatement probe(m_db, "SELECT location, name, number FROM phonebook LIMIT 1");
    SqlStatement probeCard(m_db, "SELECT key, value FROM card LIMIT 1");
    return probe.Ok() && probeCard.Ok();
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
    SqlTransaction transaction(m_db);
    if (!transaction.Begun())
        return false;
    for (const SimSample& sample : SimSamples()) {
        SqlStatement insert(m_db, "INSERT OR REPLACE INTO phonebook VALUES (?, ?, ?)");
        insert.BindInt64(1, sample.location);
        insert.BindText16(2, sample.name);
        insert.BindText16(3, sample.number);
        if (insert.Step() != SQLITE_DONE)
            return false;
    }
    std::string error;
    return transaction.Commit(error);
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
            SqlStatement write(m_db, "INSERT OR REPLACE INTO card VALUES ('state', ?)");
            write.BindInt64(1, StateNumber(state));
            if (write.Step() != SQLITE_DONE)
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
    SqlStatement read(m_db, "SELECT name, number FROM phonebook WHERE location = ?");
    read.BindInt64(1, location);
    int step = read.Step();
    if (step == SQLITE_DONE)
        return SIM_E_NOTFOUND;
    if (step != SQLITE_ROW)
        return SIM_E_SIMFAILURE;
    entry.location = location;
    entry.name = read.ColumnText16(0);
    entry.number = read.ColumnText16(1);
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
        SqlStatement free(m_db,
                           "SELECT CASE WHEN NOT EXISTS (SELECT 1 FROM phonebook WHERE location = 1)"
                           " THEN 1 ELSE (SELECT MIN(location + 1) FROM phonebook WHERE location + 1"
                           " NOT IN (SELECT location FROM phonebook)) END");
        if (free.Step() != SQLITE_ROW)
            return SIM_E_SIMFAILURE;
        location = DWORD(free.ColumnInt64(0));
        if (location > kLastLocation)
            return SIM_E_MEMORYFULL;
    }
    SqlStatement write(m_db, "INSERT OR REPLACE INTO phonebook VALUES (?, ?, ?)");
    write.BindInt64(1, location);
    write.BindText16(2, name);
    write.BindText16(3, number);
    if (write.Step() != SQLITE_DONE)
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
    SqlStatement remove(m_db, "DELETE FROM phonebook WHERE location = ?");
    remove.BindInt64(1, location);
    if (remove.Step() != SQLITE_DONE)
        return SIM_E_SIMFAILURE;
    return sqlite3_changes(m_db) == 0 ? SIM_E_NOTFOUND : S_OK;
}

HRESULT SimCard::UsedRange(DWORD& min, DWORD& max, DWORD& used) {
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    SqlStatement range(m_db, "SELECT MIN(location), MAX(location), COUNT(*) FROM phonebook");
    if (range.Step() != SQLITE_ROW)
        return SIM_E_SIMFAILURE;
    used = DWORD(range.ColumnInt64(2));
    min = used ? DWORD(range.ColumnInt64(0)) : kFirstLocation;
    max = used ? DWORD(range.ColumnInt64(1)) : kFirstLocation - 1;
    return S_OK;
}

HRESULT SimCard::List(std::vector<SimEntry>& entries) {
    std::lock_guard lock(m_mutex);
    if (!m_db)
        return SIM_E_SIMFAILURE;
    entries.clear();
    SqlStatement list(m_db, "SELECT location, name, number FROM phonebook ORDER BY location");
    int step;
    while ((step = list.Step()) == SQLITE_ROW)
        entries.push_back({DWORD(list.ColumnInt64(0)), list.ColumnText16(1), list.ColumnText16(2)});
    return step == SQLITE_DONE ? S_OK : SIM_E_SIMFAILURE;
}

} // namespace platform
