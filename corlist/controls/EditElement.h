// The skin side of an edit field: the text element's font, and "bkgnd" (the field's
// background) and "border" (its frame) in the colour notation.
#pragma once

#include "corlist/controls/TextElement.h"

namespace corlist {

class EditElement : public TextElement {
public:
    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    COLORREF Background() const { return m_background; }
    COLORREF Border() const { return m_border; }

private:
    COLORREF m_background = kColourNone;
    COLORREF m_border = kColourNone;
};

} // namespace corlist
