// One open level of a pop-up menu: a copy of its rows, their layout, its top-most window
// and the row selected. A level whose rows are taller than the screen is cut at the screen
// edge and scrolls to keep the selected row in view; rows are never drawn off the window.
#pragma once

#include "ce/user.h"
#include "ce/wingdi.h"
#include "user/MenuObject.h"

#include <vector>

class IUiSink;

namespace platform {

class PopupMenuLevel {
public:
    PopupMenuLevel(HMENU menu, std::vector<MenuItem> items);
    ~PopupMenuLevel();
    PopupMenuLevel(const PopupMenuLevel&) = delete;
    PopupMenuLevel& operator=(const PopupMenuLevel&) = delete;

    // Lays the rows out with `font` and places the level at `anchor` (TPM_* alignment),
    // kept inside the screen and, when there is room, off `exclude`.
    void PlaceAt(HFONT font, POINT anchor, UINT flags, const RECT* exclude);
    // Places a submenu's level beside the parent level's row `row` (screen rectangle).
    void PlaceBeside(HFONT font, const RECT& parent, const RECT& row);
    // Creates and shows the window; `data` is stored as its GWLP_USERDATA.
    bool Show(const char16_t* className, LONG_PTR data);

    HWND Handle() const { return m_hwnd; }
    HMENU Menu() const { return m_menu; }
    const std::vector<MenuItem>& Items() const { return m_items; }
    const RECT& ScreenRect() const { return m_screen; }
    int Selected() const { return m_selected; }
    bool Contains(POINT screen) const;
    // The row under a screen point, or -1.
    int RowAt(POINT screen) const;
    // The visible part of a row on the screen; empty when it is scrolled out of view.
    RECT RowOnScreen(int index) const;
    // Selects a row (or none with -1) and scrolls it into view.
    void Select(int index);
    // The next row that is not a separator from `Selected()` in direction `step`, wrapping.
    int NextRow(int step) const;
    void Paint(HDC dc, HFONT font) const;
    // For the console's `ui`: the level as a "menu" and one "row" per row that is not a
    // separator, numbered by its command.
    void Describe(IUiSink& sink) const;

private:
    void Layout(HFONT font);
    void PaintRow(HDC dc, size_t index, const RECT& rect) const;

    HMENU m_menu;
    std::vector<MenuItem> m_items;
    std::vector<RECT> m_rows; // in content coordinates (before scrolling)
    SIZE m_content{};
    RECT m_screen{};
    int m_scroll = 0;
    int m_selected = -1;
    int m_scale = 1;
    HWND m_hwnd = nullptr;
};

} // namespace platform
