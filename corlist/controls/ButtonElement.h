// The skin side of a button (and of an image control): the control attributes, and every
// other attribute for the image the button shows, written on the button itself. Its looks
// are children found by name on first paint.
#pragma once

#include "corlist/controls/ControlElement.h"
#include "corlist/skin/ImageElement.h"

namespace corlist {

class FontElement;

class ButtonElement : public ControlElement {
public:
    explicit ButtonElement(SkinImageProvider& skin) : m_image(skin) {}

    void SetNode(common::XmlNode* node) override;
    void CopyFrom(const SkinElement& other) override;
    bool SetAttribute(const char* name, const char* value, common::NodeArena& arena) override;

    ImageElement& Image() { return m_image; }
    // The looks: "Pressed", the images of button types 1 to 3 (null when absent).
    ImageElement* PressedImage();
    ImageElement* TypeImage(int type);
    // The area of an icon: a "control" child named "Icon".
    ControlElement* IconArea();
    // The font of the label: the font of an unnamed "text" child, else the first "font".
    FontElement* LabelFont();

private:
    void CollectLooks();

    ImageElement m_image;
    bool m_looksCollected = false;
    ImageElement* m_pressed = nullptr; // children's objects; the skin owns them
    ImageElement* m_types[3] = {};
    ControlElement* m_icon = nullptr;
    FontElement* m_labelFont = nullptr;
};

} // namespace corlist
