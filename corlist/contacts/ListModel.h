// The list model of the frame's main pages (one per frame): which list a view word shows,
// built from the main program's caches (all contacts, a category's or company's contacts,
// the favourites, the Facebook-linked contacts, the category and company lists, the call
// history with its kind filters), and the keypad search over the shown list.
//
// View words speak the frame's bits (ViewBit). A contact filter comes as 0x1000 with the
// filter's kind (0x1000000 category, 0x2000000 company, 0x4000000 favourites); when the
// filter applies, the model shows a derived list of the contacts it keeps and marks that
// with its own bit 0x2000 (ShowsDerivedList); View() still answers with the frame's 0x1000.
// A filter that cannot be applied shows all contacts and View() loses 0x1000 and the kind.
#pragma once

#include "ce/types.h"
#include "corlist/contacts/ContactSearch.h"
#include "corlist/contacts/ListRow.h"
#include "corlist/contacts/ViewWord.h"

#include <cstddef>
#include <deque>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace common {
class ContactDirectory;
class CoreObject;
struct ContactRecord;
} // namespace common

namespace corlist {


class ListModel {
public:
    // Reads the caches through core.Directory() and the display-name mode through the
    // shared settings; `core` outlives the model.
    explicit ListModel(common::CoreObject& core);

    // Shows the list of the frame's view word `view`; `filter` names the category or
    // company of a contact filter. Clears the search. Returns the row count.
    size_t Load(DWORD view, std::u16string_view filter = {});
    // The view word as it stands: filter bits cleared when they did not apply, bits of
    // lists not built yet cleared, kSearch while a search result shows.
    DWORD View() const;
    const std::u16string& Filter() const { return m_filter; }
    // The rows are contacts (all, filtered, favourites, Facebook-linked).
    bool IsContactView() const;
    // The shown list is a derived one (a contact filter or a call kind filter), which is
    // then also what the search runs over.
    bool ShowsDerivedList() const { return m_derived; }

    // Rows shown now: the search result while a search is on, else the list.
    size_t Count() const;
    const ListRow& Row(size_t index) const;
    // The row of a contact row showing `record`, or -1.
    int IndexOf(const common::ContactRecord* record) const;

    // Searches the shown list for `text` (null or empty clears the search); `narrow`
    // filters the shown result again when `text` extends the text searched before.
    // Returns the row count.
    size_t Search(const WCHAR* text, bool narrow);
    bool IsSearching() const { return m_search.IsActive(); }
    const std::u16string& SearchText() const { return m_search.Text(); }

    // Builds the same view again from the caches; an active search runs again over it.
    void Reload();
    // Drops every contact row of a record the cache removed.
    void Forget(const common::ContactRecord* record);

    // The list lock: held while the shown rows change; the picture loader holds it while it
    // reads rows by index from its own thread.
    std::unique_lock<std::mutex> Lock() { return std::unique_lock(m_lock); }

private:
    void Build();
    void BuildContacts();
    bool AppliedFilter(std::vector<ListRow>& rows);
    void BuildCategories();
    void BuildCompanies();
    void BuildCalls();
    void BuildSearchSource();
    void TakeResult();
    bool CompanyMode() const;

    common::CoreObject& m_core;
    common::ContactDirectory& m_directory;
    DWORD m_view = ViewBit::kContacts;
    std::u16string m_filter;
    bool m_derived = false;
    // The shown list, and the same rows as the search reads them.
    std::vector<ListRow> m_rows;
    std::vector<SearchRow> m_searchSource;
    // Texts of the search rows that are not contacts (a deque: the rows view them).
    std::deque<std::u16string> m_searchTexts;
    ContactSearch m_search;
    // The search result as rows (m_rows entries with their match).
    std::vector<ListRow> m_result;
    std::mutex m_lock;
};

} // namespace corlist
