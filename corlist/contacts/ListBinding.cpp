#include "corlist/contacts/ListBinding.h"

#include "common/CallLogEntry.h"
#include "common/ContactRecord.h"
#include "corlist/contacts/KeypadMatch.h"
#include "corlist/contacts/ListModel.h"
#include "corlist/controls/ListView.h"

#include <algorithm>

namespace corlist {

namespace {

bool IsLetterOrDigit(char16_t c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z'); }

// Copies `text` into the list's buffer, cut to fit and always terminated.
void CopyText(const std::u16string& text, LVITEMW& item) {
    if (!item.pszText || item.cchTextMax <= 0 || item.pszText == LPSTR_TEXTCALLBACKW)
        return;
    size_t length = std::min(text.size(), size_t(item.cchTextMax) - 1);
    std::copy_n(text.data(), length, item.pszText);
    item.pszText[length] = 0;
}

} // namespace

void ListBinding::Attach(ListView& list) {
    m_list = &list;
    Update();
}

void ListBinding::Update() {
    if (!m_list)
        return;
    m_list->SetItemCount(int(std::min<size_t>(m_model.Count(), size_t(INT32_MAX))));
    // The list keeps at most 47 characters of a filter; the search text holds at most 31.
    m_list->SetFilter(m_model.IsSearching() ? m_model.SearchText().c_str() : nullptr);
}

LRESULT ListBinding::OnNotify(NMHDR* header) {
    if (!header)
        return 0;
    if (header->code == LVN_GETDISPINFOW)
        AnswerDisplayInfo(*reinterpret_cast<NMLVDISPINFOW*>(header));
    return 0;
}

void ListBinding::AnswerDisplayInfo(NMLVDISPINFOW& info) const {
    LVITEMW& item = info.item;
    bool shown = item.iItem >= 0 && size_t(item.iItem) < m_model.Count();
    if (item.mask & LVIF_IMAGE)
        item.iImage = shown ? IconOf(m_model.Row(size_t(item.iItem))) : -1;
    if (!(item.mask & LVIF_TEXT))
        return;
    if (!shown) {
        CopyText(std::u16string(), item);
        return;
    }
    if (item.iSubItem == 0 && m_list && m_list->Columns().size() <= 1) {
        std::u16string text = Text(size_t(item.iItem), 0);
        std::u16string number = Text(size_t(item.iItem), 1);
        if (!number.empty())
            text += u"\n" + number;
        CopyText(text, item);
        return;
    }
    CopyText(Text(size_t(item.iItem), item.iSubItem), item);
}

// The row's picture in its look's strip (skins/README.md): a contact's kind (plain, SIM
// entry, linked to an online friend), the list a category or company row opens, a call's
// kind.
int ListBinding::IconOf(const ListRow& row) {
    switch (row.kind) {
    case RowKind::kContact:
        if (!row.contact)
            return -1;
        return row.contact->IsSimEntry() ? 1 : row.contact->facebookId != 0 ? 2 : 0;
    case RowKind::kCategory:
        return row.entry == 0 ? 0 : 1;
    case RowKind::kCompany:
        return row.entry == 0 ? 0 : 2;
    case RowKind::kCall:
        if (!row.call)
            return -1;
        if (row.call->flags & common::CallFlag::kMissed)
            return 1;
        return (row.call->flags & common::CallFlag::kOutgoing) ? 3 : 2;
    }
    return -1;
}

std::u16string ListBinding::Text(size_t index, int column) const {
    if (index >= m_model.Count())
        return {};
    const ListRow& row = m_model.Row(index);
    if (column == 0)
        return Name(row);
    if (column == 1)
        return Number(row);
    return {};
}

std::u16string ListBinding::Name(const ListRow& row) const {
    switch (row.kind) {
    case RowKind::kContact:
        return row.contact->displayName.empty() ? row.contact->primaryNumber : row.contact->displayName;
    case RowKind::kCategory:
        return row.category->name;
    case RowKind::kCompany:
        return *row.company;
    case RowKind::kCall:
        if (row.call->contact && !row.call->contact->displayName.empty())
            return row.call->contact->displayName;
        return row.call->number.empty() ? row.call->name : row.call->number;
    }
    return {};
}

// A contact's number: the one that matched the search while a search shows, else the
// primary one (already the name when the contact has no name). A call's number beside its
// contact's name.
std::u16string ListBinding::Number(const ListRow& row) const {
    if (row.kind == RowKind::kContact) {
        const common::ContactRecord& contact = *row.contact;
        if (contact.displayName.empty())
            return {};
        if (m_model.IsSearching() && !contact.searchMatch.empty())
            return contact.searchMatch;
        return contact.primaryNumber;
    }
    if (row.kind == RowKind::kCall && row.call->contact && !row.call->contact->displayName.empty())
        return row.call->number;
    return {};
}

WCHAR ListBinding::LetterOf(size_t index) const {
    if (index >= m_model.Count())
        return 0;
    for (char16_t c : Name(m_model.Row(index))) {
        char16_t base = BaseLetter(c);
        if (IsLetterOrDigit(base))
            return base >= u'a' ? WCHAR(base - u'a' + u'A') : WCHAR(base);
    }
    return 0;
}

// Runs of rows under one letter; a letter that comes back later in the list (the name
// order need not follow the folded letters) counts toward its first run.
std::vector<BarLetter> ListBinding::Letters() const {
    std::vector<BarLetter> letters;
    for (size_t i = 0; i < m_model.Count(); ++i) {
        WCHAR letter = LetterOf(i);
        if (!letter)
            continue;
        auto found = std::find_if(letters.begin(), letters.end(), [letter](const BarLetter& bar) { return bar.ch == letter; });
        if (found != letters.end()) {
            ++found->entries;
            continue;
        }
        BarLetter bar;
        bar.ch = letter;
        bar.entries = 1;
        bar.firstItem = int(std::min<size_t>(i, size_t(INT32_MAX)));
        letters.push_back(bar);
    }
    return letters;
}

} // namespace corlist
