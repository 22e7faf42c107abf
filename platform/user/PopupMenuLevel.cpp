#include "user/PopupMenuLevel.h"

#include "ce/uiview.h"

#include "user/SystemLook.h"

#include <algorithm>

namespace platform {

namespace {

constexpr int kRowHeight = 20;
constexpr int kSeparatorHeight = 7;
constexpr int kSideMargin = 18;
constexpr int kMinWidth = 60;

int ScreenWidth() { return GetSystemMetrics(SM_CXSCREEN); }
int ScreenHeight() { return GetSystemMetrics(SM_CYSCREEN); }

// Moves `rect` (its size kept) inside the screen; a side longer than the screen is cut.
RECT KeepOnScreen(RECT rect) {
    LONG width = std::min<LONG>(rect.right - rect.left, ScreenWidth());
    LONG height = std::min<LONG>(rect.bottom - rect.top, ScreenHeight());
    LONG left = std::clamp<LONG>(rect.left, 0, ScreenWidth() - width);
    LONG top = std::clamp<LONG>(rect.top, 0, ScreenHeight() - height);
    return RECT{left, top, left + width, top + height};
}

} // namespace

PopupMenuLevel::PopupMenuLevel(HMENU menu, std::vector<MenuItem> items)
    : m_menu(menu), m_items(std::move(items)), m_scale(SystemLook::Scale()) {}

PopupMenuLevel::~PopupMenuLevel() {
    if (m_hwnd && IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
}

void PopupMenuLevel::Layout(HFONT font) {
    int s = m_scale;
    HDC measure = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(measure, font);
    LONG widest = 0, y = 2 * s;
    m_rows.clear();
    for (const MenuItem& item : m_items) {
        LONG height = (item.IsSeparator() ? kSeparatorHeight : kRowHeight) * s;
        m_rows.push_back(RECT{0, y, 0, y + height});
        y += height;
        SIZE size{};
        if (!item.text.empty() && GetTextExtentPoint32W(measure, item.text.c_str(), int(item.text.size()), &size))
            widest = std::max(widest, size.cx);
    }
    SelectObject(measure, old);
    DeleteDC(measure);
    m_content.cx = std::min<LONG>(std::max<LONG>(widest + 2 * kSideMargin * s, kMinWidth * s), ScreenWidth());
    m_content.cy = y + 2 * s;
    for (RECT& row : m_rows)
        row.right = m_content.cx;
}

void PopupMenuLevel::PlaceAt(HFONT font, POINT anchor, UINT flags, const RECT* exclude) {
    Layout(font);
    LONG width = m_content.cx, height = std::min<LONG>(m_content.cy, ScreenHeight());
    LONG left = (flags & TPM_RIGHTALIGN) ? anchor.x - width : (flags & TPM_CENTERALIGN) ? anchor.x - width / 2 : anchor.x;
    LONG top = (flags & TPM_BOTTOMALIGN) ? anchor.y - height : (flags & TPM_VCENTERALIGN) ? anchor.y - height / 2 : anchor.y;
    // A menu that would run off the bottom opens upwards from the point when it fits there.
    if (top + height > ScreenHeight() && !(flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN)) && anchor.y - height >= 0)
        top = anchor.y - height;
    RECT placed = KeepOnScreen(RECT{left, top, left + width, top + height});
    RECT overlap;
    if (exclude && IntersectRect(&overlap, &placed, exclude)) {
        if (exclude->bottom + height <= ScreenHeight())
            OffsetRect(&placed, 0, exclude->bottom - placed.top);
        else if (exclude->top - height >= 0)
            OffsetRect(&placed, 0, exclude->top - height - placed.top);
    }
    m_screen = placed;
}

void PopupMenuLevel::PlaceBeside(HFONT font, const RECT& parent, const RECT& row) {
    Layout(font);
    LONG width = m_content.cx, height = std::min<LONG>(m_content.cy, ScreenHeight());
    LONG left = parent.right;
    if (left + width > ScreenWidth() && parent.left - width >= 0)
        left = parent.left - width;
    m_screen = KeepOnScreen(RECT{left, row.top, left + width, row.top + height});
}

bool PopupMenuLevel::Show(const char16_t* className, LONG_PTR data) {
    m_hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, className, u"", WS_POPUP, m_screen.left,
                             m_screen.top, m_screen.right - m_screen.left, m_screen.bottom - m_screen.top,
                             nullptr, nullptr, nullptr, nullptr);
    if (!m_hwnd)
        return false;
    SetWindowLongPtrW(m_hwnd, GWLP_USERDATA, data);
    ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
    return true;
}

bool PopupMenuLevel::Contains(POINT screen) const { return PtInRect(&m_screen, screen) != FALSE; }

int PopupMenuLevel::RowAt(POINT screen) const {
    if (!Contains(screen))
        return -1;
    for (size_t i = 0; i < m_rows.size(); ++i) {
        RECT visible = RowOnScreen(int(i));
        if (PtInRect(&visible, screen))
            return int(i);
    }
    return -1;
}

RECT PopupMenuLevel::RowOnScreen(int index) const {
    if (index < 0 || size_t(index) >= m_rows.size())
        return RECT{};
    RECT row = m_rows[size_t(index)];
    OffsetRect(&row, m_screen.left, m_screen.top - m_scroll);
    RECT visible;
    IntersectRect(&visible, &row, &m_screen);
    return visible;
}

void PopupMenuLevel::Select(int index) {
    m_selected = index >= 0 && size_t(index) < m_items.size() ? index : -1;
    if (m_selected >= 0) {
        const RECT& row = m_rows[size_t(m_selected)];
        LONG visibleHeight = m_screen.bottom - m_screen.top;
        if (row.top < m_scroll)
            m_scroll = row.top;
        else if (row.bottom > m_scroll + visibleHeight)
            m_scroll = row.bottom - visibleHeight;
    }
    if (m_hwnd)
        InvalidateRect(m_hwnd, nullptr, FALSE);
}

int PopupMenuLevel::NextRow(int step) const {
    int count = int(m_items.size());
    int index = m_selected < 0 ? (step > 0 ? -1 : count) : m_selected;
    for (int tries = 0; tries < count; ++tries) {
        index = ((index + step) % count + count) % count;
        if (!m_items[size_t(index)].IsSeparator())
            return index;
    }
    return -1;
}

void PopupMenuLevel::PaintRow(HDC dc, size_t index, const RECT& rect) const {
    const MenuItem& item = m_items[index];
    int s = m_scale;
    if (item.IsSeparator()) {
        RECT line{rect.left + 4 * s, (rect.top + rect.bottom) / 2, rect.right - 4 * s, (rect.top + rect.bottom) / 2 + s};
        SystemLook::Fill(dc, line, GetSysColor(COLOR_BTNSHADOW));
        return;
    }
    bool selected = int(index) == m_selected;
    if (selected)
        SystemLook::Fill(dc, rect, GetSysColor(COLOR_HIGHLIGHT));
    COLORREF ink = !item.IsEnabled() ? GetSysColor(COLOR_GRAYTEXT)
                   : selected        ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                     : GetSysColor(COLOR_MENUTEXT);
    SetTextColor(dc, ink);
    RECT label{rect.left + kSideMargin * s, rect.top, rect.right - kSideMargin * s, rect.bottom};
    DrawTextW(dc, item.text.c_str(), int(item.text.size()), &label,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
    HPEN pen = CreatePen(PS_SOLID, s, ink);
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HBRUSH brush = CreateSolidBrush(ink);
    HGDIOBJ oldBrush = SelectObject(dc, brush);
    LONG middle = (rect.top + rect.bottom) / 2;
    if (item.IsChecked()) {
        POINT tick[] = {{rect.left + 5 * s, middle}, {rect.left + 8 * s, middle + 3 * s}, {rect.left + 13 * s, middle - 3 * s}};
        Polyline(dc, tick, 3);
    }
    if (item.IsPopup()) {
        LONG x = rect.right - 10 * s;
        POINT arrow[] = {{x, middle - 4 * s}, {x + 4 * s, middle}, {x, middle + 4 * s}};
        Polygon(dc, arrow, 3);
    }
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(brush);
    DeleteObject(pen);
}

void PopupMenuLevel::Paint(HDC dc, HFONT font) const {
    RECT client{0, 0, m_screen.right - m_screen.left, m_screen.bottom - m_screen.top};
    SystemLook::Fill(dc, client, GetSysColor(COLOR_MENU));
    SetBkMode(dc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(dc, font);
    for (size_t i = 0; i < m_rows.size(); ++i) {
        RECT row = m_rows[i];
        OffsetRect(&row, 0, -m_scroll);
        if (row.bottom > 0 && row.top < client.bottom)
            PaintRow(dc, i, row);
    }
    SelectObject(dc, oldFont);
    SystemLook::Frame(dc, RECT{0, 0, client.right, client.bottom});
}

void PopupMenuLevel::Describe(IUiSink& sink) const {
    UI_ITEM menu{0, "menu", m_screen, 0, nullptr};
    sink.Item(0, menu);
    for (size_t index = 0; index < m_items.size(); ++index) {
        const MenuItem& item = m_items[index];
        if (item.IsSeparator())
            continue;
        RECT rect = RowOnScreen(int(index));
        UI_ITEM row{int(item.id), "row", rect, 0, item.text.c_str()};
        row.state = (item.IsEnabled() ? 0 : UIS_DISABLED) | (item.IsChecked() ? UIS_CHECKED : 0) |
                    (item.IsPopup() ? UIS_SUBMENU : 0) | (int(index) == m_selected ? UIS_SELECTED : 0) |
                    (IsRectEmpty(&rect) ? UIS_HIDDEN : 0);
        sink.Item(1, row);
    }
}

} // namespace platform
