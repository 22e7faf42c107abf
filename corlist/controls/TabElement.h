// The skin side of a tab control ("tabctrl"): the control attributes plus the "style" words
// "mirror" (icons with a reflection below them) and "text" (a label under each icon), and
// the looks among its children: the background fill, the "Selected" fill under the selected
// tab, the tab icons (the unnamed image, one sub-image per tab), the "Pressed" icons of the
// selected tab, and the "Selected" font of its label.
#pragma once

#include "corlist/controls/ControlElement.h"

namespace corlist {

class FillElement;
class FontElement;
class ImageElement;

namespace TabStyle {
constexpr uint32_t kMirror = 0x1;
constexpr uint32_t kText = 0x2;
} // namespace TabStyle

class TabElement : public ControlElement {
public:
    TabElement() = default;

    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    uint32_t TabStyleBits() const { return m_tabStyle; }
    FillElement* Background();
    FillElement* SelectedFill();
    ImageElement* Icons();
    ImageElement* PressedIcons();
    FontElement* SelectedFont();
    // The font of the other labels: the first unnamed font, else the first font.
    FontElement* LabelFont();

private:
    void CollectLooks();

    uint32_t m_tabStyle = 0;
    bool m_looksCollected = false;
    FillElement* m_background = nullptr; // children's objects; the skin owns them
    FillElement* m_selectedFill = nullptr;
    ImageElement* m_icons = nullptr;
    ImageElement* m_pressedIcons = nullptr;
    FontElement* m_selectedFont = nullptr;
    FontElement* m_labelFont = nullptr;
};

} // namespace corlist
