// The skinned, finger-scrolled list: a virtual list that asks its owner window for the text,
// picture and state of each visible item (WM_NOTIFY with LVN_GETDISPINFOW), draws them as
// report rows or icons with the look of its "listview" element and its "grid", and scrolls
// kinetically with a Scroller driven by its own timer on the owner window.
#pragma once

#include "corlist/controls/Control.h"
#include "corlist/controls/ListViewLook.h"
#include "corlist/controls/Scroller.h"

#include "ce/commctrl.h"

#include <string>
#include <vector>

namespace corlist {

class GridElement;
class LetterPreview;
class ScrollBar;

// A column of a report list: the width asked for (negative: a share of what the fixed
// columns leave), the width it got, and its header text.
struct ListColumn {
    int requested = -1;
    int width = 0;
    std::u16string header;
};

// The widths of columns that ask for `requested` in a list `listWidth` wide: a fixed width
// is kept but at least 5 pixels; the others share the rest equally, 20 pixels each when the
// share would be less than 10.
std::vector<int> ColumnWidths(const std::vector<int>& requested, int listWidth);

// The rows a view shows: the first one (never negative) and how many (partly shown rows at
// the top and the bottom included), for a scroll position, view height and row height. No
// rows for a row height of 0 or less.
struct RowSpan {
    int first = 0;
    int count = 0;
};
RowSpan VisibleRows(int position, int viewHeight, int rowHeight, int rowCount);

// A text as `ui` writes it: in double quotes, quotes doubled, control characters as '?'.
std::string UiQuoted(const std::u16string& text);

class ListView : public Control {
public:
    static constexpr int kMaxFilterLength = 47;
    static constexpr int kTapSlop = 6; // pixels the pen may wander and still tap

    ListView();
    ~ListView() override;

    // The looks among the children ("grid", the "checkbox" button) build no controls.
    Control* CreateChild(common::XmlNode* node, const ControlTableRow* table) override;
    void Attached(Control* parent) override;
    void Layout(const RECT* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    int OnKey(UINT message, WPARAM key, LPARAM data) override;
    const char* KindName() const override { return "list"; }
    // The control, then its rows (or letters) as lines of their own.
    void Describe(IUiSink& sink, int depth, POINT origin) override;

    // The look: a "grid" element, or a control element whose first "grid" child lays the
    // rows out. Striped rows follow the look's "Stripped" fill; the list returns to the top.
    void SetDescriptor(ControlElement* look);
    void SetItemCount(int count);
    int ItemCount() const { return m_itemCount; }
    void SetColumns(std::vector<ListColumn> columns);
    const std::vector<ListColumn>& Columns() const { return m_columns; }
    void SetCheckBoxes(bool on);
    void SetStriped(bool on);
    bool Striped() const { return m_striped; }
    // A filter text of at most 47 characters, or null for none; see ListNotify.
    void SetFilter(const WCHAR* text);
    const std::u16string& Filter() const { return m_filter; }
    bool HasFilter() const { return m_hasFilter; }
    // Asks the owner for the item's state and tests its check bit.
    bool IsChecked(int item);
    // Scrolls so that `row` is at the top, no further than the last full page.
    void ScrollTo(int row);
    void SetFocusedItem(int item);
    int FocusedItem() const { return m_focusedItem; }

    // Geometry, for the bars beside the list and for tests.
    int RowHeight() const { return m_rowHeight; }
    // The size of a row's picture or icon, as the grid places it.
    SIZE ImageSize() const { return SIZE{m_imageOffset.right - m_imageOffset.left, m_imageOffset.bottom - m_imageOffset.top}; }
    int CellWidth() const { return m_cellWidth; }
    int ItemsPerRow() const { return m_itemsPerRow; }
    int RowCount() const;
    int ScrollPosition() const { return m_scroller.Y(); }
    RowSpan Visible() const;
    const Scroller& Scrolling() const { return m_scroller; }
    // The rows area: the list's rectangle below the header row.
    RECT RowsArea() const;

    // The bars that follow the list (they register themselves); redrawn when it scrolls.
    void AddBar(ScrollBar* bar);
    void RemoveBar(ScrollBar* bar);
    // The letter bar's preview painted over the rows while a letter is touched (null: none).
    void SetLetterPreview(const LetterPreview* preview);
    const LetterPreview* Preview() const { return m_preview; }

    // What `ui` shows for the visible rows: `row INDEX [selected] [checked] "TEXT"`, the
    // texts of the columns separated by " | ".
    std::vector<std::string> UiLines();
    // The timer the list animates with on its owner window (its WM_TIMER id).
    UINT_PTR TimerId() const { return reinterpret_cast<UINT_PTR>(this); }

private:
    struct ItemData {
        std::u16string text; // column 0
        int image = -1;
        UINT state = 0;
        HBITMAP picture = nullptr; // the owner's picture of the row, drawn instead of the icon
    };

    void LayoutRows();
    void UpdateScroller();
    void ScrollerMoved();
    void StartAnimation();
    void StopAnimation();
    // WM_NOTIFY to the owner window; its answer.
    LRESULT SendNotify(NMHDR& header, UINT code);
    // Asks the owner for item `item`, sub-item `column` (text, picture, state as `mask` says).
    ItemData RequestItem(int item, int column, UINT mask);
    std::u16string RowText(int item);
    bool IsSelected(int item) const { return item >= m_selectionFirst && item <= m_selectionLast; }
    int ItemAt(int x, int y) const;
    void OnTap(int x, int y);
    void ChangeItemState(int item, UINT mask, UINT state);

    // Painting, in ListViewPainting.cpp.
    void PaintHeader(DrawSurface& surface, const RECT& clip);
    void PaintRows(DrawSurface& surface, const RECT& clip);
    void PaintRow(DrawSurface& surface, const RECT& clip, int item, const RECT& cell);
    void PaintRowBackground(DrawSurface& surface, const RECT& clip, int item, int state, const RECT& cell);
    void PaintRowTexts(DrawSurface& surface, int item, int state, const ItemData& data, const RECT& cell);
    void PaintPicture(DrawSurface& surface, HBITMAP picture, const RECT& area);
    void PaintCheckBox(DrawSurface& surface, const RECT& clip, bool checked, const RECT& cell);
    void PaintEmpty(DrawSurface& surface, const RECT& clip);
    RECT CellRect(int item) const;

    ControlElement* m_look = nullptr; // the skin owns it
    GridElement* m_grid = nullptr;
    ListViewLook m_slots;
    bool m_icons = false;
    std::vector<ListColumn> m_columns;
    int m_itemCount = 0;
    int m_rowHeight = 0;
    int m_cellWidth = 0;
    int m_itemsPerRow = 1;
    int m_headerHeight = 0;
    RECT m_itemOffset{};  // the item rectangle in the cell
    RECT m_imageOffset{}; // relative to the cell; empty: none
    RECT m_textOffset{};
    RECT m_checkOffset{};
    bool m_checkBoxes = false;
    bool m_striped = false;
    int m_focusedItem = -1;
    int m_selectionFirst = -1;
    int m_selectionLast = -1;
    std::u16string m_filter;
    bool m_hasFilter = false;
    Scroller m_scroller;
    bool m_timerRunning = false;
    bool m_tapPossible = false;
    std::vector<ScrollBar*> m_bars; // back-links to bars that follow the list
    const LetterPreview* m_preview = nullptr; // back-link: a letter bar owns it
    POINT m_downPoint{};
};

} // namespace corlist
