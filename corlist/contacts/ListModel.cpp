#include "corlist/contacts/ListModel.h"

#include "common/CallLogEntry.h"
#include "common/ContactDirectory.h"
#include "common/ContactRecord.h"
#include "common/CoreObject.h"

#include <algorithm>
#include <cassert>

namespace corlist {

namespace {

// The `DisplayName` setting that puts the company into the display name.
constexpr DWORD kCompanyDisplayName = 4;

// The call kinds a view word keeps; 0 keeps every call.
bool CallKept(const common::CallLogEntry& call, DWORD kinds) {
    if (kinds == 0)
        return true;
    DWORD flags = call.flags;
    if (flags & common::CallFlag::kMissed)
        return (kinds & ViewBit::kMissed) != 0;
    if (flags & common::CallFlag::kOutgoing)
        return (kinds & ViewBit::kOutgoing) != 0;
    return (kinds & ViewBit::kIncoming) != 0;
}

bool HasCategory(const common::ContactRecord& record, const common::CategoryEntry* entry) {
    return std::find(record.categories.begin(), record.categories.end(), entry) != record.categories.end();
}

} // namespace

ListModel::ListModel(common::CoreObject& core) : m_core(core), m_directory(core.Directory()) {}

size_t ListModel::Load(DWORD view, std::u16string_view filter) {
    auto lock = Lock();
    m_search.Clear();
    m_result.clear();
    m_view = view & ~ViewBit::kSearch;
    m_filter.assign(filter);
    Build();
    return m_rows.size();
}

DWORD ListModel::View() const { return m_search.IsActive() ? (m_view | ViewBit::kSearch) : m_view; }

bool ListModel::IsContactView() const {
    return (m_view & (ViewBit::kContacts | ViewBit::kCategories | ViewBit::kCompanies | ViewBit::kCallHistory |
                      ViewBit::kMessages)) == ViewBit::kContacts;
}

size_t ListModel::Count() const { return m_search.IsActive() ? m_result.size() : m_rows.size(); }

const ListRow& ListModel::Row(size_t index) const {
    const std::vector<ListRow>& rows = m_search.IsActive() ? m_result : m_rows;
    assert(index < rows.size());
    return rows[index];
}

int ListModel::IndexOf(const common::ContactRecord* record) const {
    if (!record)
        return -1;
    const std::vector<ListRow>& rows = m_search.IsActive() ? m_result : m_rows;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].kind == RowKind::kContact && rows[i].contact == record)
            return int(i);
    return -1;
}

size_t ListModel::Search(const WCHAR* text, bool narrow) {
    std::u16string_view typed = text ? std::u16string_view(text) : std::u16string_view();
    auto lock = Lock();
    m_search.Search(m_searchSource, typed, narrow, CompanyMode());
    TakeResult();
    return Count();
}

void ListModel::Reload() {
    auto lock = Lock();
    std::u16string text = m_search.Text();
    bool searching = m_search.IsActive();
    m_search.Clear();
    m_result.clear();
    Build();
    if (searching) {
        m_search.Search(m_searchSource, text, false, CompanyMode());
        TakeResult();
    }
}

void ListModel::Forget(const common::ContactRecord* record) {
    if (!record)
        return;
    auto lock = Lock();
    std::vector<size_t> moved(m_rows.size(), ContactSearch::kGone);
    std::vector<ListRow> kept;
    kept.reserve(m_rows.size());
    for (size_t i = 0; i < m_rows.size(); ++i) {
        if (m_rows[i].kind == RowKind::kContact && m_rows[i].contact == record)
            continue;
        moved[i] = kept.size();
        kept.push_back(m_rows[i]);
    }
    if (kept.size() == m_rows.size())
        return;
    m_rows = std::move(kept);
    BuildSearchSource();
    if (m_search.IsActive()) {
        m_search.Renumber(moved);
        TakeResult();
    }
}

// Builds m_rows for m_view and m_filter, settling the bits of the view word.
void ListModel::Build() {
    m_rows.clear();
    m_derived = false;
    if (m_view & ViewBit::kContacts) {
        BuildContacts();
    } else if (m_view & ViewBit::kCategories) {
        m_view &= ViewBit::kCategories;
        BuildCategories();
    } else if (m_view & ViewBit::kCompanies) {
        m_view &= ViewBit::kCompanies;
        BuildCompanies();
    } else if (m_view & ViewBit::kCallHistory) {
        BuildCalls();
    } else if (m_view & (ViewBit::kMessages | ViewBit::kFacebookMessages)) {
        // FIXME: the message folders are not read yet; a message view shows no rows.
        m_view &= ViewBit::kMessages | ViewBit::kFacebookMessages | (7u << ViewBit::kFolderShift);
    } else {
        m_view = ViewBit::kContacts;
        BuildContacts();
    }
    BuildSearchSource();
}

void ListModel::BuildContacts() {
    m_view &= ViewBit::kContacts | ViewBit::kFacebook | ViewBit::kFilter | ViewBit::kFilterKinds;
    bool filtered = (m_view & ViewBit::kFilter) || (m_view & ViewBit::kFavorites);
    if (filtered && AppliedFilter(m_rows)) {
        m_derived = true;
        return;
    }
    // No filter, or one that cannot be applied: every contact (Facebook-linked ones only
    // for that view).
    m_view &= ~(ViewBit::kFilter | ViewBit::kFilterKinds);
    m_filter.clear();
    bool facebookOnly = (m_view & ViewBit::kFacebook) != 0;
    size_t count = m_directory.ContactCount();
    m_rows.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        common::ContactRecord* record = m_directory.ContactAt(i);
        if (!facebookOnly || record->facebookId != 0)
            m_rows.push_back(ListRow{RowKind::kContact, record});
    }
}

// The contacts of the favourites, of the category named by m_filter or of the company named
// by it, into `rows`; false when the filter names no entry that can be shown.
bool ListModel::AppliedFilter(std::vector<ListRow>& rows) {
    const common::CategoryEntry* category = nullptr;
    const std::u16string* company = nullptr;
    if (m_view & ViewBit::kFavorites) {
        if (m_directory.CategoryCount() > 1)
            category = &m_directory.CategoryAt(1);
    } else if (m_view & ViewBit::kByCategory) {
        // Entry 0, "All Categories", is no filter.
        for (size_t i = 1; i < m_directory.CategoryCount() && !category; ++i)
            if (!m_filter.empty() && m_directory.CategoryAt(i).name == m_filter)
                category = &m_directory.CategoryAt(i);
    } else if (m_view & ViewBit::kByCompany) {
        for (size_t i = 1; i < m_directory.CompanyCount() && !company; ++i)
            if (!m_filter.empty() && m_directory.CompanyAt(i) == m_filter)
                company = &m_directory.CompanyAt(i);
    }
    if (!category && !company)
        return false;
    // Keep only the kind that applied, with the frame's filter bit.
    bool favorites = (m_view & ViewBit::kFavorites) != 0;
    m_view &= ~ViewBit::kFilterKinds;
    m_view |= ViewBit::kFilter | (favorites ? ViewBit::kFavorites : category ? ViewBit::kByCategory : ViewBit::kByCompany);
    if (favorites)
        m_filter = category->name;
    bool facebookOnly = (m_view & ViewBit::kFacebook) != 0;
    for (size_t i = 0; i < m_directory.ContactCount(); ++i) {
        common::ContactRecord* record = m_directory.ContactAt(i);
        bool kept = category ? HasCategory(*record, category)
                             : record->company && (record->company == company || *record->company == *company);
        if (kept && (!facebookOnly || record->facebookId != 0))
            rows.push_back(ListRow{RowKind::kContact, record});
    }
    return true;
}

void ListModel::BuildCategories() {
    size_t count = m_directory.CategoryCount();
    m_rows.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ListRow row{RowKind::kCategory};
        row.category = &m_directory.CategoryAt(i);
        row.entry = i;
        m_rows.push_back(row);
    }
}

void ListModel::BuildCompanies() {
    size_t count = m_directory.CompanyCount();
    m_rows.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        ListRow row{RowKind::kCompany};
        row.company = &m_directory.CompanyAt(i);
        row.entry = i;
        m_rows.push_back(row);
    }
}

// The call log in the cache's order; a kind filter keeps only those calls, as a derived
// list. FIXME: grouping by contact (0x4000, over `GroupDays`) is not built yet: a grouped
// view shows the calls ungrouped and View() says so by dropping 0x4000.
void ListModel::BuildCalls() {
    DWORD kinds = m_view & ViewBit::kCallKinds;
    m_view = ViewBit::kCallHistory | kinds;
    m_derived = kinds != 0;
    size_t count = m_directory.CallCount();
    m_rows.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        common::CallLogEntry* call = m_directory.CallAt(i);
        if (!CallKept(*call, kinds))
            continue;
        ListRow row{RowKind::kCall, call->contact};
        row.call = call;
        row.entry = i;
        m_rows.push_back(row);
    }
}

// The rows as the search reads them. Category and company rows match by their names;
// call rows by their number (a text of their own) and their name, and carry no contact so
// that the result keeps the history's order. Those texts are copied: the cache may change
// a contact's name before the frame reloads, and the search must not read the old one.
void ListModel::BuildSearchSource() {
    m_searchSource.clear();
    m_searchSource.reserve(m_rows.size());
    m_searchTexts.clear();
    for (size_t i = 0; i < m_rows.size(); ++i) {
        const ListRow& row = m_rows[i];
        SearchRow search;
        search.source = i;
        switch (row.kind) {
        case RowKind::kContact:
            search.contact = row.contact;
            break;
        case RowKind::kCategory:
            search.name = m_searchTexts.emplace_back(row.category->name);
            break;
        case RowKind::kCompany:
            search.name = m_searchTexts.emplace_back(*row.company);
            break;
        case RowKind::kCall:
            search.text = m_searchTexts.emplace_back(row.call->number);
            search.name = m_searchTexts.emplace_back(row.call->contact ? row.call->contact->displayName : row.call->name);
            break;
        }
        m_searchSource.push_back(search);
    }
}

void ListModel::TakeResult() {
    m_result.clear();
    if (!m_search.IsActive())
        return;
    const std::vector<SearchRow>& found = m_search.Result();
    m_result.reserve(found.size());
    for (const SearchRow& search : found) {
        ListRow row = m_rows[search.source];
        row.matchKind = search.matchKind;
        row.matchPosition = search.matchPosition;
        m_result.push_back(row);
    }
}

bool ListModel::CompanyMode() const { return m_core.SharedSettings().Record().displayName == kCompanyDisplayName; }

} // namespace corlist
