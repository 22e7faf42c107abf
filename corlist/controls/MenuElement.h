// The skin side of a pop-up menu ("menu"): its border, margins, columns, row height,
// rounding and opacity, and the looks it finds among its children by name.
#pragma once

#include "corlist/controls/ControlElement.h"

namespace corlist {

class ImageElement;
class PenElement;

class MenuElement : public ControlElement {
public:
    // Margins and border follow the platform's border width until the skin gives its own.
    MenuElement();

    void CopyFrom(const SkinElement& other) override;
    // The control attributes, and "border", "opacity", "margins", "columns", "round",
    // "rowheight".
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    int Border() const { return m_border; }
    int Opacity() const { return m_opacity; }
    int MarginX() const { return m_marginX; }
    int MarginY() const { return m_marginY; }
    int Columns() const { return m_columns; }
    int Round() const { return m_round; }
    int RowHeight() const { return m_rowHeight; }

    FillElement* SelectionFill() { return Fill("Selection"); }
    FontElement* SelectionFont() { return Font("Selection"); }
    FontElement* DisabledFont() { return Font("Disabled"); }
    PenElement* BorderPen();
    PenElement* LinesPen();
    ImageElement* Icons();

private:
    int m_border;
    int m_opacity = 100;
    int m_marginX;
    int m_marginY;
    int m_columns = 1;
    int m_round = 0;
    int m_rowHeight = 0;
};

} // namespace corlist
