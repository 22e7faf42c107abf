#include "corlist/contacts/ContactSearch.h"

#include "common/ContactRecord.h"
#include "corlist/contacts/KeypadMatch.h"

#include <algorithm>

namespace corlist {

namespace {

DWORD LastCallSeconds(const SearchRow& row) {
    return row.contact ? (row.contact->lastCall & common::kLastCallSecondsMask) : 0;
}

} // namespace

std::u16string NumberOfKey(const BYTE* key) {
    std::u16string number;
    if (key[2] > 0)
        number.push_back(u'+');
    for (size_t i = key[0]; i > 0; --i)
        number.push_back(char16_t(key[common::kPhoneKeyHeaderSize + i - 1]));
    return number;
}

void ContactSearch::Clear() {
    auto lock = Lock();
    ForgetMatchedNumbers();
    m_result.clear();
    m_text.clear();
    m_active = false;
}

size_t ContactSearch::Search(const std::vector<SearchRow>& source, std::u16string_view text, bool narrow,
                             bool companyMode) {
    if (text.empty()) {
        Clear();
        return source.size();
    }
    // Narrowing a result is only sound when every row it lacks fails the new text too.
    bool narrowing = narrow && m_active && text.substr(0, m_text.size()) == m_text;
    m_text.assign(text.substr(0, kMaxSearchText));
    m_key = common::PhoneKey(m_text, 0);
    m_keyHasDigits = m_key.DigitCount() > 0;
    auto lock = Lock();
    ForgetMatchedNumbers();
    if (narrowing) {
        std::vector<SearchRow> kept;
        for (SearchRow row : m_result)
            if (MatchRow(row, companyMode))
                kept.push_back(row);
        m_result = std::move(kept);
    } else {
        m_result.clear();
        for (SearchRow row : source)
            if (MatchRow(row, companyMode))
                m_result.push_back(row);
        OrderByLastCall();
    }
    m_active = true;
    return m_result.size();
}

void ContactSearch::Renumber(const std::vector<size_t>& moved) {
    auto lock = Lock();
    std::vector<SearchRow> kept;
    kept.reserve(m_result.size());
    for (SearchRow row : m_result) {
        size_t index = row.source < moved.size() ? moved[row.source] : kGone;
        if (index == kGone) {
            if (row.contact) {
                row.contact->searchMatch.clear();
                row.contact->searchKind = 0;
            }
            continue;
        }
        row.source = index;
        kept.push_back(row);
    }
    m_result = std::move(kept);
}

// Rows without a contact stay where they came; between them, contacts go after every
// contact called at the same time or later, so contacts never called keep their order at
// the end. That is a stable sort of each run of contacts, newest call first.
void ContactSearch::OrderByLastCall() {
    auto newer = [](const SearchRow& a, const SearchRow& b) { return LastCallSeconds(a) > LastCallSeconds(b); };
    auto run = m_result.begin();
    while (run != m_result.end()) {
        run = std::find_if(run, m_result.end(), [](const SearchRow& row) { return row.contact != nullptr; });
        auto end = std::find_if(run, m_result.end(), [](const SearchRow& row) { return row.contact == nullptr; });
        std::stable_sort(run, end, newer);
        run = end;
    }
}

void ContactSearch::ForgetMatchedNumbers() {
    for (const SearchRow& row : m_result)
        if (row.contact) {
            row.contact->searchMatch.clear();
            row.contact->searchKind = 0;
        }
}

bool ContactSearch::MatchRow(SearchRow& row, bool companyMode) const {
    if (!row.text.empty()) {
        long highlight = NumberHighlight(row.text, m_text);
        if (highlight >= 0) {
            row.matchKind = MatchKind::kText;
            row.matchPosition = DWORD(highlight);
            return true;
        }
    }
    std::u16string_view name = !row.name.empty() ? row.name
                               : row.contact   ? std::u16string_view(row.contact->displayName)
                                               : std::u16string_view();
    if (size_t word = NameMatch(name, m_text); word != kNoMatch) {
        row.matchKind = MatchKind::kName;
        row.matchPosition = DWORD(word);
        return true;
    }
    if (!companyMode && row.contact && row.contact->company)
        if (size_t word = NameMatch(*row.contact->company, m_text); word != kNoMatch) {
            row.matchKind = MatchKind::kCompany;
            row.matchPosition = DWORD(word);
            return true;
        }
    return MatchNumber(row);
}

// The first of the contact's numbers that starts as typed is shown in the row instead of
// its primary number.
bool ContactSearch::MatchNumber(SearchRow& row) const {
    common::ContactRecord* contact = row.contact;
    if (!m_keyHasDigits || !contact || contact->IsSimEntry() || contact->phoneKeys.empty())
        return false;
    const std::vector<BYTE>& block = contact->phoneKeys;
    for (size_t index = 0;; ++index) {
        const BYTE* key = common::KeyAt(block.data(), block.size(), index);
        if (!key)
            return false;
        if (!NumberPrefixMatch(key, m_key.Bytes()))
            continue;
        std::u16string number = NumberOfKey(key);
        long highlight = NumberHighlight(number, m_text);
        if (highlight < 0)
            continue;
        row.matchKind = MatchKind::kText;
        row.matchPosition = DWORD(highlight);
        contact->searchMatch = number;
        BYTE type = key[1];
        contact->searchKind = type < std::size(common::kPhoneTypes) ? common::kPhoneTypes[type].kind : 0;
        return true;
    }
}

} // namespace corlist
