// The skin side of a list's rows ("grid"): the item, image and text rectangles within a row
// cell, the header row's height, margins, and whether the items lie in report rows or as
// icons. Its children (and the list's) hold the fonts, fills and colours of the rows.
#pragma once

#include "corlist/controls/ControlElement.h"

namespace corlist {

class GridElement : public ControlElement {
public:
    enum class Mode { Icons = 0, Report = 1 };

    void CopyFrom(const SkinElement& other) override;
    // The control attributes, and "itemRect", "imageRect", "textRect" (coordinates),
    // "headerHeight", "marginX", "marginY" (times the coordinate scale) and "mode".
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    const RectSpec& ItemRect() const { return m_item; }
    const RectSpec& ImageRect() const { return m_image; }
    const RectSpec& TextRect() const { return m_text; }
    int HeaderHeight() const { return m_headerHeight; }
    int MarginX() const { return m_marginX; }
    int MarginY() const { return m_marginY; }
    Mode LayoutMode() const { return m_mode; }

private:
    RectSpec m_item;
    RectSpec m_image;
    RectSpec m_text;
    int m_headerHeight = 0;
    int m_marginX = 0;
    int m_marginY = 0;
    Mode m_mode = Mode::Report;
};

} // namespace corlist
