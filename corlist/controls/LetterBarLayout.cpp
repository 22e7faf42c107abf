#include "corlist/controls/LetterBarLayout.h"

#include <algorithm>
#include <cstdint>

namespace corlist {

namespace {

WCHAR Upper(WCHAR ch) {
    return ch >= u'a' && ch <= u'z' ? WCHAR(ch - u'a' + u'A') : ch;
}

bool IsDigit(WCHAR ch) {
    return ch >= u'0' && ch <= u'9';
}

void DropFewest(std::vector<BarLetter>& letters, size_t slots) {
    while (letters.size() > slots && letters.size() > 2) {
        // Never the first or the last; the earliest of equals goes.
        auto fewest = std::min_element(letters.begin() + 1, letters.end() - 1,
                                       [](const BarLetter& a, const BarLetter& b) { return a.entries < b.entries; });
        letters.erase(fewest);
    }
}

// The letter to insert between `low` and `high` (ascending, upper case) and the size of
// their gap; a gap of 1 or less takes nothing.
int GapBetween(WCHAR low, WCHAR high, WCHAR& middle) {
    if (low < u'A' && high > u'A' && !IsDigit(low)) {
        middle = u'A';
        return high - low;
    }
    // Digits are split only up to ':', the character after '9'.
    WCHAR top = IsDigit(low) ? std::min<WCHAR>(high, u':') : high;
    middle = WCHAR((low + top) / 2);
    return top - low;
}

// Inserts one letter; false when no gap is left.
bool InsertOne(std::vector<BarLetter>& letters, bool ascending) {
    WCHAR front = ascending ? u'A' : u'Z';
    WCHAR back = ascending ? u'Z' : u'A';
    auto before = [ascending](WCHAR a, WCHAR b) { return ascending ? a < b : a > b; };
    if (before(front, Upper(letters.front().ch))) {
        letters.insert(letters.begin(), BarLetter{front, 0, letters.front().firstItem, 0});
        return true;
    }
    if (before(Upper(letters.back().ch), back)) {
        letters.push_back(BarLetter{back, 0, letters.back().firstItem, 0});
        return true;
    }
    int bestGap = 1;
    size_t bestAt = 0;
    WCHAR bestLetter = 0;
    for (size_t i = 0; i + 1 < letters.size(); ++i) {
        WCHAR a = Upper(letters[i].ch), b = Upper(letters[i + 1].ch);
        WCHAR middle = 0;
        int gap = ascending ? GapBetween(a, b, middle) : GapBetween(b, a, middle);
        if (gap > bestGap && middle != a && middle != b) {
            bestGap = gap;
            bestAt = i + 1;
            bestLetter = middle;
        }
    }
    if (bestLetter == 0)
        return false;
    letters.insert(letters.begin() + std::ptrdiff_t(bestAt), BarLetter{bestLetter, 0, letters[bestAt].firstItem, 0});
    return true;
}

} // namespace

int LetterSlots(int height, int cellHeight, int count) {
    if (cellHeight <= 0 || height <= 0)
        return 0;
    int slots = height / cellHeight;
    if (slots - count == 1 || slots - count == 2)
        slots = count;
    return slots < 2 ? 0 : slots;
}

std::vector<BarLetter> FitLetters(std::vector<BarLetter> letters, int slots) {
    if (slots < 2 || letters.empty())
        return {};
    size_t target = size_t(slots);
    if (letters.size() > target) {
        DropFewest(letters, target);
        return letters;
    }
    bool ascending = Upper(letters.front().ch) <= Upper(letters.back().ch);
    while (letters.size() < target && InsertOne(letters, ascending)) {
    }
    return letters;
}

void PlaceLetters(std::vector<BarLetter>& letters, int top, int height) {
    if (letters.empty())
        return;
    int64_t step = int64_t(height) * 1024 / int64_t(letters.size());
    for (size_t k = 0; k < letters.size(); ++k)
        letters[k].position = int((int64_t(top) * 1024 + int64_t(k) * step) / 1024);
}

} // namespace corlist
