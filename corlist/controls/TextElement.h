// The skin side of a text label (and of an edit field): the control attributes, and every
// other attribute for the font the text is drawn with, written on the element itself.
#pragma once

#include "corlist/controls/ControlElement.h"
#include "corlist/skin/FontElement.h"

namespace corlist {

class TextElement : public ControlElement {
public:
    TextElement() = default;

    void SetNode(common::XmlNode* node) override;
    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    // The embedded font the text is drawn with.
    FontElement* Font() { return &m_font; }
    // The look of the disabled state: a "font" named "disabled", else the text's font.
    FontElement* DisabledFont();

private:
    FontElement m_font;
};

} // namespace corlist
