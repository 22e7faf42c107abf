#include "corvane/ContactCache.h"

#include "ce/kernel.h"
#include "ce/registry.h"
#include "common/Messages.h"
#include "common/PhoneKey.h"
#include "corvane/CallLogCache.h"
#include "corvane/ContactFill.h"
#include "corvane/DisplayName.h"
#include "corvane/NameOrder.h"
#include "corvane/ProgramText.h"

#include <algorithm>
#include <unordered_set>

namespace corvane {

namespace {

constexpr UINT kFavoritesString = 201;
constexpr UINT kAllCategoriesString = 202;
constexpr UINT kAllCompaniesString = 203;
constexpr UINT kUnknownString = 204;

} // namespace

ContactCache::~ContactCache() {
    Close();
}

std::u16string ContactCache::Text(UINT id) const {
    return ProgramText(id);
}

void ContactCache::Open(HWND watcher, FrameGetter frame) {
    m_watcher = watcher;
    m_frame = std::move(frame);
    m_unknown = Text(kUnknownString);
    m_sim = std::make_unique<SimPhonebook>(watcher);
    if (!m_store.LogOn(watcher))
        OutputDebugStringW(u"Corvane: no contact store\n");
    LoadDevice();
}

void ContactCache::Close() {
    if (m_sim)
        m_sim->Close();
    if (m_watcher) {
        KillTimer(m_watcher, kFolderRetryTimer);
        KillTimer(m_watcher, SimPhonebook::kRetryTimer);
    }
    common::CoreLockGuard guard(m_lock);
    for (common::ContactRecord* record : m_records)
        if (record->item && !record->IsSimEntry()) {
            record->item->Release();
            record->item = nullptr;
        }
    m_store.LogOff();
}

common::ContactRecord* ContactCache::NewRecord() {
    m_pool.push_back(std::make_unique<common::ContactRecord>());
    return m_pool.back().get();
}

void ContactCache::RebuildDeviceLists() {
    // The records are about to be freed: no call-log entry may keep pointing at one.
    if (m_callLog)
        m_callLog->UnlinkAll();
    m_records.clear();
    m_index.Invalidate();
    m_pool.clear();
    m_simLoaded = false;
    m_categories.Reset(Text(kAllCategoriesString), Text(kFavoritesString));
    m_companies.Reset(Text(kAllCompaniesString));
}

unsigned ContactCache::ReadAndFill(common::ContactRecord& record, IContact* item) {
    m_index.Invalidate();
    ContactFill fill(m_categories, m_companies, m_settings.Record().displayName, m_unknown);
    const CEPROPVAL* values = nullptr;
    if (!item || FAILED(m_store.Read(item, kContactLoadList, kLoadSlots, values)))
        return 0;
    unsigned changes = fill.Fill(record, values);
    if (record.primaryNumber.empty() && SUCCEEDED(m_store.Read(item, kEmailLoadList, 3, values)))
        fill.FillEmail(record, values);
    return changes;
}

void ContactCache::LoadDevice() {
    if (!m_store.OpenFolder()) {
        if (m_watcher)
            SetTimer(m_watcher, kFolderRetryTimer, kFolderRetryMilliseconds, nullptr);
        return;
    }
    {
        common::CoreLockGuard guard(m_lock);
        RebuildDeviceLists();
        int count = m_store.Count();
        m_records.reserve(size_t(count));
        for (int index = 1; index <= count; ++index) {
            IContact* item = m_store.ItemAt(index);
            if (!item)
                continue;
            common::ContactRecord* record = NewRecord();
            record->oid = m_store.OidOf(item);
            // A contact whose properties cannot be read stays, without name or numbers.
            ReadAndFill(*record, item);
            item->Release();
            m_records.push_back(record);
        }
        SortRecords();
        m_companies.Sort();
        m_categories.SortAndColour();
    }
    if (m_settings.Record().showSimContacts)
        LoadSim();
    if (m_callLog)
        m_callLog->RelinkUnmatched();
    Post(common::CRVM_CONTACTSRELOAD, 0, 0);
}

void ContactCache::SortRecords() {
    m_index.Invalidate();
    std::stable_sort(m_records.begin(), m_records.end(),
                     [](const common::ContactRecord* a, const common::ContactRecord* b) {
                         return NameBefore(a->displayName, b->displayName);
                     });
}

size_t ContactCache::SortedPlace(const common::ContactRecord* record) const {
    // Halving search; equal names go after the ones already there.
    auto place =
        std::upper_bound(m_records.begin(), m_records.end(), record,
                         [](const common::ContactRecord* a, const common::ContactRecord* b) {
                             return NameBefore(a->displayName, b->displayName);
                         });
    return size_t(place - m_records.begin());
}

void ContactCache::InsertSorted(common::ContactRecord* record) {
    m_index.Invalidate();
    m_records.insert(m_records.begin() + std::ptrdiff_t(SortedPlace(record)), record);
}

void ContactCache::Remove(size_t index) {
    m_index.Invalidate();
    common::ContactRecord* record = m_records[index];
    if (record->item && !record->IsSimEntry()) {
        record->item->Release();
        record->item = nullptr;
    }
    m_records.erase(m_records.begin() + std::ptrdiff_t(index));
}

std::optional<size_t> ContactCache::IndexOf(const common::ContactRecord* record) const {
    auto found = std::find(m_records.begin(), m_records.end(), record);
    if (found == m_records.end())
        return std::nullopt;
    return size_t(found - m_records.begin());
}

void ContactCache::RemoveSimRecords() {
    common::CoreLockGuard guard(m_lock);
    bool unlinked = false;
    for (size_t i = m_records.size(); i > 0; --i) {
        if (!m_records[i - 1]->IsSimEntry())
            continue;
        if (m_callLog)
            unlinked |= m_callLog->UnlinkContact(m_records[i - 1]);
        m_records.erase(m_records.begin() + std::ptrdiff_t(i - 1));
        m_index.Invalidate();
    }
    m_simLoaded = false;
    if (unlinked)
        Post(common::CRVM_CALLLOGCHANGED, 0, 0);
}

void ContactCache::LoadSim() {
    if (!m_sim || !m_sim->Usable())
        return;
    std::vector<SimPhonebook::Entry> entries;
    if (FAILED(m_sim->ReadAll(entries)))
        return;
    RemoveSimRecords();
    {
        common::CoreLockGuard guard(m_lock);
        DWORD mode = m_settings.Record().displayName;
        for (SimPhonebook::Entry& entry : entries) {
            common::ContactRecord* record = NewRecord();
            record->item = common::ContactRecord::SimItemMark();
            record->oid = entry.location;
            BuiltName name = DisplayName::BuildSim(entry.text, mode, m_unknown);
            record->displayName = std::move(name.text);
            record->nameSplit = name.split;
            record->company = &m_unknown;
            record->primaryKind = common::PrimaryKind::kSim;
            common::PhoneKeyBlock block;
            block.Append(common::PhoneKey(entry.address, 0));
            record->phoneKeys = block.Take();
            record->primaryNumber = std::move(entry.address);
            InsertSorted(record);
        }
        m_simLoaded = true;
    }
    bool linked = m_callLog && m_callLog->RelinkUnmatched();
    Post(linked ? common::CRVM_CALLLOGCHANGED : common::CRVM_CONTACTSRELOAD, 0, 0);
}

common::ContactRecord* ContactCache::FindByNumber(const WCHAR* number) {
    if (!number)
        return nullptr;
    common::PhoneKey key(number, 0);
    if (key.DigitCount() == 0)
        return nullptr;
    common::CoreLockGuard guard(m_lock);
    return m_index.Find(key, m_records);
}

common::ContactRecord* ContactCache::FindByOid(CEOID oid) {
    if (oid == 0)
        return nullptr;
    common::CoreLockGuard guard(m_lock);
    for (common::ContactRecord* record : m_records)
        if (!record->IsSimEntry() && record->oid == oid)
            return record;
    return nullptr;
}

IContact* ContactCache::FetchItem(common::ContactRecord& record) {
    common::CoreLockGuard guard(m_lock);
    if (record.IsSimEntry())
        return nullptr;
    if (!record.item)
        record.item = m_store.ItemFromOid(record.oid);
    return record.item;
}

void ContactCache::ReleaseItem(common::ContactRecord& record) {
    common::CoreLockGuard guard(m_lock);
    if (record.item && !record.IsSimEntry())
        record.item->Release();
    if (!record.IsSimEntry())
        record.item = nullptr;
}

void ContactCache::Post(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND frame = m_frame ? m_frame() : nullptr;
    if (frame && IsWindow(frame))
        PostMessageW(frame, message, wParam, lParam);
}

void ContactCache::PostChange(const common::ContactRecord* record, WORD kind) {
    std::optional<size_t> index = IndexOf(record);
    Post(common::CRVM_CONTACTCHANGED, MAKELONG(WORD(index.value_or(0)), kind),
         reinterpret_cast<LPARAM>(record));
}

void ContactCache::LinkChanged(bool changed) {
    if (changed)
        Post(common::CRVM_CALLLOGCHANGED, 0, 0);
}

bool ContactCache::Suppressed(CEOID oid) {
    auto found = m_suppressed.find(oid);
    if (found == m_suppressed.end())
        return false;
    DWORD requested = found->second;
    m_suppressed.erase(found);
    return GetTickCount() - requested < kSuppressMilliseconds;
}

void ContactCache::SuppressNotification(common::ContactRecord* record) {
    if (!record || record->IsSimEntry() || record->oid == 0)
        return;
    m_suppressed[record->oid] = GetTickCount();
}

// A page that handed a contact to the platform's editor created "PimWatch_<oid>" with 0
// and learns from a 1 that the contact was saved or deleted.
void ContactCache::MarkSaved(CEOID oid) {
    std::u16string name = u"PimWatch_";
    constexpr char16_t kHex[] = u"0123456789abcdef";
    bool digits = false;
    for (int shift = 28; shift >= 0; shift -= 4) {
        unsigned nibble = (oid >> shift) & 0xF;
        digits |= nibble != 0 || shift == 0;
        if (digits)
            name += kHex[nibble];
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, common::kProductKey, 0, 0, &key) != ERROR_SUCCESS)
        return;
    DWORD value = 0, type = 0, size = sizeof value;
    if (RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value),
                         &size) == ERROR_SUCCESS &&
        type == REG_DWORD && value == 0) {
        value = 1;
        RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                       sizeof value);
    }
    RegCloseKey(key);
}

void ContactCache::OnStoreNotification(UINT code, CEOID oid, LPARAM folder) {
    if (folder != olFolderContacts || oid == 0)
        return;
    switch (code) {
    case PIM_ITEM_DELETED_LOCAL:
    case PIM_ITEM_DELETED_REMOTE:
        OnDeleted(oid);
        return;
    // A contact the cache does not hold yet is added, whatever the code; one it holds is
    // read again.
    case PIM_ITEM_CREATED_LOCAL:
    case PIM_ITEM_CREATED_REMOTE:
    case PIM_ITEM_CHANGED_LOCAL:
    case PIM_ITEM_CHANGED_REMOTE:
        if (common::ContactRecord* known = FindByOid(oid))
            OnChanged(oid, *known);
        else
            OnCreated(oid);
        return;
    default:
        return;
    }
}

void ContactCache::OnCreated(CEOID oid) {
    common::ContactRecord* record = nullptr;
    {
        common::CoreLockGuard guard(m_lock);
        IContact* item = m_store.ItemFromOid(oid);
        if (!item)
            return;
        record = NewRecord();
        record->oid = oid;
        ReadAndFill(*record, item);
        item->Release();
        InsertSorted(record);
    }
    if (m_callLog)
        LinkChanged(m_callLog->LinkContact(record));
    PostChange(record, ContactChange::kAdded);
}

void ContactCache::OnDeleted(CEOID oid) {
    common::ContactRecord* record = FindByOid(oid);
    if (!record)
        return;
    size_t index = 0;
    {
        common::CoreLockGuard guard(m_lock);
        index = IndexOf(record).value_or(0);
        Remove(index);
    }
    m_suppressed.erase(oid);
    if (m_callLog)
        LinkChanged(m_callLog->UnlinkContact(record));
    Post(common::CRVM_MSGFOLDERSCHANGED, 0, 0);
    Post(common::CRVM_CONTACTCHANGED, MAKELONG(WORD(index), ContactChange::kRemoved),
         reinterpret_cast<LPARAM>(record));
    MarkSaved(oid);
}

void ContactCache::OnChanged(CEOID oid, common::ContactRecord& record) {
    if (Suppressed(oid))
        return;
    unsigned changes = 0;
    bool moved = false;
    {
        common::CoreLockGuard guard(m_lock);
        if (record.item)
            record.item->Release();
        record.item = nullptr;
        IContact* item = m_store.ItemFromOid(oid);
        changes = ReadAndFill(record, item);
        if (item)
            item->Release();
        if (record.picture == common::ContactRecord::NoPictureMark())
            record.picture = nullptr;
        if (changes & FillChange::kName) {
            size_t before = IndexOf(&record).value_or(0);
            m_records.erase(m_records.begin() + std::ptrdiff_t(before));
            size_t after = SortedPlace(&record);
            m_records.insert(m_records.begin() + std::ptrdiff_t(after), &record);
            moved = after != before;
        }
    }
    if ((changes & FillChange::kNumbers) && m_callLog)
        LinkChanged(m_callLog->RelinkContact(&record));
    if (moved)
        Post(common::CRVM_CONTACTSRELOAD, 0, reinterpret_cast<LPARAM>(&record));
    else
        PostChange(&record, ContactChange::kChanged);
    MarkSaved(oid);
}

void ContactCache::OnTimer(UINT_PTR id) {
    if (!m_watcher)
        return;
    if (id == kFolderRetryTimer) {
        KillTimer(m_watcher, kFolderRetryTimer);
        LoadDevice();
    } else if (id == SimPhonebook::kRetryTimer) {
        KillTimer(m_watcher, SimPhonebook::kRetryTimer);
        if (m_settings.Record().showSimContacts)
            LoadSim();
    }
}

void ContactCache::OnRadioReady(DWORD value) {
    if (m_sim && m_sim->OnRadioReadyChanged(value) && m_settings.Record().showSimContacts)
        LoadSim();
}

void ContactCache::OnShowSimChanged() {
    if (!m_sim || !m_sim->Usable())
        return;
    if (m_settings.Record().showSimContacts) {
        LoadSim();
        return;
    }
    RemoveSimRecords();
    Post(common::CRVM_CONTACTSRELOAD, 0, 0);
}

void ContactCache::OnDisplayNameChanged() {
    {
        common::CoreLockGuard guard(m_lock);
        ContactFill fill(m_categories, m_companies, m_settings.Record().displayName, m_unknown);
        for (common::ContactRecord* record : m_records) {
            if (record->IsSimEntry())
                continue;
            IContact* item = m_store.ItemFromOid(record->oid);
            const CEPROPVAL* values = nullptr;
            if (item && SUCCEEDED(m_store.Read(item, kContactLoadList, kLoadSlots, values)))
                fill.FillName(*record, values);
            if (item)
                item->Release();
        }
    }
    // SIM entries are read again from the SIM with the new mode; they are sorted in.
    bool simShown = m_simLoaded;
    if (simShown)
        RemoveSimRecords();
    {
        common::CoreLockGuard guard(m_lock);
        SortRecords();
    }
    if (simShown)
        LoadSim();
    Post(common::CRVM_CONTACTSRELOAD, 0, 0);
}

BOOL ContactCache::Beam(common::ContactRecord* record) {
    if (!record || !IndexOf(record) || record->IsSimEntry() || !m_store.Application())
        return FALSE;
    IFolder* infrared = nullptr;
    if (FAILED(m_store.Application()->GetDefaultFolder(olFolderInfrared, &infrared)))
        return FALSE;
    IContact* item = FetchItem(*record);
    bool sent = item && SUCCEEDED(infrared->AddItemToInfraredFolder(olContactItem, item)) &&
                SUCCEEDED(infrared->SendToInfrared());
    ReleaseItem(*record);
    infrared->Release();
    return sent ? TRUE : FALSE;
}

IContact* ContactCache::CreateContact() {
    IPOutlookItemCollection* items = m_store.Items();
    IDispatch* added = nullptr;
    if (!items || FAILED(items->Add(&added)) || !added)
        return nullptr;
    IContact* contact = QueryAs<IContact>(added, IID_IContact);
    added->Release();
    return contact;
}

bool ContactCache::DeleteOne(common::ContactRecord* record) {
    bool deleted = false;
    if (record->IsSimEntry()) {
        deleted = m_sim && SUCCEEDED(m_sim->Delete(record->oid));
    } else {
        IContact* item = FetchItem(*record);
        deleted = item && SUCCEEDED(item->Delete());
        ReleaseItem(*record);
    }
    if (!deleted)
        return false;
    size_t index = 0;
    {
        common::CoreLockGuard guard(m_lock);
        index = IndexOf(record).value_or(0);
        Remove(index);
    }
    if (m_callLog)
        LinkChanged(m_callLog->UnlinkContact(record));
    Post(common::CRVM_CONTACTCHANGED, MAKELONG(WORD(index), ContactChange::kRemoved),
         reinterpret_cast<LPARAM>(record));
    return true;
}

BOOL ContactCache::Delete(common::ContactRecord** records, int count, bool followLinks) {
    if (!records || count <= 0)
        return TRUE;
    bool allDeleted = true;
    // A chain that loops or names a record twice deletes each record once.
    std::unordered_set<const common::ContactRecord*> seen;
    for (int i = 0; i < count; ++i) {
        for (common::ContactRecord* record = records[i]; record;
             record = followLinks ? record->next : nullptr) {
            if (!seen.insert(record).second)
                break;
            // Only records of this cache are deleted; others are no contacts of ours.
            if (!IndexOf(record) || !DeleteOne(record))
                allDeleted = false;
        }
    }
    return allDeleted ? TRUE : FALSE;
}

} // namespace corvane
