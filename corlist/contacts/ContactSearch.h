// The search behind the keypad: every key typed rebuilds (or narrows) the result list from
// the shown source list, matching names, companies, texts and phone numbers, and orders the
// contacts found by their last call, newest first.
#pragma once

#include "common/PhoneKey.h"

#include "ce/types.h"

#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace common {
struct ContactRecord;
}

namespace corlist {

// How a row matched.
namespace MatchKind {
constexpr BYTE kName = 0;
constexpr BYTE kText = 1; // a text of the row or a phone number
constexpr BYTE kCompany = 2;
} // namespace MatchKind

struct SearchRow {
    common::ContactRecord* contact = nullptr; // the cache's record, or null
    std::u16string_view name; // the row's own name; empty: the contact's display name
    std::u16string_view text; // a text of the row's own (a message or a call's number)
    BYTE matchKind = MatchKind::kName;
    // kName and kCompany: the offset of the matching word; kText: the number highlight
    // (offset in the low 8 bits, count of characters above).
    DWORD matchPosition = 0;
    // The row's index in the list the search reads, for the owner of that list.
    size_t source = 0;
};

class ContactSearch {
public:
    static constexpr size_t kMaxSearchText = 31;

    // Searches `source` for `text` (cut to 31 characters); with `narrow`, a result shown and
    // a text that extends the one searched before, filters that result again in place. An
    // empty text clears the search. `companyMode`
    // (the display name already holds the company) skips the company match. Returns the
    // number of rows now shown.
    size_t Search(const std::vector<SearchRow>& source, std::u16string_view text, bool narrow, bool companyMode);
    void Clear();
    // Follows a change of the searched list: `moved[i]` is the new index of source row i,
    // or kGone for a row that left it (dropped from the result, its matched number cleared).
    static constexpr size_t kGone = size_t(-1);
    void Renumber(const std::vector<size_t>& moved);

    bool IsActive() const { return m_active; }
    const std::u16string& Text() const { return m_text; }
    // The rows found; read under Lock() from other threads.
    const std::vector<SearchRow>& Result() const { return m_result; }
    std::unique_lock<std::mutex> Lock() { return std::unique_lock(m_lock); }

    // Matches one row against the current text and key; sets its kind and position, and
    // for a number match the contact's matched number and its kind.
    bool MatchRow(SearchRow& row, bool companyMode) const;

private:
    bool MatchNumber(SearchRow& row) const;
    void ForgetMatchedNumbers();
    void OrderByLastCall();

    std::u16string m_text;
    common::PhoneKey m_key;
    bool m_keyHasDigits = false;
    bool m_active = false;
    std::vector<SearchRow> m_result;
    // Guards m_result against the picture loader, which reads rows by index.
    std::mutex m_lock;
};

// The number a phone key stands for: "+" when it has a country code, then its digits in
// dialling order.
std::u16string NumberOfKey(const BYTE* key);

} // namespace corlist
