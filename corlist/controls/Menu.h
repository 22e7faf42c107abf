// A skinned pop-up menu: rows the page adds (with submenus shown in the same pop-up, title
// rows, check marks and icons), laid out in the skin's "menu" look and run modally; the
// chosen row's command comes back.
#pragma once

#include "corlist/controls/Control.h"

#include <memory>
#include <string>
#include <vector>

namespace corlist {

class ImageElement;
class MenuElement;
class Skin;
struct MenuRowList;

namespace MenuRowFlag {
constexpr uint32_t kDisabled = 0x1;
constexpr uint32_t kSubmenu = 0x2;
constexpr uint32_t kTitle = 0x4;
constexpr uint32_t kChecked = 0x8;
constexpr uint32_t kBack = 0x10;
} // namespace MenuRowFlag

struct MenuRow {
    std::unique_ptr<MenuRowList> submenu; // with kSubmenu
    UINT command = 0;
    std::u16string text; // at most kMaxRowText units
    RECT rect{};
    uint32_t flags = 0;
    int icon = -1;
    UINT extra = 0; // a string number shown as the row's second text by a box row look
};

struct MenuRowList {
    std::vector<std::unique_ptr<MenuRow>> rows;
    MenuRowList* owner = nullptr; // the list a submenu belongs to; null for the top list
    // The strip the rows' icons come from (a well-known image of the skin); null: the menu
    // element's own icons.
    ImageElement* icons = nullptr;
};

class Menu : public Control {
public:
    static constexpr size_t kMaxRowText = 31;

    Menu();
    ~Menu() override;

    // Adds a row to `list` (null: the top list) and returns it.
    MenuRow* AddRow(UINT command, const std::u16string& text, uint32_t flags, int icon = -1, UINT extra = 0,
                    MenuRowList* list = nullptr);
    // A row labelled with string `number`, which is also its command.
    MenuRow* AddStringRow(UINT number, uint32_t flags, int icon = -1, UINT extra = 0, MenuRowList* list = nullptr);

    // Runs the menu over `owner`'s screen. Without a descriptor the skin's first unnamed
    // "menu" element is used. `position` (null, or 0,0: centred) is the top-left corner,
    // or the bottom-left one when `above` is set or the menu would leave the screen.
    // Returns the chosen command, 0 when cancelled or when the menu cannot be shown, and
    // kModalInterrupted when the frame closes or a page request arrives.
    int ShowMenu(Skin& skin, ControlOwner& owner, const POINT* position, bool above, DWORD modalFlags);

    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    int OnKey(UINT message, WPARAM key, LPARAM data) override;
    Control* HitTest(POINT point) override;
    const char* KindName() const override { return "menu"; }
    // The menu, then one "row" item per shown row numbered by its command.
    void Describe(IUiSink& sink, int depth, POINT origin) override;

    const MenuRowList& ShownRows() const { return *m_shown; }
    int Selected() const { return m_selected; }
    // The row index under a point of the surface, or -1.
    int RowAt(int x, int y) const;

    // The top list, to give it an icon strip.
    MenuRowList& TopRows() { return m_rows; }
    // Lays the shown rows out at `position` on a screen of the given size (see ShowMenu).
    void LayOut(const POINT* position, bool above, int screenWidth, int screenHeight);

private:
    void Choose(int index);
    void Show(MenuRowList& list);
    void Select(int index);
    bool HasHeaderLook() const { return m_header != nullptr; }
    int MeasureRowHeight(HDC dc, int textWidth) const;
    void PaintRow(DrawSurface& surface, const MenuRow& row, int index, bool icons);
    void PaintBoxRow(DrawSurface& surface, const MenuRow& row, int index, const RECT& clip);
    void PaintFrame(DrawSurface& surface);
    void PaintLines(DrawSurface& surface);

    // The icons of the rows shown now: their list's strip, else the menu element's.
    ImageElement* ShownIcons() const;

    MenuRowList m_rows;
    MenuRowList* m_shown = &m_rows;
    int m_selected = -1;
    MenuElement* m_element = nullptr;
    ControlElement* m_header = nullptr; // the look of a title row
    ControlElement* m_rowLook = nullptr; // a "boxctrl" row look
    int m_rowsPerColumn = 0;
    int m_columnWidth = 0;
    POINT m_position{};
    bool m_hasPosition = false;
    bool m_above = false;
};

} // namespace corlist
