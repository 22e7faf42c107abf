#include "corvane/Core.h"

#include "ce/kernel.h"

namespace corvane {

void Core::OpenStores(HWND watcher, std::function<HWND()> frame) {
    m_contacts.Open(watcher, frame);
    // No call log ("clog.db" missing) leaves the history empty.
    if (!m_callLog.Open(watcher, std::move(frame)))
        OutputDebugStringW(u"Corvane: no call log\n");
}

void Core::CloseStores() {
    m_callLog.Close();
    m_contacts.Close();
}

common::ContactRecord* Core::FindContactByNumber(const WCHAR* number) {
    return m_contacts.FindByNumber(number);
}

common::ContactRecord* Core::FindContactByOid(DWORD oid) {
    return m_contacts.FindByOid(oid);
}

BOOL Core::BeamContact(common::ContactRecord* contact) {
    return m_contacts.Beam(contact);
}

void* Core::CreateContact() {
    return m_contacts.CreateContact();
}

BOOL Core::DeleteContacts(common::ContactRecord** records, int count, BOOL followLinks) {
    return m_contacts.Delete(records, count, followLinks != FALSE);
}

BOOL Core::DeleteCallLogEntries(common::CallLogEntry** entries, int count, BOOL followGroup) {
    return m_callLog.Delete(entries, count, followGroup != FALSE);
}

int Core::CountCalls(int kind, const FILETIME* start, const FILETIME* end, DWORD* seconds) {
    return m_callLog.CountCalls(kind, start, end, seconds);
}

void Core::SuppressNotification(common::ContactRecord* contact) {
    m_contacts.SuppressNotification(contact);
}

} // namespace corvane
