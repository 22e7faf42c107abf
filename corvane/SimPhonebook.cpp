#include "corvane/SimPhonebook.h"

#include "ce/kernel.h"

#include <cwchar>

namespace corvane {

namespace {

std::u16string Terminated(const WCHAR* text, size_t capacity) {
    size_t length = 0;
    while (length < capacity && text[length])
        ++length;
    return std::u16string(text, length);
}

} // namespace

HRESULT SimPhonebook::Open() {
    if (m_sim)
        return S_OK;
    return SimInitialize(SIM_INIT_NONE, nullptr, 0, &m_sim);
}

HRESULT SimPhonebook::ReadLocations(std::vector<Entry>& entries) {
    SIMCAPS caps{};
    caps.cbSize = sizeof caps;
    HRESULT result = SimGetDevCaps(m_sim, SIM_CAPSTYPE_PBINDEXRANGE, &caps);
    if (FAILED(result))
        return result;
    // 64-bit counting: a range that ends at the last DWORD still ends.
    for (uint64_t location = caps.dwMinPBIndex; location <= caps.dwMaxPBIndex; ++location) {
        SIMPHONEBOOKENTRY entry{};
        entry.cbSize = sizeof entry;
        result = SimReadPhonebookEntry(m_sim, SIM_PBSTORAGE_SIM, DWORD(location), &entry);
        if (result == SIM_E_NOTFOUND)
            continue;
        if (FAILED(result))
            return result;
        Entry read;
        read.location = DWORD(location);
        read.text = Terminated(entry.lpszText, MAX_LENGTH_PHONEBOOKENTRYTEXT);
        read.address = Terminated(entry.lpszAddress, MAX_LENGTH_ADDRESS);
        entries.push_back(std::move(read));
    }
    return S_OK;
}

HRESULT SimPhonebook::ReadAll(std::vector<Entry>& entries) {
    entries.clear();
    if (m_unusable)
        return SIM_E_NOSIM;
    HRESULT result = Open();
    if (SUCCEEDED(result))
        result = ReadLocations(entries);
    if (FAILED(result)) {
        entries.clear();
        HandleError(result);
    }
    return result;
}

void SimPhonebook::HandleError(HRESULT error) {
    switch (error) {
    case SIM_E_NOSIM:
    case SIM_E_SIMWRONG:
    case SIM_E_SIMNOTINSERTED:
        m_unusable = true;
        Close();
        return;
    case SIM_E_RADIOOFF:
    case SIM_E_SIMPINREQUIRED:
        WatchRadio();
        return;
    default:
        if (m_watcher)
            SetTimer(m_watcher, kRetryTimer, kRetryMilliseconds, nullptr);
        return;
    }
}

void SimPhonebook::WatchRadio() {
    if (m_radioWatch || !m_watcher)
        return;
    NOTIFICATIONCONDITION condition{};
    condition.ctComparisonType = REG_CT_ANYCHANGE;
    if (FAILED(RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Phone",
                                    u"Radio Ready State", m_watcher, kRadioReadyMessage, 0,
                                    &condition, &m_radioWatch)))
        m_radioWatch = nullptr;
}

bool SimPhonebook::OnRadioReadyChanged(DWORD value) {
    if (!m_radioWatch || !RadioReady(value))
        return false;
    RegistryCloseNotification(m_radioWatch);
    m_radioWatch = nullptr;
    return true;
}

HRESULT SimPhonebook::Delete(DWORD location) {
    HRESULT result = Open();
    if (FAILED(result))
        return result;
    return SimDeletePhonebookEntry(m_sim, SIM_PBSTORAGE_SIM, location);
}

void SimPhonebook::Close() {
    if (m_radioWatch)
        RegistryCloseNotification(m_radioWatch);
    m_radioWatch = nullptr;
    if (m_sim)
        SimDeinitialize(m_sim);
    m_sim = nullptr;
}

} // namespace corvane
