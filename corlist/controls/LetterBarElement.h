// The skin side of the letter bar ("letterbar"): the scroll bar's attributes, the area of
// the letter column within the bar and the size of the letter preview, and its looks found
// by name among its children.
#pragma once

#include "corlist/controls/ScrollBarElement.h"

#include "ce/types.h"

namespace corlist {

class ColorElement;

class LetterBarElement : public ScrollBarElement {
public:
    void CopyFrom(const SkinElement& other) override;
    // Those of "scrollbar", and "lettersArea" (coordinates) and "previewSize" (width,height
    // times the coordinate scale; 50,50 when it cannot be read).
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    const RectSpec& LettersArea() const { return m_lettersArea; }
    SIZE PreviewSize() const { return m_previewSize; }
    // The colour of a "color" child named `name`, kColourNone when absent.
    COLORREF NamedColour(const char* name) const;

private:
    RectSpec m_lettersArea;
    SIZE m_previewSize{50, 50};
};

} // namespace corlist
