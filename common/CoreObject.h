// The main program's resident object as the UI library sees it: the shared settings
// record, embedded so that both modules use one copy, and the host interface whose
// operations the UI library calls. The slot order of the virtual operations is fixed.
#pragma once

#include "ce/types.h"
#include "common/ContactDirectory.h"
#include "common/CoreLock.h"
#include "common/Settings.h"

namespace common {

struct ContactRecord;
struct CallLogEntry;

class CoreObject {
public:
    // 0: the cached contact whose number matches, or null.
    virtual ContactRecord* FindContactByNumber(const WCHAR* number) = 0;
    // 1: the cached contact with this object identifier (a SIM entry counts as 0), or null.
    virtual ContactRecord* FindContactByOid(DWORD oid) = 0;
    // 2: sends the contact through the platform's infrared folder.
    virtual BOOL BeamContact(ContactRecord* contact) = 0;
    // 3: a new, unsaved contact of the device store (a POOM IContact), or null.
    virtual void* CreateContact() = 0;
    // 4: deletes cached entries from their stores and from the cache.
    virtual BOOL DeleteContacts(ContactRecord** records, int count, BOOL followLinks) = 0;
    // 5: deletes call-log entries from the platform's call log and the cache.
    virtual BOOL DeleteCallLogEntries(CallLogEntry** entries, int count, BOOL followGroup) = 0;
    // 6: counts the calls of `kind` that lie in [start, end) and sums their seconds.
    virtual int CountCalls(int kind, const FILETIME* start, const FILETIME* end,
                           DWORD* seconds) = 0;
    // 7: keeps its slot only; returns the object it is called on.
    virtual CoreObject* Self() = 0;
    // 8: the next change notification of this contact within 5000 ms is ignored.
    virtual void SuppressNotification(ContactRecord* contact) = 0;
    // 9: destroys the object (only the main program calls it).
    virtual void Destroy() = 0;

    Settings& SharedSettings() { return m_settings; }
    // Taken around every fetch and release of a contact's store item and every read of
    // the contact cache from another thread than the main program's.
    CoreLock& ItemLock() { return m_itemLock; }
    // The caches as lists; set by the main program before the first frame is created.
    ContactDirectory& Directory() { return *m_directory; }

protected:
    virtual ~CoreObject() = default;
    Settings m_settings;
    CoreLock m_itemLock;
    ContactDirectory* m_directory = nullptr;
};

} // namespace common
