// The big letter shown over a list while a finger rests on the letter bar: a box of the
// bar's "previewSize" centred over the list, filled with the first "fill" of the bar's
// "LetterPreview" look, with the letter drawn in that look's first "font". The letter bar
// owns it and hands it to its list while a letter is touched; the list paints it last.
#pragma once

#include "ce/types.h"

namespace corlist {

class DrawSurface;
class FillElement;
class FontElement;
class LetterBarElement;

class LetterPreview {
public:
    // Takes the size and the look from the bar's descriptor (null: no preview).
    void SetLook(LetterBarElement* element);
    void Show(WCHAR letter) { m_letter = letter; }
    void Hide() { m_letter = 0; }
    bool IsShown() const { return m_letter != 0; }
    WCHAR Letter() const { return m_letter; }
    SIZE Size() const { return m_size; }
    // The box centred over `over`; empty when hidden or without a size.
    RECT Area(const RECT& over) const;
    // Paints the box and its letter centred over `over`, within `clip`.
    void Paint(DrawSurface& surface, const RECT& clip, const RECT& over) const;

private:
    SIZE m_size{};
    FontElement* m_font = nullptr; // the skin owns the looks
    FillElement* m_fill = nullptr;
    WCHAR m_letter = 0;
};

} // namespace corlist
