// Painting of the list view: the header row, the visible rows (background, picture, check
// box, texts, separator), the area below the last row, and the empty list.
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/GridElement.h"
#include "corlist/controls/LetterPreview.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/ShownPicture.h"
#include "corlist/controls/ListViewNotify.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SurfaceFill.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;

RECT Offset(const RECT& rect, const RECT& cell) {
    return RECT{cell.left + rect.left, cell.top + rect.top, cell.left + rect.right, cell.top + rect.bottom};
}

void Frame(DrawSurface& surface, const RECT& r, COLORREF colour) {
    FillRect(surface, RECT{r.left, r.top, r.right, r.top + 1}, colour, 0);
    FillRect(surface, RECT{r.left, r.bottom - 1, r.right, r.bottom}, colour, 0);
    FillRect(surface, RECT{r.left, r.top, r.left + 1, r.bottom}, colour, 0);
    FillRect(surface, RECT{r.right - 1, r.top, r.right, r.bottom}, colour, 0);
}

void DrawLine(DrawSurface& surface, FontElement* font, const std::u16string& text, RECT area, UINT format) {
    if (font && !text.empty())
        font->DrawText(surface, text.c_str(), int(text.size()), area, format);
}

} // namespace

void ListView::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || IsEmptyRect(m_rect))
        return;
    if (m_itemCount == 0 || m_rowHeight <= 0) {
        PaintEmpty(surface, clip);
        return;
    }
    PaintHeader(surface, clip);
    PaintRows(surface, clip);
    if (m_preview)
        m_preview->Paint(surface, clip, m_rect);
}

void ListView::PaintHeader(DrawSurface& surface, const RECT& clip) {
    if (m_headerHeight <= 0)
        return;
    RECT header{m_rect.left, m_rect.top, m_rect.right, m_rect.top + m_headerHeight};
    FillElement* fill = m_slots.Fill(ListViewLook::SlotFor(ListSlot::kHeader, RowState::kNormal, true));
    FontElement* font = m_slots.Font(ListViewLook::SlotFor(ListSlot::kText, RowState::kNormal, true));
    int left = header.left;
    for (const ListColumn& column : m_columns) {
        RECT cell{left, header.top, std::min<LONG>(left + column.width, header.right), header.bottom};
        left = cell.right;
        if (fill)
            fill->Paint(surface, cell, clip);
        RECT text{cell.left + m_grid->MarginX(), cell.top, cell.right - m_grid->MarginX(), cell.bottom};
        DrawLine(surface, font, column.header, text, kTextFormat);
    }
    if (m_columns.empty() && fill)
        fill->Paint(surface, header, clip);
}

void ListView::PaintRows(DrawSurface& surface, const RECT& clip) {
    RECT area = IntersectRects(RowsArea(), clip);
    if (IsEmptyRect(area))
        return;
    surface.SetClip(area);
    FillElement* out = m_slots.Fill(ListSlot::kOutArea);
    if (m_icons)
        if (FillElement* background = m_slots.Fill(ListSlot::kBackground))
            background->Paint(surface, RowsArea(), area);
    RowSpan rows = Visible();
    int first = rows.first * m_itemsPerRow;
    int end = int(std::min<int64_t>(int64_t(rows.first + rows.count) * m_itemsPerRow, m_itemCount));
    for (int item = first; item < end; ++item)
        PaintRow(surface, area, item, CellRect(item));
    // Above the first row (pulled past the top) and below the last one.
    RECT top = area, bottom = area;
    top.bottom = std::min<LONG>(area.bottom, CellRect(0).top);
    bottom.top = std::max<LONG>(area.top, CellRect(std::max(end - 1, 0)).bottom);
    for (const RECT& band : {top, bottom})
        if (out && !IsEmptyRect(band))
            out->Paint(surface, band, band);
    surface.SetClip(clip);
}

void ListView::PaintRow(DrawSurface& surface, const RECT& clip, int item, const RECT& cell) {
    NMLISTVIEW hook{};
    hook.iItem = item;
    SendNotify(hook.hdr, ListNotify::kItemPrePaint);
    ItemData data = RequestItem(item, 0, LVIF_TEXT | LVIF_IMAGE | LVIF_STATE | LVIF_PARAM);
    bool checked = m_checkBoxes && (data.state & kItemChecked);
    int state = IsSelected(item) ? (HasFocus() ? RowState::kFocused : RowState::kSelectedUnfocused)
                                 : checked ? RowState::kChecked : RowState::kNormal;
    PaintRowBackground(surface, clip, item, state, cell);
    if (data.picture && !IsEmptyRect(m_imageOffset))
        PaintPicture(surface, data.picture, Offset(m_imageOffset, cell));
    else if (ImageElement* icons = m_slots.Icons(); icons && data.image >= 0 && !IsEmptyRect(m_imageOffset))
        icons->Draw(surface, Offset(m_imageOffset, cell), data.image, &clip);
    if (m_checkBoxes)
        PaintCheckBox(surface, clip, checked, cell);
    PaintRowTexts(surface, item, state, data, cell);
    COLORREF line = m_slots.Colour(m_striped ? ListSlot::kStripedLine : ListSlot::kRowLine);
    if (line != kColourNone)
        FillRect(surface, RECT{cell.left, cell.bottom - 1, cell.right, cell.bottom}, line, 0);
}

void ListView::PaintRowBackground(DrawSurface& surface, const RECT& clip, int item, int state, const RECT& cell) {
    int slot = ListSlot::kBackground;
    int marked = ListViewLook::SlotFor(ListSlot::kRow, state, false);
    if (state != RowState::kNormal && m_slots.Paints(marked))
        slot = marked;
    else if (m_icons)
        return; // the background was painted under all cells
    else if (m_striped)
        slot = item % 2 == 0 ? ListSlot::kStriped : m_slots.Paints(ListSlot::kRow) ? ListSlot::kRow : ListSlot::kBackground;
    if (FillElement* fill = m_slots.Fill(slot))
        fill->Paint(surface, cell, clip);
}

// The owner's picture of a row, fitted into the row's image area with its aspect kept.
void ListView::PaintPicture(DrawSurface& surface, HBITMAP picture, const RECT& area) {
    ShownPicture shown;
    shown.SetBitmap(picture, false);
    SIZE size = shown.Size();
    shown.Draw(surface, RECT{0, 0, size.cx, size.cy}, FitRect(size.cx, size.cy, area));
}

void ListView::PaintCheckBox(DrawSurface& surface, const RECT& clip, bool checked, const RECT& cell) {
    if (IsEmptyRect(m_checkOffset))
        return;
    RECT box = Offset(m_checkOffset, cell);
    if (ButtonElement* element = m_slots.CheckBox())
        element->Image().Draw(surface, box, checked ? 1 : 0, &clip);
    COLORREF border = m_slots.Colour(ListSlot::kCheckBorder);
    if (border != kColourNone)
        Frame(surface, box, border);
}

void ListView::PaintRowTexts(DrawSurface& surface, int item, int state, const ItemData& data, const RECT& cell) {
    int fontState = state == RowState::kFocused ? RowState::kFocused : RowState::kNormal;
    FontElement* font = m_slots.Font(ListViewLook::SlotFor(ListSlot::kText, fontState, false));
    FontElement* title = m_slots.Font(ListViewLook::SlotFor(ListSlot::kTitle, fontState, false));
    RECT text = IsEmptyRect(m_textOffset) ? cell : Offset(m_textOffset, cell);
    if (m_icons || m_columns.size() <= 1) {
        size_t lineEnd = data.text.find(u'\n');
        if (m_icons) {
            // An icon is labelled with its first line only, in the cell's own font.
            DrawLine(surface, font, data.text.substr(0, lineEnd), text, kTextFormat);
        } else if (title && lineEnd != std::u16string::npos) {
            // A title line over the rest: the upper and the lower half of the text area.
            LONG middle = (text.top + text.bottom) / 2;
            DrawLine(surface, title, data.text.substr(0, lineEnd), RECT{text.left, text.top, text.right, middle},
                     kTextFormat);
            DrawLine(surface, font, data.text.substr(lineEnd + 1), RECT{text.left, middle, text.right, text.bottom},
                     kTextFormat);
        } else {
            DrawLine(surface, font, data.text, text, kTextFormat);
        }
        return;
    }
    int left = cell.left;
    int margin = m_grid ? m_grid->MarginX() : 0;
    for (size_t column = 0; column < m_columns.size(); ++column) {
        int right = std::min<int>(left + m_columns[column].width, cell.right);
        RECT area{left + margin, text.top, right - margin, text.bottom};
        if (column == 0)
            area = RECT{std::max<LONG>(text.left, left), text.top, std::min<LONG>(text.right, right), text.bottom};
        std::u16string value = column == 0 ? data.text : RequestItem(item, int(column), LVIF_TEXT).text;
        DrawLine(surface, font, value, area, kTextFormat);
        left = right;
    }
}

void ListView::PaintEmpty(DrawSurface& surface, const RECT& clip) {
    if (FillElement* out = m_slots.Fill(ListSlot::kOutArea))
        out->Paint(surface, m_rect, clip);
    FontElement* font = m_slots.Font(ListSlot::kText);
    if (m_itemCount != 0 || !m_hasFilter || m_rowHeight <= 0 || !font)
        return;
    RECT band{m_rect.left, m_rect.top, m_rect.right, std::min<LONG>(m_rect.bottom, m_rect.top + m_rowHeight)};
    FillRect(surface, band, GetSysColor(COLOR_MENUTEXT), 0);
    std::u16string text = u"No matches: " + m_filter;
    HDC dc = surface.Dc();
    HGDIOBJ oldFont = SelectObject(dc, font->Font());
    COLORREF oldColour = SetTextColor(dc, GetSysColor(COLOR_WINDOW));
    int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text.c_str(), int(text.size()), &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
    SetTextColor(dc, oldColour);
    SelectObject(dc, oldFont);
}

} // namespace corlist
