#include "corvane/CallLogCache.h"

#include "ce/kernel.h"
#include "common/Messages.h"
#include "common/PhoneKey.h"
#include "corvane/CallTotals.h"
#include "corvane/ContactCache.h"
#include "corvane/ProgramText.h"

#include <algorithm>
#include <unordered_set>

namespace corvane {

namespace {

constexpr CEPROPID kStartTime = 0x00020040;
constexpr CEPROPID kEndTime = 0x00030040;
constexpr CEPROPID kCallFlags = 0x00040003;
constexpr CEPROPID kNumber = 0x0006001F;
constexpr CEPROPID kName = 0x0007001F;
constexpr CEPROPID kNumberKind = 0x000A001F;
CEPROPID kRecordProps[] = {kStartTime, kEndTime, kCallFlags, kNumber, kName, kNumberKind};
constexpr WORD kRecordPropCount = 6;

// Call flags of a record.
constexpr DWORD kRecordOutgoing = 0x1;
constexpr DWORD kRecordConnected = 0x2;
constexpr DWORD kRecordRoaming = 0x8;

constexpr UINT kUnknownString = 204;
constexpr uint64_t kTicksPerDay = 864'000'000'000;
constexpr uint64_t kTicksPerSecond = 10'000'000;
// Last-call times count seconds from 26 September 2000, day 146000 after 1 January 1601.
constexpr uint64_t kLastCallEpochSeconds = 146000ull * 86400;

bool Found(const CEPROPVAL& value) {
    return !(value.wFlags & CEDB_PROPNOTFOUND);
}

std::u16string TextOf(const CEPROPVAL& value) {
    if (!Found(value) || TypeFromPropID(value.propid) != CEVT_LPWSTR || !value.val.lpwstr)
        return {};
    return value.val.lpwstr;
}

FILETIME TimeOf(const CEPROPVAL& value) {
    if (!Found(value) || TypeFromPropID(value.propid) != CEVT_FILETIME)
        return {};
    return value.val.filetime;
}

DWORD FlagsOf(DWORD recordFlags, const std::u16string& kindText) {
    DWORD flags = 0;
    if (recordFlags & kRecordOutgoing)
        flags |= common::CallFlag::kOutgoing;
    else if (!(recordFlags & kRecordConnected))
        flags |= common::CallFlag::kMissed;
    if (recordFlags & kRecordRoaming)
        flags |= common::CallFlag::kRoaming;
    switch (kindText.empty() ? u'\0' : kindText[0]) {
    case u'w':
    case u'W':
        flags |= common::CallFlag::kWork;
        break;
    case u'h':
    case u'H':
        flags |= common::CallFlag::kHome;
        break;
    case u'm':
    case u'M':
        flags |= common::CallFlag::kMobile;
        break;
    default:
        break;
    }
    return flags;
}

DWORD CallDay(const FILETIME& start) {
    FILETIME local{};
    if (!FileTimeToLocalFileTime(&start, &local))
        local = start;
    return DWORD(FileTimeValue(local) / kTicksPerDay);
}

bool KeysMatchNumber(const common::ContactRecord& contact, const std::u16string& number) {
    common::PhoneKey key(number, 0);
    const std::vector<BYTE>& block = contact.phoneKeys;
    return key.DigitCount() > 0 && common::FindKey(block.data(), block.size(), key.Bytes());
}

} // namespace

DWORD CallLogCache::LastCallMark(const common::CallLogEntry& entry) {
    uint64_t seconds = FileTimeValue(entry.start) / kTicksPerSecond;
    seconds = seconds > kLastCallEpochSeconds ? seconds - kLastCallEpochSeconds : 0;
    // Clamped into 30 bits, and never 0, which means "no call".
    seconds = std::clamp<uint64_t>(seconds, 1, common::kLastCallSecondsMask);
    DWORD kind = (entry.flags & common::CallFlag::kKindMask) >> 2;
    return DWORD(seconds) | kind << common::kLastCallKindShift;
}

void CallLogCache::UpdateLastCall(common::ContactRecord& contact,
                                  const common::CallLogEntry& entry) {
    DWORD mark = LastCallMark(entry);
    // The kind bits above the seconds take no part in the comparison.
    if ((mark & common::kLastCallSecondsMask) > (contact.lastCall & common::kLastCallSecondsMask))
        contact.lastCall = mark;
}

bool CallLogCache::Open(HWND watcher, FrameGetter frame) {
    m_frame = std::move(frame);
    WCHAR volume[] = u"\\pim.vol";
    if (!CeMountDBVolEx(&m_volume, volume, nullptr, OPEN_EXISTING))
        return false;
    m_mounted = true;
    m_session = CeCreateSession(&m_volume);
    if (m_session == INVALID_HANDLE_VALUE) {
        Close();
        return false;
    }
    m_request.dwSize = sizeof m_request;
    m_request.hwnd = watcher;
    m_request.dwFlags = CEDB_EXNOTIFICATION;
    CEOID database = 0;
    WCHAR name[] = u"clog.db";
    m_database =
        CeOpenDatabaseInSession(m_session, &m_volume, &database, name, nullptr, 0, &m_request);
    if (m_database == INVALID_HANDLE_VALUE) {
        Close();
        return false;
    }
    ReadAll();
    return true;
}

void CallLogCache::Close() {
    if (m_database != INVALID_HANDLE_VALUE)
        CloseHandle(m_database);
    m_database = INVALID_HANDLE_VALUE;
    if (m_session != INVALID_HANDLE_VALUE)
        CloseHandle(m_session);
    m_session = INVALID_HANDLE_VALUE;
    if (m_mounted)
        CeUnmountDBVol(&m_volume);
    m_mounted = false;
    if (m_buffer)
        HeapFree(GetProcessHeap(), 0, m_buffer);
    m_buffer = nullptr;
    m_bufferSize = 0;
}

std::unique_ptr<common::CallLogEntry> CallLogCache::ReadRecord(CEOID& oid) {
    HANDLE heap = GetProcessHeap();
    if (!m_buffer) {
        m_buffer = static_cast<LPBYTE>(HeapAlloc(heap, 0, kReadBufferSize));
        m_bufferSize = m_buffer ? kReadBufferSize : 0;
    }
    WORD count = kRecordPropCount;
    DWORD size = m_bufferSize;
    oid = CeReadRecordPropsEx(m_database, CEDB_ALLOWREALLOC, &count, kRecordProps, &m_buffer, &size,
                              heap);
    if (m_buffer && size > m_bufferSize)
        m_bufferSize = size;
    if (oid == 0 || !m_buffer || count < kRecordPropCount)
        return nullptr;
    const auto* values = reinterpret_cast<const CEPROPVAL*>(m_buffer);
    auto entry = std::make_unique<common::CallLogEntry>();
    entry->oid = oid;
    entry->start = TimeOf(values[0]);
    entry->end = TimeOf(values[1]);
    DWORD recordFlags = Found(values[2]) ? values[2].val.ulVal : 0;
    entry->number = TextOf(values[3]);
    entry->flags = FlagsOf(recordFlags, TextOf(values[5]));
    entry->callDay = CallDay(entry->start);
    if (entry->number.empty()) {
        entry->name = TextOf(values[4]);
        if (entry->name.empty())
            entry->name = ProgramText(kUnknownString);
    }
    return entry;
}

void CallLogCache::Link(common::CallLogEntry& entry) {
    entry.contact = entry.number.empty() ? nullptr : m_contacts.FindByNumber(entry.number.c_str());
    if (entry.contact)
        UpdateLastCall(*entry.contact, entry);
}

void CallLogCache::ReadAll() {
    CeSeekDatabaseEx(m_database, CEDB_SEEK_BEGINNING, 0, 0, nullptr);
    for (DWORD index = 0;; ++index) {
        CEOID oid = 0;
        std::unique_ptr<common::CallLogEntry> entry = ReadRecord(oid);
        if (entry) {
            Link(*entry);
            m_entries.push_back(entry.get());
            m_pool.push_back(std::move(entry));
            continue;
        }
        if (oid == 0 && GetLastError() == ERROR_NO_MORE_ITEMS)
            return;
        // One unreadable record does not end the read: go on after it, until the
        // database has no further record.
        if (CeSeekDatabaseEx(m_database, CEDB_SEEK_BEGINNING, index + 1, 0, nullptr) == 0)
            return;
    }
}

void CallLogCache::PostChanged() {
    HWND frame = m_frame ? m_frame() : nullptr;
    if (frame && IsWindow(frame))
        PostMessageW(frame, common::CRVM_CALLLOGCHANGED, 0, 0);
}

bool CallLogCache::RemoveRecord(CEOID oid) {
    auto removed =
        std::remove_if(m_entries.begin(), m_entries.end(),
                       [oid](const common::CallLogEntry* entry) { return entry->oid == oid; });
    bool any = removed != m_entries.end();
    m_entries.erase(removed, m_entries.end());
    return any;
}

void CallLogCache::OnDbNotification(WPARAM kind, LPARAM lParam) {
    auto* notification = reinterpret_cast<CENOTIFICATION*>(lParam);
    if (!notification)
        return;
    bool changed = false;
    if (notification->dwSize == sizeof(CENOTIFICATION) && IsOpen()) {
        CEOID oid = notification->oid;
        bool known = std::any_of(m_entries.begin(), m_entries.end(),
                                 [oid](const common::CallLogEntry* e) { return e->oid == oid; });
        if (kind == DB_CEOID_CREATED && !known &&
            CeSeekDatabaseEx(m_database, CEDB_SEEK_CEOID, oid, 0, nullptr) != 0) {
            CEOID read = 0;
            if (std::unique_ptr<common::CallLogEntry> entry = ReadRecord(read)) {
                Link(*entry);
                m_entries.insert(m_entries.begin(), entry.get());
                m_pool.push_back(std::move(entry));
                changed = true;
            }
        } else if (kind == DB_CEOID_RECORD_DELETED) {
            changed = RemoveRecord(oid);
        }
    }
    CeFreeNotification(&m_request, notification);
    if (changed)
        PostChanged();
}

BOOL CallLogCache::Delete(common::CallLogEntry** entries, int count, bool follow) {
    if (!entries || count <= 0)
        return TRUE;
    if (!IsOpen())
        return FALSE;
    bool allDeleted = true, removed = false;
    std::unordered_set<const common::CallLogEntry*> seen;
    for (int i = 0; i < count; ++i) {
        for (common::CallLogEntry* entry = entries[i]; entry;
             entry = follow ? entry->next : nullptr) {
            // A chain that loops or names an entry twice deletes each entry once.
            if (!seen.insert(entry).second)
                break;
            bool ours = std::find(m_entries.begin(), m_entries.end(), entry) != m_entries.end();
            if (!ours || !CeDeleteRecord(m_database, entry->oid)) {
                allDeleted = false;
                continue;
            }
            removed |= RemoveRecord(entry->oid);
        }
    }
    if (removed)
        PostChanged();
    return allDeleted ? TRUE : FALSE;
}

int CallLogCache::CountCalls(int kind, const FILETIME* start, const FILETIME* end,
                             DWORD* seconds) const {
    CallTotals totals = SumCalls(m_entries, kind, start, end);
    if (seconds)
        *seconds = totals.seconds;
    return totals.count;
}

bool CallLogCache::LinkContact(common::ContactRecord* contact) {
    bool changed = false;
    for (common::CallLogEntry* entry : m_entries) {
        if (entry->contact || entry->number.empty() || !KeysMatchNumber(*contact, entry->number))
            continue;
        entry->contact = contact;
        UpdateLastCall(*contact, *entry);
        changed = true;
    }
    return changed;
}

bool CallLogCache::UnlinkContact(const common::ContactRecord* contact) {
    bool changed = false;
    for (common::CallLogEntry* entry : m_entries) {
        if (entry->contact != contact)
            continue;
        entry->contact = nullptr;
        changed = true;
    }
    return changed;
}

void CallLogCache::UnlinkAll() {
    for (common::CallLogEntry* entry : m_entries)
        entry->contact = nullptr;
}

bool CallLogCache::RelinkContact(common::ContactRecord* contact) {
    bool changed = false;
    // Entries of the contact whose numbers no longer match go to whoever matches now.
    for (common::CallLogEntry* entry : m_entries) {
        if (entry->contact != contact || KeysMatchNumber(*contact, entry->number))
            continue;
        Link(*entry);
        changed = true;
    }
    return LinkContact(contact) || changed;
}

bool CallLogCache::RelinkUnmatched() {
    bool changed = false;
    for (common::CallLogEntry* entry : m_entries) {
        if (entry->contact || entry->number.empty())
            continue;
        Link(*entry);
        changed |= entry->contact != nullptr;
    }
    return changed;
}

} // namespace corvane
