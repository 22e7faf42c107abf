#include "corlist/calls/KeypadLook.h"

#include "common/XmlNode.h"
#include "common/XmlReader.h"
#include "corlist/skin/ImageElement.h"
#include "corlist/skin/SkinKinds.h"

#include <cctype>

namespace corlist {

namespace {

bool HasPicture(ImageElement* image) {
    SIZE size = image->SubImageSize();
    return size.cx > 0 && size.cy > 0;
}

// The first image of a child control named `name`, or its second when the first one's
// picture is missing; null when neither has one.
ImageElement* CellPicture(common::XmlNode* layout, const char* name) {
    common::XmlNode* holder = common::XmlReader::FindNode(layout->firstChild, name, SkinKind::kControl);
    if (!holder)
        return nullptr;
    int seen = 0;
    for (common::XmlNode* child = holder->firstChild; child && seen < 2; child = child->nextSibling) {
        if (child->Kind() != SkinKind::kImage || !child->element)
            continue;
        ++seen;
        auto* image = static_cast<ImageElement*>(child->element);
        if (HasPicture(image))
            return image;
    }
    return nullptr;
}

common::XmlNode* FindLayout(const common::XmlNode* keypad, int width) {
    std::string name = "w" + std::to_string(width);
    return common::XmlReader::FindNode(keypad->firstChild, name.c_str(), SkinKind::kControl);
}

} // namespace

bool KeypadLook::IsLayoutName(const char* name) {
    if (!name || (name[0] != 'w' && name[0] != 'W') || !name[1])
        return false;
    for (const char* ch = name + 1; *ch; ++ch)
        if (!std::isdigit(static_cast<unsigned char>(*ch)))
            return false;
    return true;
}

void KeypadLook::Choose(const common::XmlNode* keypad, int logicalWidth) {
    *this = KeypadLook();
    if (!keypad)
        return;
    common::XmlNode* layout = FindLayout(keypad, logicalWidth);
    int width = logicalWidth;
    if (!layout) {
        width = KeypadLayout::kPortraitWidth;
        layout = FindLayout(keypad, width);
    }
    if (!layout)
        return;
    m_name = "w" + std::to_string(width);
    common::XmlNode* picture = common::XmlReader::FindNode(layout->firstChild, nullptr, SkinKind::kImage);
    if (picture && picture->element) {
        m_picture = static_cast<ImageElement*>(picture->element);
        m_pictureSize = m_picture->SubImageSize();
    }
    m_layout = KeypadLayout(width == KeypadLayout::kPortraitWidth, m_pictureSize.cx, m_pictureSize.cy);
    m_pressed = CellPicture(layout, "Key");
    m_friend = CellPicture(layout, "Friend");
    m_ice = CellPicture(layout, "ICE");
}

ImageElement* KeypadLook::Hot(HotCell hot) const {
    switch (hot) {
    case HotCell::Friend:
        return m_friend;
    case HotCell::Ice:
        return m_ice;
    default:
        return nullptr;
    }
}

} // namespace corlist
