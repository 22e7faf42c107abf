#include "corlist/controls/Menu.h"

#include "common/XmlReader.h"
#include "corlist/controls/Button.h"
#include "corlist/controls/ButtonElement.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/controls/MenuElement.h"
#include "corlist/skin/DrawSurface.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/PenElement.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinMetrics.h"

#include "ce/uiview.h"
#include "ce/user.h"

#include <algorithm>
#include <strings.h>

namespace corlist {

namespace {

constexpr UINT kActionKey = 0x86;

int BorderWidth() {
    return GetSystemMetrics(SM_CXBORDER);
}

// A child of the menu element named `name` (any kind, ignoring case) that is a control
// element, or null.
ControlElement* ControlChild(const MenuElement& element, const char* name) {
    for (common::XmlNode* child = element.Node() ? element.Node()->firstChild : nullptr; child; child = child->nextSibling)
        if (child->name && strcasecmp(child->name, name) == 0 && IsControlElement(child))
            return static_cast<ControlElement*>(child->element);
    return nullptr;
}

} // namespace

Menu::Menu() = default;
Menu::~Menu() = default;

MenuRow* Menu::AddRow(UINT command, const std::u16string& text, uint32_t flags, int icon, UINT extra,
                      MenuRowList* list) {
    auto row = std::make_unique<MenuRow>();
    row->command = command;
    row->text = text.substr(0, kMaxRowText);
    row->flags = flags;
    row->icon = icon;
    row->extra = extra;
    MenuRowList& target = list ? *list : m_rows;
    if (flags & MenuRowFlag::kSubmenu) {
        row->submenu = std::make_unique<MenuRowList>();
        row->submenu->owner = &target;
    }
    target.rows.push_back(std::move(row));
    return target.rows.back().get();
}

MenuRow* Menu::AddStringRow(UINT number, uint32_t flags, int icon, UINT extra, MenuRowList* list) {
    return AddRow(number, LoadLabel(number), flags, icon, extra, list);
}

int Menu::ShowMenu(Skin& skin, ControlOwner& owner, const POINT* position, bool above, DWORD modalFlags) {
    if (!Descriptor()) {
        common::XmlNode* root = skin.Root();
        common::XmlNode* node = root ? common::XmlReader::FindNode(root->firstChild, nullptr, SkinKind::kMenu) : nullptr;
        if (!node || !node->element)
            return 0;
        SetDescriptor(static_cast<ControlElement*>(node->element));
    }
    if (!Descriptor()->Node() || Descriptor()->Node()->Kind() != SkinKind::kMenu)
        return 0;
    m_element = static_cast<MenuElement*>(Descriptor());
    m_header = ControlChild(*m_element, "header");
    m_rowLook = static_cast<ControlElement*>(m_element->FirstChild(SkinKind::kBoxCtrl));
    if (position && position->x == 0 && position->y == 0)
        position = nullptr;
    if (position)
        m_position = *position;
    m_hasPosition = position != nullptr;
    m_above = above;
    SetOwner(&owner);
    m_shown = &m_rows;
    m_selected = -1;
    SetFlags(0, ControlState::kVisible, false);
    LayOut(position, above, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return RunModal(&owner, nullptr, modalFlags);
}

// The tallest of: the skin's row height, the tallest text word-wrapped in `textWidth`, and
// the icons with their margins.
int Menu::MeasureRowHeight(HDC dc, int textWidth) const {
    int height = m_element->RowHeight();
    FontElement* font = static_cast<FontElement*>(m_element->Child(SkinKind::kFont, nullptr));
    HGDIOBJ previous = font ? SelectObject(dc, font->Font()) : nullptr;
    for (const auto& row : m_shown->rows) {
        RECT measure{0, 0, textWidth, 0};
        DrawTextW(dc, row->text.c_str(), int(row->text.size()), &measure, DT_CALCRECT | DT_WORDBREAK);
        height = std::max<int>(height, measure.bottom - measure.top);
    }
    if (previous)
        SelectObject(dc, previous);
    if (ImageElement* icons = ShownIcons())
        height = std::max<int>(height, icons->SubImageSize().cy + 2 * m_element->MarginY());
    return std::max(height, 1);
}

ImageElement* Menu::ShownIcons() const {
    return m_shown->icons ? m_shown->icons : m_element->Icons();
}

void Menu::LayOut(const POINT* position, bool above, int screenWidth, int screenHeight) {
    RECT screen{0, 0, screenWidth, screenHeight};
    const RectSpec* spec = ChooseRectSpec(m_element->RectSpecs(), OrientationClass());
    RECT area = spec ? ResolveRect(*spec, &screen, screenWidth, screenHeight)
                     : RECT{screenWidth / 10, 0, screenWidth - screenWidth / 10, 0};
    int width = std::max<int>(area.right - area.left, 1);
    int columns = std::max(m_element->Columns(), 1);
    int count = int(m_shown->rows.size());
    m_columnWidth = width / columns;
    m_rowsPerColumn = (count + columns - 1) / columns;
    bool icons = std::any_of(m_shown->rows.begin(), m_shown->rows.end(), [](const auto& row) { return row->icon >= 0; });
    ImageElement* iconImage = ShownIcons();
    int textWidth = m_columnWidth - 2 * m_element->MarginX();
    if (icons && iconImage)
        textWidth -= iconImage->SubImageSize().cx + 5 * BorderWidth();
    HDC dc = CreateCompatibleDC(nullptr);
    int rowHeight = MeasureRowHeight(dc, std::max(textWidth, 1));
    DeleteDC(dc);
    int firstHeight = rowHeight;
    bool titleFirst = count > 0 && (m_shown->rows[0]->flags & MenuRowFlag::kTitle);
    if (m_header && titleFirst)
        if (const RectSpec* headerSpec = ChooseRectSpec(m_header->RectSpecs(), OrientationClass())) {
            RECT header = ResolveRect(*headerSpec, &screen, screenWidth, screenHeight);
            firstHeight = std::max<int>(header.bottom - header.top, 1);
        }
    int height = m_rowsPerColumn > 0 ? firstHeight + (m_rowsPerColumn - 1) * rowHeight : 0;
    POINT corner{(screenWidth - width) / 2, (screenHeight - height) / 2};
    if (position) {
        corner = *position;
        if (above || corner.y + height > screenHeight)
            corner.y = std::max<LONG>(position->y - height, 0);
        corner.x = std::max<LONG>(std::min<LONG>(corner.x, screenWidth - width), 0);
    }
    // A menu taller than the screen is cut at its edge: rows below are neither drawn nor hit.
    m_rect = {corner.x, corner.y, corner.x + width, std::min<LONG>(corner.y + height, screenHeight)};
    for (int index = 0; index < count; ++index) {
        int column = index / std::max(m_rowsPerColumn, 1);
        int line = index % std::max(m_rowsPerColumn, 1);
        int top = corner.y + (line == 0 ? 0 : firstHeight + (line - 1) * rowHeight);
        int rowHeightHere = line == 0 ? firstHeight : rowHeight;
        m_shown->rows[size_t(index)]->rect = {corner.x + column * m_columnWidth, top,
                                              corner.x + (column + 1) * m_columnWidth, top + rowHeightHere};
    }
}

int Menu::RowAt(int x, int y) const {
    if (x < m_rect.left || x >= m_rect.right || y < m_rect.top || y >= m_rect.bottom)
        return -1;
    for (size_t index = 0; index < m_shown->rows.size(); ++index) {
        const MenuRow& row = *m_shown->rows[index];
        if (index == 0 && HasHeaderLook() && (row.flags & MenuRowFlag::kTitle))
            continue;
        if (x >= row.rect.left && x < row.rect.right && y >= row.rect.top && y < row.rect.bottom)
            return int(index);
    }
    return -1;
}

Control* Menu::HitTest(POINT point) {
    return IsVisible() && RowAt(point.x, point.y) >= 0 ? this : nullptr;
}

void Menu::Select(int index) {
    if (index == m_selected)
        return;
    auto redraw = [this](int row) {
        if (row >= 0 && size_t(row) < m_shown->rows.size())
            Invalidate(&m_shown->rows[size_t(row)]->rect);
    };
    redraw(m_selected);
    m_selected = index;
    redraw(m_selected);
}

void Menu::Show(MenuRowList& list) {
    RECT before = m_rect;
    m_shown = &list;
    m_selected = -1;
    LayOut(m_hasPosition ? &m_position : nullptr, m_above, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    if (Owner()) {
        Owner()->InvalidateArea(before);
        Owner()->InvalidateArea(m_rect);
    }
}

void Menu::Choose(int index) {
    if (index < 0 || size_t(index) >= m_shown->rows.size()) {
        EndModal(0);
        return;
    }
    MenuRow& row = *m_shown->rows[size_t(index)];
    if ((row.flags & MenuRowFlag::kBack) && m_shown->owner)
        Show(*m_shown->owner);
    else if (row.flags & (MenuRowFlag::kDisabled | MenuRowFlag::kTitle))
        MessageBeep(0);
    else if (row.submenu)
        Show(*row.submenu);
    else
        EndModal(int(row.command));
}

int Menu::OnStylus(int event, int x, int y) {
    if (event != StylusEvent::kDown && event != StylusEvent::kMove && event != StylusEvent::kUp)
        return Tracking::kNone;
    Select(RowAt(x, y));
    if (event == StylusEvent::kUp) {
        Choose(m_selected);
        return Tracking::kNone;
    }
    return Tracking::kTrack;
}

void Menu::Describe(IUiSink& sink, int depth, POINT origin) {
    Control::Describe(sink, depth, origin);
    for (size_t index = 0; index < m_shown->rows.size(); ++index) {
        const MenuRow& row = *m_shown->rows[index];
        UI_ITEM item{};
        item.id = int(row.command);
        item.kind = "row";
        item.rect = {row.rect.left + origin.x, row.rect.top + origin.y, row.rect.right + origin.x, row.rect.bottom + origin.y};
        item.state = ((row.flags & MenuRowFlag::kDisabled) ? UIS_DISABLED : 0) |
                     ((row.flags & MenuRowFlag::kChecked) ? UIS_CHECKED : 0) | (row.submenu ? UIS_SUBMENU : 0) |
                     (int(index) == m_selected ? UIS_SELECTED : 0);
        item.text = row.text.c_str();
        sink.Item(depth + 1, item);
    }
}

int Menu::OnKey(UINT message, WPARAM key, LPARAM data) {
    if (message != WM_KEYUP)
        return 0; // the menu acts on releases; presses are its too
    int count = int(m_shown->rows.size());
    int first = HasHeaderLook() ? 1 : 0;
    switch (key) {
    case VK_BACK:
    case VK_ESCAPE:
        EndModal(0);
        break;
    case VK_RETURN:
    case kActionKey:
        Choose(m_selected);
        break;
    case VK_DOWN:
        if (m_selected < 0)
            Select(std::min(first, count - 1));
        else if (m_selected < count - 1)
            Select(m_selected + 1);
        break;
    case VK_UP:
        Select(m_selected > first ? m_selected - 1 : count - 1);
        break;
    default:
        break;
    }
    return 0;
}

} // namespace corlist
