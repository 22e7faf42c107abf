#include "corlist/controls/TabElement.h"

#include "corlist/skin/AttributeTable.h"
#include "corlist/skin/AttributeValues.h"
#include "corlist/skin/FillElement.h"
#include "corlist/skin/FontElement.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"

namespace corlist {

void TabElement::CopyFrom(const SkinElement& other) {
    ControlElement::CopyFrom(other);
    m_tabStyle = static_cast<const TabElement&>(other).m_tabStyle;
}

// "style" carries the control's words ("hide", "touch" ...) and the tab words alike.
bool TabElement::SetAttribute(const char* name, const char* value, common::NodeArena& arena) {
    if (EqualsIgnoringCase(name, "style"))
        m_tabStyle |= ParseWordBits(value, {{"mirror", TabStyle::kMirror}, {"text", TabStyle::kText}});
    return ControlElement::SetAttribute(name, value, arena);
}

void TabElement::CollectLooks() {
    m_looksCollected = true;
    m_background = static_cast<FillElement*>(Child(SkinKind::kFill, nullptr));
    m_selectedFill = static_cast<FillElement*>(Child(SkinKind::kFill, "Selected"));
    m_icons = static_cast<ImageElement*>(Child(SkinKind::kImage, nullptr));
    m_pressedIcons = static_cast<ImageElement*>(Child(SkinKind::kImage, "Pressed"));
    m_selectedFont = static_cast<FontElement*>(Child(SkinKind::kFont, "Selected"));
    m_labelFont = static_cast<FontElement*>(Child(SkinKind::kFont, nullptr));
    if (!m_labelFont)
        m_labelFont = Font();
}

FillElement* TabElement::Background() {
    if (!m_looksCollected)
        CollectLooks();
    return m_background;
}

FillElement* TabElement::SelectedFill() {
    if (!m_looksCollected)
        CollectLooks();
    return m_selectedFill;
}

ImageElement* TabElement::Icons() {
    if (!m_looksCollected)
        CollectLooks();
    return m_icons;
}

ImageElement* TabElement::PressedIcons() {
    if (!m_looksCollected)
        CollectLooks();
    return m_pressedIcons;
}

FontElement* TabElement::SelectedFont() {
    if (!m_looksCollected)
        CollectLooks();
    return m_selectedFont ? m_selectedFont : LabelFont();
}

FontElement* TabElement::LabelFont() {
    if (!m_looksCollected)
        CollectLooks();
    return m_labelFont;
}

} // namespace corlist
