// The main program's resident object: the shared settings record, the contact and call
// log caches behind the operations the UI library calls, and the sound-profile engine.
// It lives for the program's whole life.
#pragma once

#include "common/CoreObject.h"
#include "corvane/CacheDirectory.h"
#include "corvane/CallLogCache.h"
#include "corvane/ContactCache.h"
#include "corvane/ProfileEngine.h"

#include <functional>
#include <string>

namespace corvane {

class Core final : public common::CoreObject {
public:
    // `profileFile`: the device path of the profile file beside the program.
    explicit Core(std::u16string profileFile)
        : m_profiles(std::move(profileFile)), m_contacts(m_itemLock, m_settings),
          m_callLog(m_contacts), m_lists(m_contacts, m_callLog) {
        m_contacts.SetCallLog(&m_callLog);
        m_directory = &m_lists;
    }

    common::ContactRecord* FindContactByNumber(const WCHAR* number) override;
    common::ContactRecord* FindContactByOid(DWORD oid) override;
    BOOL BeamContact(common::ContactRecord* contact) override;
    void* CreateContact() override;
    BOOL DeleteContacts(common::ContactRecord** records, int count, BOOL followLinks) override;
    BOOL DeleteCallLogEntries(common::CallLogEntry** entries, int count, BOOL followGroup) override;
    int CountCalls(int kind, const FILETIME* start, const FILETIME* end, DWORD* seconds) override;
    CoreObject* Self() override { return this; }
    void SuppressNotification(common::ContactRecord* contact) override;
    void Destroy() override { delete this; }

    // Opens the contact store, the SIM phonebook and the call log with their change
    // notifications to `watcher`; `frame` tells where change messages go.
    void OpenStores(HWND watcher, std::function<HWND()> frame);
    // Closes the call log, the SIM phonebook and the contact store, in that order.
    void CloseStores();

    ProfileEngine& Profiles() { return m_profiles; }
    ContactCache& Contacts() { return m_contacts; }
    CallLogCache& CallLog() { return m_callLog; }

private:
    ~Core() override = default;

    ProfileEngine m_profiles;
    ContactCache m_contacts;
    CallLogCache m_callLog;
    CacheDirectory m_lists;
};

} // namespace corvane
