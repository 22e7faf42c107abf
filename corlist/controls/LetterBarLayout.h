// Fitting a list's initial letters to the height of the letter bar: letters with the fewest
// entries are dropped when space is short, and letters are inserted (A and Z at the ends,
// then the middles of the largest gaps) when space is plentiful, so the column is filled
// evenly.
#pragma once

#include "ce/types.h"

#include <vector>

namespace corlist {

struct BarLetter {
    WCHAR ch = 0;
    int entries = 0;   // 0 for an inserted letter
    int firstItem = 0; // the list item the letter jumps to
    int position = 0;  // top of its cell, set by PlaceLetters
};

// The number of letter slots a letters area of `height` holds with cells of `cellHeight`
// for `count` letters: one or two slots to spare count as none. 0 when the cell height is 0
// or less, or fewer than 2 slots fit: the bar then shows no letters.
int LetterSlots(int height, int cellHeight, int count);

// The letters (in list order) fitted to `slots`.
std::vector<BarLetter> FitLetters(std::vector<BarLetter> letters, int slots);

// Spreads the letters evenly from `top` over `height`.
void PlaceLetters(std::vector<BarLetter>& letters, int top, int height);

} // namespace corlist
