// The letter bar beside a contact list: the initial letters of the list's entries as an
// evenly filled column (LetterBarLayout), rendered once into a cached surface; touching a
// letter selects it and jumps the list to its first entry.
#pragma once

#include "corlist/controls/LetterBarLayout.h"
#include "corlist/controls/LetterPreview.h"
#include "corlist/controls/ScrollBar.h"
#include "corlist/skin/DrawSurface.h"

#include <string>
#include <vector>

namespace corlist {

class FontElement;
class LetterBarElement;

class LetterBar : public ScrollBar {
public:
    ~LetterBar() override;

    // A bar that leaves its list takes its preview away from it.
    void SetList(ListView* list) override;
    void Layout(const RECT* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    // A touch selects the letter under the pen, scrolls the list to its first entry and
    // sends the owner WM_COMMAND (number, code 4) with the letter as the second parameter.
    int OnStylus(int event, int x, int y) override;
    const char* KindName() const override { return "letterbar"; }
    // The control, then its rows (or letters) as lines of their own.
    void Describe(IUiSink& sink, int depth, POINT origin) override;

    // The letters with their entry counts and first items, in list order.
    void SetLetters(std::vector<BarLetter> letters);
    // The letters shown (fitted on the first paint after a change of letters or size).
    const std::vector<BarLetter>& Shown();
    // The index of the shown letter whose cell holds `point`, -1 when none.
    int LetterAt(POINT point);
    // Marks the shown letter `index` as selected (-1: none).
    void Select(int index);
    int Selected() const { return m_selected; }
    // The line `ui` shows: `letters "ABC"`.
    std::string UiLine();
    // The big letter over the list while a letter is touched.
    const LetterPreview& Preview() const { return m_preview; }

private:
    LetterBarElement* Element() const;
    void Fit();
    RECT LettersArea() const;
    RECT CellOf(int index) const;
    int CellHeight() const;
    void RenderCache();
    void DrawLetter(DrawSurface& surface, WCHAR ch, const RECT& cell, COLORREF colour);
    void ShowPreview(WCHAR letter);
    void HidePreview();

    std::vector<BarLetter> m_letters; // as the page gave them
    std::vector<BarLetter> m_shown;   // fitted to the height
    bool m_fitted = false;
    int m_selected = -1;
    DrawSurface m_cache; // the bar with its letters, at the bar's size
    bool m_cacheValid = false;
    LetterPreview m_preview; // shown on m_list while a letter is touched
};

} // namespace corlist
