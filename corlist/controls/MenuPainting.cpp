// How a pop-up menu paints: its fill and frame, the rows with the selection, icons and check
// marks, and the lines between rows and columns.
#include "corlist/controls/BoxElement.h"
#include "corlist/controls/BoxPainter.h"
#include "corlist/controls/Button.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/Menu.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/PenElement.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

int BorderWidth() {
    return GetSystemMetrics(SM_CXBORDER);
}

RECT Inset(const RECT& rect, int by) {
    return {rect.left + by, rect.top + by, rect.right - by, rect.bottom - by};
}

} // namespace

void Menu::Paint(DrawSurface& surface, const RECT& clip) {
    if (!IsVisible() || !m_element || IsEmptyRect(m_rect))
        return;
    RECT area = IntersectRects(clip, m_rect);
    if (IsEmptyRect(area))
        return;
    surface.SetClip(area);
    if (!m_rowLook)
        PaintFrame(surface);
    bool icons = std::any_of(m_shown->rows.begin(), m_shown->rows.end(), [](const auto& row) { return row->icon >= 0; });
    for (size_t index = 0; index < m_shown->rows.size(); ++index) {
        const MenuRow& row = *m_shown->rows[index];
        if (IsEmptyRect(IntersectRects(row.rect, area)))
            continue;
        if (m_rowLook)
            PaintBoxRow(surface, row, int(index), area);
        else
            PaintRow(surface, row, int(index), icons);
    }
    PaintLines(surface);
    surface.SetClip(clip);
}

// A row drawn as the skin's box control: round on top for the first row (the header look
// for a title there), round below for the last, the selection as the focus.
void Menu::PaintBoxRow(DrawSurface& surface, const MenuRow& row, int index, const RECT& clip) {
    uint32_t style = 0;
    if (index == 0)
        style |= BoxStyle::kRoundTop | ((m_header && (row.flags & MenuRowFlag::kTitle)) ? BoxStyle::kHeader : 0);
    if (size_t(index) + 1 == m_shown->rows.size())
        style |= BoxStyle::kRoundBottom;
    std::u16string second = row.extra ? LoadLabel(row.extra) : std::u16string();
    BoxRow box;
    box.text = row.text.c_str();
    box.second = second.empty() ? nullptr : second.c_str();
    box.style = style;
    box.focused = index == m_selected;
    box.disabled = row.flags & MenuRowFlag::kDisabled;
    ImageElement* icons = ShownIcons();
    SIZE iconSize = icons ? icons->SubImageSize() : SIZE{};
    bool anyIcon = std::any_of(m_shown->rows.begin(), m_shown->rows.end(), [](const auto& r) { return r->icon >= 0; });
    if (icons && anyIcon)
        box.textIndent = 5 * BorderWidth() + iconSize.cx;
    PaintBox(surface, *static_cast<BoxElement*>(m_rowLook), row.rect, clip, box);
    if (icons && row.icon >= 0) {
        LONG top = row.rect.top + (row.rect.bottom - row.rect.top - iconSize.cy) / 2;
        LONG left = row.rect.left + 5 * BorderWidth();
        icons->Draw(surface, RECT{left, top, left + iconSize.cx, top + iconSize.cy}, row.icon);
    }
    if (row.flags & MenuRowFlag::kChecked)
        if (auto* check = static_cast<ButtonElement*>(m_element->Child(SkinKind::kImgCtrl, "Check"))) {
            SIZE size = check->Image().SubImageSize();
            RECT mark{row.rect.right - 5 * BorderWidth() - size.cx, row.rect.top, row.rect.right - 5 * BorderWidth(),
                      row.rect.bottom};
            check->Image().Draw(surface, mark);
        }
}

// The fill inside the border, then the border as nested frames one pixel apart.
void Menu::PaintFrame(DrawSurface& surface) {
    int border = std::max(m_element->Border(), 0);
    if (auto* fill = static_cast<FillElement*>(m_element->Child(SkinKind::kFill, nullptr)))
        fill->Paint(surface, Inset(m_rect, border), surface.Clip());
    PenElement* pen = m_element->BorderPen();
    if (!pen || border == 0)
        return;
    HDC dc = surface.Dc();
    HGDIOBJ oldPen = SelectObject(dc, pen->Pen());
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int step = 0; step < border; ++step) {
        RECT frame = Inset(m_rect, step);
        if (m_element->Round() > 0)
            RoundRect(dc, frame.left, frame.top, frame.right, frame.bottom, m_element->Round(), m_element->Round());
        else
            Rectangle(dc, frame.left, frame.top, frame.right, frame.bottom);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
}

void Menu::PaintRow(DrawSurface& surface, const MenuRow& row, int index, bool icons) {
    bool selected = index == m_selected;
    if (selected)
        if (FillElement* fill = m_element->SelectionFill())
            fill->Paint(surface, row.rect, surface.Clip());
    RECT text{row.rect.left + m_element->MarginX(), row.rect.top, row.rect.right - m_element->MarginX(), row.rect.bottom};
    ImageElement* iconImage = ShownIcons();
    if (icons && iconImage) {
        SIZE size = iconImage->SubImageSize();
        if (row.icon >= 0) {
            RECT place{text.left, row.rect.top, text.left + size.cx, row.rect.bottom};
            RECT centred{place.left, place.top + (place.bottom - place.top - size.cy) / 2, place.right, 0};
            centred.bottom = centred.top + size.cy;
            iconImage->Draw(surface, centred, row.icon);
        }
        text.left += size.cx + 4 * BorderWidth();
    }
    if (row.flags & MenuRowFlag::kChecked)
        if (auto* check = static_cast<ButtonElement*>(m_element->Child(SkinKind::kImgCtrl, "Check"))) {
            SIZE size = check->Image().SubImageSize();
            RECT mark{text.right - size.cx, row.rect.top, text.right, row.rect.bottom};
            check->Image().Draw(surface, mark);
            text.right -= size.cx + 4 * BorderWidth();
        }
    auto* font = static_cast<FontElement*>(m_element->Child(SkinKind::kFont, nullptr));
    if ((row.flags & MenuRowFlag::kDisabled) && m_element->DisabledFont())
        font = m_element->DisabledFont();
    else if (selected && m_element->SelectionFont())
        font = m_element->SelectionFont();
    if (font)
        font->DrawText(surface, row.text.c_str(), int(row.text.size()), text, DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

// Vertical lines between the columns, horizontal ones between the rows.
void Menu::PaintLines(DrawSurface& surface) {
    PenElement* pen = m_element->LinesPen();
    if (!pen)
        return;
    HDC dc = surface.Dc();
    HGDIOBJ oldPen = SelectObject(dc, pen->Pen());
    size_t count = m_shown->rows.size();
    for (size_t index = 0; index < count; ++index) {
        const RECT& rect = m_shown->rows[index]->rect;
        bool lastInColumn = m_rowsPerColumn > 0 && (int(index) % m_rowsPerColumn == m_rowsPerColumn - 1 || index + 1 == count);
        if (!lastInColumn) {
            MoveToEx(dc, rect.left, rect.bottom - 1, nullptr);
            LineTo(dc, rect.right, rect.bottom - 1);
        }
    }
    int columns = m_columnWidth > 0 ? int((m_rect.right - m_rect.left) / m_columnWidth) : 1;
    for (int column = 1; column < columns; ++column) {
        int x = m_rect.left + column * m_columnWidth;
        MoveToEx(dc, x, m_rect.top, nullptr);
        LineTo(dc, x, m_rect.bottom);
    }
    SelectObject(dc, oldPen);
}

} // namespace corlist
