// The call log cache: the platform's call log database "clog.db" of the volume
// "\pim.vol", read once at start, kept up to date by the database's notifications, every
// entry linked to the contact whose keys match its number. The UI library deletes entries
// and asks for call totals through the core object. Used on the main program's thread.
#pragma once

#include "ce/windbase.h"
#include "common/CallLogEntry.h"
#include "common/ContactRecord.h"

#include <functional>
#include <memory>
#include <vector>

namespace corvane {

class ContactCache;

class CallLogCache {
public:
    using FrameGetter = std::function<HWND()>;
    // Reads start in a buffer of this size, grown when a record needs more.
    static constexpr DWORD kReadBufferSize = 4096;

    explicit CallLogCache(ContactCache& contacts) : m_contacts(contacts) {}
    CallLogCache(const CallLogCache&) = delete;
    CallLogCache& operator=(const CallLogCache&) = delete;
    ~CallLogCache() { Close(); }

    // Mounts the volume, opens the database with notifications to `watcher` and reads
    // every record. False when there is no call log.
    bool Open(HWND watcher, FrameGetter frame);
    // Closes the database and the session and unmounts the volume.
    void Close();
    bool IsOpen() const { return m_database != INVALID_HANDLE_VALUE; }

    // WM_DBNOTIFICATION at the watcher window; always releases the notification.
    void OnDbNotification(WPARAM kind, LPARAM notification);
    BOOL Delete(common::CallLogEntry** entries, int count, bool follow);
    int CountCalls(int kind, const FILETIME* start, const FILETIME* end, DWORD* seconds) const;

    // Link maintenance for the contact cache; each returns whether a link changed.
    bool LinkContact(common::ContactRecord* contact);
    bool UnlinkContact(const common::ContactRecord* contact);
    bool RelinkContact(common::ContactRecord* contact);
    bool RelinkUnmatched();
    // Drops every link (the contact records are about to be freed).
    void UnlinkAll();

    size_t Size() const { return m_entries.size(); }
    common::CallLogEntry* At(size_t index) const { return m_entries[index]; }

    // The contact's last-call word for a call: seconds since 26 September 2000 (30 bits,
    // clamped), the call's kind in the top 2 bits.
    static DWORD LastCallMark(const common::CallLogEntry& entry);
    // Raises the contact's last call to this call when the call is newer (by seconds).
    static void UpdateLastCall(common::ContactRecord& contact, const common::CallLogEntry& entry);

private:
    void ReadAll();
    // Reads the record at the seek position into a new entry; null when unreadable.
    std::unique_ptr<common::CallLogEntry> ReadRecord(CEOID& oid);
    void Link(common::CallLogEntry& entry);
    bool RemoveRecord(CEOID oid);
    void PostChanged();

    ContactCache& m_contacts;
    FrameGetter m_frame;
    CEGUID m_volume{};
    bool m_mounted = false;
    HANDLE m_session = INVALID_HANDLE_VALUE;
    HANDLE m_database = INVALID_HANDLE_VALUE;
    CENOTIFYREQUEST m_request{};
    LPBYTE m_buffer = nullptr;
    DWORD m_bufferSize = 0;
    // Newest first.
    std::vector<common::CallLogEntry*> m_entries;
    std::vector<std::unique_ptr<common::CallLogEntry>> m_pool;
};

} // namespace corvane
