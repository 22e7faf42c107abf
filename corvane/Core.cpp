#include "corvane/Core.h"

#include "ce/kernel.h"

namespace corvane {

// FIXME: the contact cache and the call-log cache are not built yet. Until they are,
// lookups find nothing and the operations that change a store fail with
// ERROR_NOT_SUPPORTED, so callers show their failure message instead of pretending.

common::ContactRecord* Core::FindContactByNumber(const WCHAR*) { return nullptr; }

common::ContactRecord* Core::FindContactByOid(DWORD) { return nullptr; }

BOOL Core::BeamContact(common::ContactRecord*) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

void* Core::CreateContact() {
    SetLastError(ERROR_NOT_SUPPORTED);
    return nullptr;
}

BOOL Core::DeleteContacts(common::ContactRecord**, int count, BOOL) {
    if (count <= 0)
        return TRUE;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

BOOL Core::DeleteCallLogEntries(common::CallLogEntry**, int count, BOOL) {
    if (count <= 0)
        return TRUE;
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
}

int Core::CountCalls(int, const FILETIME*, const FILETIME*, DWORD* seconds) {
    // An empty call log: no calls and no seconds.
    if (seconds)
        *seconds = 0;
    return 0;
}

void Core::SuppressNotification(common::ContactRecord*) {}

} // namespace corvane
