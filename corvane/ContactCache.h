// The contact cache: every device contact of the contact store and every SIM entry as a
// ContactRecord, sorted by display name, kept up to date by the store's change
// notifications and read by the UI library through the core object. Changes run on the
// main program's thread with the core object's lock held; lookups take the lock too, so
// the incoming-call dialog's thread may use them.
#pragma once

#include "common/ContactRecord.h"
#include "common/CoreLock.h"
#include "common/Settings.h"
#include "corvane/CategoryList.h"
#include "corvane/CompanyList.h"
#include "corvane/ContactStore.h"
#include "corvane/NumberIndex.h"
#include "corvane/SimPhonebook.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace corvane {

class CallLogCache;

// Kinds of CRVM_CONTACTCHANGED (high 16 bits of wParam).
namespace ContactChange {
constexpr WORD kAdded = 1;
constexpr WORD kChanged = 2;
constexpr WORD kRemoved = 4;
} // namespace ContactChange

class ContactCache {
public:
    // Watcher timer that retries opening the contacts folder.
    static constexpr UINT_PTR kFolderRetryTimer = 564;
    static constexpr UINT kFolderRetryMilliseconds = 3000;
    // A notification of a contact the UI saved itself is ignored this long.
    static constexpr DWORD kSuppressMilliseconds = 5000;

    using FrameGetter = std::function<HWND()>;

    ContactCache(common::CoreLock& lock, common::Settings& settings)
        : m_lock(lock), m_settings(settings) {}
    ContactCache(const ContactCache&) = delete;
    ContactCache& operator=(const ContactCache&) = delete;
    ~ContactCache();

    // Logs on to the store with the watcher window and loads the device contacts and the
    // SIM entries. `frame` tells where change messages go (null: nowhere).
    void Open(HWND watcher, FrameGetter frame);
    // Closes the SIM and logs off; the records stay readable until destruction.
    void Close();
    void SetCallLog(CallLogCache* callLog) { m_callLog = callLog; }

    common::ContactRecord* FindByNumber(const WCHAR* number);
    common::ContactRecord* FindByOid(CEOID oid);
    BOOL Beam(common::ContactRecord* record);
    IContact* CreateContact();
    BOOL Delete(common::ContactRecord** records, int count, bool followLinks);
    void SuppressNotification(common::ContactRecord* record);

    // Watcher messages: store notifications 0x8100-0x8107 (wParam = OID, lParam =
    // folder), the timers 563 and 564, the radio state.
    void OnStoreNotification(UINT code, CEOID oid, LPARAM folder);
    void OnTimer(UINT_PTR id);
    void OnRadioReady(DWORD value);
    // Settings changes.
    void OnDisplayNameChanged();
    void OnShowSimChanged();

    // The item of a device contact, fetched when the record holds none (lock held).
    IContact* FetchItem(common::ContactRecord& record);
    void ReleaseItem(common::ContactRecord& record);

    size_t Size() const { return m_records.size(); }
    common::ContactRecord* At(size_t index) const { return m_records[index]; }
    const CategoryList& Categories() const { return m_categories; }
    const CompanyList& Companies() const { return m_companies; }
    // Index of `record` in the cache's order, or nullopt.
    std::optional<size_t> IndexOf(const common::ContactRecord* record) const;

private:
    void LoadDevice();
    void LoadSim();
    void RebuildDeviceLists();
    common::ContactRecord* NewRecord();
    // Reads the item's properties and fills the record; returns FillChange bits.
    unsigned ReadAndFill(common::ContactRecord& record, IContact* item);
    void InsertSorted(common::ContactRecord* record);
    size_t SortedPlace(const common::ContactRecord* record) const;
    void SortRecords();
    void Remove(size_t index);
    void RemoveSimRecords();

    void OnCreated(CEOID oid);
    void OnDeleted(CEOID oid);
    void OnChanged(CEOID oid, common::ContactRecord& record);
    bool Suppressed(CEOID oid);
    void MarkSaved(CEOID oid);
    bool DeleteOne(common::ContactRecord* record);
    void Post(UINT message, WPARAM wParam, LPARAM lParam);
    void PostChange(const common::ContactRecord* record, WORD kind);
    void LinkChanged(bool changed);
    std::u16string Text(UINT id) const;

    common::CoreLock& m_lock;
    common::Settings& m_settings;
    HWND m_watcher = nullptr;
    FrameGetter m_frame;
    CallLogCache* m_callLog = nullptr; // not owned; both live in the core object
    ContactStore m_store;
    std::unique_ptr<SimPhonebook> m_sim;
    bool m_simLoaded = false;
    CategoryList m_categories;
    CompanyList m_companies;
    std::u16string m_unknown;
    // The cache's order. Every change of it or of a record's keys invalidates m_index.
    std::vector<common::ContactRecord*> m_records;
    NumberIndex m_index;
    // Every record made since the last rebuild, removed ones included.
    std::vector<std::unique_ptr<common::ContactRecord>> m_pool;
    // Contacts the UI is saving itself: OID -> tick count of the request.
    std::unordered_map<CEOID, DWORD> m_suppressed;
};

} // namespace corvane
