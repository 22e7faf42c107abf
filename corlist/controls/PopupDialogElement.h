// The skin side of a pop-up dialog ("popupdlg"): the border that sizes its rounded corners,
// the height of its title band, its opacity and rounding, and the "title" fill.
#pragma once

#include "corlist/controls/ControlElement.h"

namespace corlist {

class PopupDialogElement : public ControlElement {
public:
    PopupDialogElement();

    void CopyFrom(const SkinElement& other) override;
    // The control attributes, and "border", "titleH" (both times the coordinate scale),
    // "opacity" (percent) and "round".
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    int Border() const { return m_border; }
    int TitleHeight() const { return m_titleHeight; }
    int Opacity() const { return m_opacity; }
    int Round() const { return m_round; }
    FillElement* TitleFill() { return Fill("title"); }
    // The body's fill: the first unnamed "fill".
    FillElement* BodyFill();

private:
    int m_border;
    int m_titleHeight = 0;
    int m_opacity = -1;
    int m_round = 0;
};

} // namespace corlist
