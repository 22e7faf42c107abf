// The list's own WM_NOTIFY codes (beside the platform's LVN_ ones) and their records. The
// pages that own lists answer them; the values are fixed.
#pragma once

#include "ce/commctrl.h"

namespace corlist {

namespace ListNotify {
// A tap on the list (NMLISTVIEW: iItem under the pen or -1, ptAction in screen coordinates).
constexpr UINT kTap = UINT(-191);
// The filter text is changing (NMLVFILTERW); the owner answers TRUE when it applied the
// filter, with iItem the item to focus.
constexpr UINT kFilterChanging = UINT(-193);
// The filter was applied (NMLVFILTERW with the focused item).
constexpr UINT kFilterChanged = UINT(-194);
// An item is about to be painted (NMLISTVIEW with iItem); the owner may prepare its data.
constexpr UINT kItemPrePaint = UINT(-197);
} // namespace ListNotify

// The list asks for a row's picture with LVIF_PARAM: the owner answers lParam with a bitmap
// (HBITMAP) it keeps alive while the row is painted, or 0 for the grid's icon.

// Bit of an item's state: the item's check box is ticked.
constexpr UINT kItemChecked = 0x100;

struct NMLVFILTERW {
    NMHDR hdr;
    LPCWSTR pszFilter; // null: no filter
    int iItem;
};

} // namespace corlist
