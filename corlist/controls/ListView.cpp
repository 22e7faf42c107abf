#include "corlist/controls/ListView.h"

#include "common/TextCodec.h"
#include "common/XmlNode.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/GridElement.h"
#include "corlist/controls/LetterPreview.h"
#include "corlist/controls/ListViewNotify.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/ScrollBar.h"
#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/SkinKinds.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/user.h"
#include "ce/uiview.h"

#include <algorithm>
#include <cstdlib>

namespace corlist {

namespace {

constexpr int kTextBuffer = 260;
// A text the owner hands back in its own memory is read no further than this.
constexpr size_t kMaxOwnerText = 1024;

// The rectangle of `spec` in `within`, relative to `origin`; empty when the placement is
// unset or the rectangle has no width.
RECT ResolveRelative(const RectSpec& spec, const RECT& within, POINT origin) {
    if (!spec.IsSet())
        return RECT{};
    RECT rect = ResolveRect(spec, &within, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (rect.right <= rect.left)
        return RECT{};
    return RECT{rect.left - origin.x, rect.top - origin.y, rect.right - origin.x, rect.bottom - origin.y};
}

} // namespace

std::string UiQuoted(const std::u16string& text) {
    std::string result(1, '"');
    for (char ch : common::WideToUtf8(text)) {
        if (ch == '"')
            result += '"';
        result += static_cast<unsigned char>(ch) < 0x20 ? '?' : ch;
    }
    result += '"';
    return result;
}

std::vector<int> ColumnWidths(const std::vector<int>& requested, int listWidth) {
    std::vector<int> widths(requested.size());
    int fixed = 0, shared = 0;
    for (size_t i = 0; i < requested.size(); ++i) {
        if (requested[i] >= 0) {
            widths[i] = std::max(requested[i], 5);
            fixed += widths[i];
        } else {
            ++shared;
        }
    }
    if (shared == 0)
        return widths;
    int share = (listWidth - fixed) / shared;
    if (share < 10)
        share = 20;
    for (size_t i = 0; i < requested.size(); ++i)
        if (requested[i] < 0)
            widths[i] = share;
    return widths;
}

RowSpan VisibleRows(int position, int viewHeight, int rowHeight, int rowCount) {
    if (rowHeight <= 0 || viewHeight <= 0 || rowCount <= 0)
        return {};
    // Floor division, so a list pulled past its top starts at row 0 further down.
    int first = position >= 0 ? position / rowHeight : -((-position + rowHeight - 1) / rowHeight);
    int last = (position + viewHeight - 1) >= 0 ? (position + viewHeight - 1) / rowHeight : -1;
    first = std::max(first, 0);
    last = std::min(last, rowCount - 1);
    return last < first ? RowSpan{first, 0} : RowSpan{first, last - first + 1};
}

ListView::ListView() {
    m_state |= ControlState::kFocusable;
}

ListView::~ListView() {
    StopAnimation();
    for (ScrollBar* bar : std::vector<ScrollBar*>(m_bars))
        bar->SetList(nullptr);
}

void ListView::AddBar(ScrollBar* bar) {
    if (std::find(m_bars.begin(), m_bars.end(), bar) == m_bars.end())
        m_bars.push_back(bar);
}

void ListView::RemoveBar(ScrollBar* bar) {
    m_bars.erase(std::remove(m_bars.begin(), m_bars.end(), bar), m_bars.end());
}

void ListView::SetLetterPreview(const LetterPreview* preview) {
    for (const LetterPreview* shown : {m_preview, preview})
        if (RECT area = shown ? shown->Area(m_rect) : RECT{}; !IsEmptyRect(area))
            Invalidate(&area);
    m_preview = preview;
}

Control* ListView::CreateChild(common::XmlNode* node, const ControlTableRow* table) {
    if (node->Kind() == SkinKind::kGrid ||
        (node->Kind() == SkinKind::kButton && node->name && EqualsIgnoringCase(node->name, "checkbox")))
        return nullptr;
    return Control::CreateChild(node, table);
}

void ListView::Attached(Control* parent) {
    SetDescriptor(Descriptor());
    // Bars built before the list among its siblings follow it too.
    if (parent)
        for (auto& sibling : parent->Children())
            if (auto* bar = dynamic_cast<ScrollBar*>(sibling.get()); bar && !bar->List())
                bar->SetList(this);
}

void ListView::SetDescriptor(ControlElement* look) {
    m_look = look;
    m_grid = nullptr;
    if (look && look->Node() && look->Node()->Kind() == SkinKind::kGrid)
        m_grid = static_cast<GridElement*>(look);
    else if (look)
        m_grid = static_cast<GridElement*>(look->FirstChild(SkinKind::kGrid));
    m_slots.Collect(m_grid, Descriptor());
    m_icons = m_grid && m_grid->LayoutMode() == GridElement::Mode::Icons;
    if (!m_icons)
        m_striped = m_slots.Paints(ListSlot::kStriped);
    StopAnimation();
    m_scroller.ScrollTo(0, 0);
    LayoutRows();
    Invalidate();
}

void ListView::Layout(const RECT* parent) {
    Control::Layout(parent);
    LayoutRows();
}

void ListView::LayoutRows() {
    m_rowHeight = m_cellWidth = 0;
    m_itemsPerRow = 1;
    m_itemOffset = m_imageOffset = m_textOffset = m_checkOffset = RECT{};
    int width = m_rect.right - m_rect.left;
    int height = m_rect.bottom - m_rect.top;
    m_headerHeight = m_grid && !m_icons ? std::clamp(m_grid->HeaderHeight(), 0, std::max(height, 0)) : 0;
    if (m_grid && m_grid->ItemRect().IsSet() && width > 0 && height > 0) {
        RECT item = ResolveRect(m_grid->ItemRect(), &m_rect, GetSystemMetrics(SM_CXSCREEN),
                                GetSystemMetrics(SM_CYSCREEN));
        // A cell without width or height holds no rows: nothing is divided by it.
        if (item.right > item.left && item.bottom > item.top) {
            m_cellWidth = item.right - item.left;
            m_rowHeight = item.bottom - item.top;
            POINT origin{item.left, item.top};
            m_itemOffset = RECT{0, 0, m_cellWidth, m_rowHeight};
            m_imageOffset = ResolveRelative(m_grid->ImageRect(), item, origin);
            m_textOffset = ResolveRelative(m_grid->TextRect(), item, origin);
            if (ButtonElement* box = m_slots.CheckBox())
                if (const RectSpec* spec = ChooseRectSpec(box->RectSpecs(), OrientationClass()))
                    m_checkOffset = ResolveRelative(*spec, m_itemOffset, POINT{0, 0});
            if (m_icons)
                m_itemsPerRow = std::max(1, width / m_cellWidth);
        }
    }
    std::vector<int> requested;
    for (const ListColumn& column : m_columns)
        requested.push_back(column.requested);
    std::vector<int> widths = ColumnWidths(requested, width);
    for (size_t i = 0; i < m_columns.size(); ++i)
        m_columns[i].width = widths[i];
    UpdateScroller();
}

void ListView::UpdateScroller() {
    RECT area = RowsArea();
    SIZE view{area.right - area.left, area.bottom - area.top};
    m_scroller.SetSizes(SIZE{view.cx, LONG(int64_t(RowCount()) * m_rowHeight)}, view);
}

int ListView::RowCount() const {
    if (m_rowHeight <= 0 || m_itemCount <= 0)
        return 0;
    return (m_itemCount + m_itemsPerRow - 1) / m_itemsPerRow;
}

RECT ListView::RowsArea() const {
    RECT area = m_rect;
    area.top = std::min(area.bottom, area.top + m_headerHeight);
    return area;
}

RowSpan ListView::Visible() const {
    RECT area = RowsArea();
    return VisibleRows(m_scroller.Y(), area.bottom - area.top, m_rowHeight, RowCount());
}

void ListView::SetItemCount(int count) {
    m_itemCount = std::max(count, 0);
    if (m_focusedItem >= m_itemCount)
        m_focusedItem = -1;
    if (m_selectionFirst >= m_itemCount)
        m_selectionFirst = m_selectionLast = -1;
    m_selectionLast = std::min(m_selectionLast, m_itemCount - 1);
    UpdateScroller();
    Invalidate();
}

void ListView::SetColumns(std::vector<ListColumn> columns) {
    m_columns = std::move(columns);
    LayoutRows();
    Invalidate();
}

void ListView::SetCheckBoxes(bool on) {
    m_checkBoxes = on;
    Invalidate();
}

void ListView::SetStriped(bool on) {
    m_striped = on;
    Invalidate();
}

void ListView::SetFilter(const WCHAR* text) {
    size_t length = 0;
    while (text && text[length] && length <= size_t(kMaxFilterLength))
        ++length;
    if (length > size_t(kMaxFilterLength))
        return;
    bool has = text && length > 0;
    std::u16string value = has ? std::u16string(text, length) : std::u16string();
    if (has == m_hasFilter && value == m_filter)
        return;
    m_filter = value;
    m_hasFilter = has;
    NMLVFILTERW filter{};
    filter.pszFilter = has ? m_filter.c_str() : nullptr;
    filter.iItem = m_focusedItem;
    if (SendNotify(filter.hdr, ListNotify::kFilterChanging)) {
        m_focusedItem = filter.iItem >= 0 && filter.iItem < m_itemCount ? filter.iItem : -1;
        m_selectionFirst = m_selectionLast = m_focusedItem;
        filter.iItem = m_focusedItem;
        SendNotify(filter.hdr, ListNotify::kFilterChanged);
    }
    Invalidate();
}

bool ListView::IsChecked(int item) {
    return (RequestItem(item, 0, LVIF_STATE).state & kItemChecked) != 0;
}

void ListView::ScrollTo(int row) {
    StopAnimation();
    m_scroller.ScrollTo(0, int(std::clamp<int64_t>(int64_t(row) * m_rowHeight, 0, INT32_MAX)));
    ScrollerMoved();
}

void ListView::SetFocusedItem(int item) {
    if (item < -1 || item >= m_itemCount || item == m_focusedItem)
        return;
    if (item >= 0) {
        NMLISTVIEW change{};
        change.iItem = item;
        change.uChanged = LVIF_STATE;
        change.uNewState = LVIS_FOCUSED | LVIS_SELECTED;
        if (SendNotify(change.hdr, LVN_ITEMCHANGING))
            return; // the owner refused
        m_focusedItem = m_selectionFirst = m_selectionLast = item;
        SendNotify(change.hdr, LVN_ITEMCHANGED);
    } else {
        m_focusedItem = m_selectionFirst = m_selectionLast = -1;
    }
    Invalidate();
}

LRESULT ListView::SendNotify(NMHDR& header, UINT code) {
    if (!m_owner || !m_owner->Window())
        return 0;
    header.hwndFrom = m_owner->Window();
    header.idFrom = m_number;
    header.code = code;
    return SendMessageW(m_owner->Window(), WM_NOTIFY, m_number, reinterpret_cast<LPARAM>(&header));
}

ListView::ItemData ListView::RequestItem(int item, int column, UINT mask) {
    WCHAR buffer[kTextBuffer] = {};
    NMLVDISPINFOW info{};
    info.item.mask = mask;
    info.item.iItem = item;
    info.item.iSubItem = column;
    info.item.stateMask = (mask & LVIF_STATE) ? 0xFFFFFFFFu : 0;
    info.item.pszText = buffer;
    info.item.cchTextMax = kTextBuffer;
    info.item.iImage = -1;
    SendNotify(info.hdr, LVN_GETDISPINFOW);
    ItemData data;
    data.image = (mask & LVIF_IMAGE) ? info.item.iImage : -1;
    data.state = (mask & LVIF_STATE) ? info.item.state : 0;
    const WCHAR* text = info.item.pszText;
    if ((mask & LVIF_TEXT) && text && text != LPSTR_TEXTCALLBACKW) {
        // The owner wrote into our buffer, or points at its own text.
        size_t limit = text == buffer ? size_t(kTextBuffer) : kMaxOwnerText;
        size_t length = 0;
        while (length < limit && text[length])
            ++length;
        data.text.assign(text, length);
    }
    return data;
}

std::u16string ListView::RowText(int item) {
    std::u16string text = RequestItem(item, 0, LVIF_TEXT).text;
    for (size_t column = 1; column < m_columns.size(); ++column) {
        text += u" | ";
        text += RequestItem(item, int(column), LVIF_TEXT).text;
    }
    // The lines of a row's text read like its columns.
    for (size_t at = text.find(u'\n'); at != std::u16string::npos; at = text.find(u'\n', at + 3))
        text.replace(at, 1, u" | ");
    return text;
}

std::vector<std::string> ListView::UiLines() {
    std::vector<std::string> lines;
    if (m_itemCount == 0) {
        if (m_hasFilter)
            lines.push_back("empty " + UiQuoted(u"No matches: " + m_filter));
        return lines;
    }
    RowSpan rows = Visible();
    int end = std::min<int64_t>(int64_t(rows.first + rows.count) * m_itemsPerRow, m_itemCount);
    for (int item = rows.first * m_itemsPerRow; item < end; ++item) {
        std::string line = "row " + std::to_string(item);
        if (IsSelected(item))
            line += " selected";
        if (m_checkBoxes && IsChecked(item))
            line += " checked";
        lines.push_back(line + " " + UiQuoted(RowText(item)));
    }
    return lines;
}

int ListView::ItemAt(int x, int y) const {
    RECT area = RowsArea();
    if (m_rowHeight <= 0 || m_cellWidth <= 0 || x < area.left || x >= area.right || y < area.top || y >= area.bottom)
        return -1;
    int64_t row = (int64_t(y) - area.top + m_scroller.Y());
    if (row < 0)
        return -1;
    row /= m_rowHeight;
    int column = m_icons ? (x - area.left) / m_cellWidth : 0;
    if (column >= m_itemsPerRow)
        return -1;
    int64_t item = row * m_itemsPerRow + column;
    return item < m_itemCount ? int(item) : -1;
}

RECT ListView::CellRect(int item) const {
    RECT area = RowsArea();
    int row = item / m_itemsPerRow, column = item % m_itemsPerRow;
    int left = area.left + column * m_cellWidth;
    int top = int(area.top + int64_t(row) * m_rowHeight - m_scroller.Y());
    return RECT{left, top, m_icons ? left + m_cellWidth : area.right, top + m_rowHeight};
}

int ListView::OnStylus(int event, int x, int y) {
    DWORD tick = DWORD(GetMessageTime());
    switch (event) {
    case StylusEvent::kDown:
        // A touch that stops a moving list only stops it.
        m_tapPossible = !m_scroller.IsAnimating();
        StopAnimation();
        m_downPoint = POINT{x, y};
        m_scroller.StylusDown(x, y, tick);
        SetFocus();
        return Tracking::kScroll;
    case StylusEvent::kMove:
        if (std::abs(x - m_downPoint.x) > kTapSlop || std::abs(y - m_downPoint.y) > kTapSlop)
            m_tapPossible = false;
        if (m_scroller.StylusMove(x, y, tick))
            ScrollerMoved();
        return Tracking::kNone;
    case StylusEvent::kUp: {
        bool tap = m_tapPossible && std::abs(x - m_downPoint.x) <= kTapSlop && std::abs(y - m_downPoint.y) <= kTapSlop;
        m_tapPossible = false;
        int before = m_scroller.Y();
        m_scroller.StylusUp(x, y, tick);
        if (m_scroller.IsAnimating())
            StartAnimation();
        if (m_scroller.Y() != before)
            ScrollerMoved();
        if (tap)
            OnTap(x, y);
        return Tracking::kNone;
    }
    default:
        return Control::OnStylus(event, x, y);
    }
}

void ListView::OnTap(int x, int y) {
    int item = ItemAt(x, y);
    if (item >= 0 && m_checkBoxes && !IsEmptyRect(m_checkOffset)) {
        RECT cell = CellRect(item);
        RECT box{cell.left + m_checkOffset.left, cell.top + m_checkOffset.top, cell.left + m_checkOffset.right,
                 cell.top + m_checkOffset.bottom};
        if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) {
            UINT state = IsChecked(item) ? 0 : kItemChecked;
            ChangeItemState(item, kItemChecked, state);
        }
    }
    if (item >= 0)
        SetFocusedItem(item);
    NMLISTVIEW tap{};
    tap.iItem = item;
    tap.ptAction = POINT{x, y};
    if (m_owner && m_owner->Window())
        ClientToScreen(m_owner->Window(), &tap.ptAction);
    SendNotify(tap.hdr, ListNotify::kTap);
}

// Changes state bits of `mask` of an item the owner keeps: ITEMCHANGING (the owner may
// refuse), the new state with LVN_SETDISPINFOW, then ITEMCHANGED.
void ListView::ChangeItemState(int item, UINT mask, UINT state) {
    NMLISTVIEW change{};
    change.iItem = item;
    change.uChanged = LVIF_STATE;
    change.uOldState = RequestItem(item, 0, LVIF_STATE).state;
    change.uNewState = (change.uOldState & ~mask) | (state & mask);
    if (SendNotify(change.hdr, LVN_ITEMCHANGING))
        return;
    NMLVDISPINFOW info{};
    info.item.mask = LVIF_STATE;
    info.item.iItem = item;
    info.item.state = change.uNewState;
    info.item.stateMask = mask;
    SendNotify(info.hdr, LVN_SETDISPINFOW);
    SendNotify(change.hdr, LVN_ITEMCHANGED);
    Invalidate();
}

int ListView::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message == WM_TIMER) {
        if (key != TimerId())
            return Control::OnKey(message, key, data);
        if (m_scroller.Step())
            ScrollerMoved();
        if (!m_scroller.IsAnimating())
            StopAnimation();
        return 0;
    }
    if (message == WM_KEYDOWN && (key == VK_UP || key == VK_DOWN) && m_itemCount > 0) {
        int step = key == VK_UP ? -m_itemsPerRow : m_itemsPerRow;
        int next = m_focusedItem < 0 ? 0 : m_focusedItem + step;
        if (next < 0 || next >= m_itemCount)
            return -1;
        SetFocusedItem(next);
        RowSpan rows = Visible();
        int row = next / m_itemsPerRow;
        RECT area = RowsArea();
        int full = m_rowHeight > 0 ? (area.bottom - area.top) / m_rowHeight : 0;
        if (row < rows.first || (m_scroller.Y() % std::max(m_rowHeight, 1) != 0 && row == rows.first))
            ScrollTo(row);
        else if (row >= rows.first + std::max(full, 1))
            ScrollTo(row - std::max(full, 1) + 1);
        return 0;
    }
    return Control::OnKey(message, key, data);
}

void ListView::ScrollerMoved() {
    Invalidate();
    for (ScrollBar* bar : m_bars)
        bar->Invalidate();
}

void ListView::StartAnimation() {
    if (m_timerRunning || !m_owner || !m_owner->Window())
        return;
    m_timerRunning = SetTimer(m_owner->Window(), TimerId(), Scroller::kStepMs, nullptr) != 0;
}

void ListView::StopAnimation() {
    m_scroller.Stop();
    if (!m_timerRunning)
        return;
    m_timerRunning = false;
    if (m_owner && m_owner->Window())
        KillTimer(m_owner->Window(), TimerId());
}

void ListView::Describe(IUiSink& sink, int depth, POINT origin) {
    Control::Describe(sink, depth, origin);
    for (const std::string& line : UiLines())
        sink.Line(depth + 1, line.c_str());
}

} // namespace corlist
