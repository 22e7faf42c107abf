// The skin side of the dialling keypad: the layout element chosen for the screen width
// ("w%d" under the keypad's element, "w240" when the width has none) with the keypad
// picture (its first unnamed image) and the pictures of a pressed cell ("Key") and of the
// hot cell ("Friend", "ICE"). Each of these is a child control element whose first image is
// used, or its second when the first one's picture is missing. The elements live in the
// skin; the look only points at them.
#pragma once

#include "corlist/calls/KeypadLayout.h"

#include <string>

namespace common {
struct XmlNode;
}

namespace corlist {

class ControlElement;
class ImageElement;

class KeypadLook {
public:
    KeypadLook() = default;

    // Chooses the layout element of `keypad` (the pane's node) for `logicalWidth`; nothing
    // is found when the skin has neither that width's element nor "w240".
    void Choose(const common::XmlNode* keypad, int logicalWidth);

    // The element chosen, e.g. "w320" (empty when none).
    const std::string& Name() const { return m_name; }
    // The layout the chosen element asks for, with cells from the keypad picture.
    const KeypadLayout& Layout() const { return m_layout; }
    ImageElement* Picture() const { return m_picture; }
    ImageElement* Pressed() const { return m_pressed; }
    // The picture of the hot cell for `hot` (null for HotCell::Sms or when missing).
    ImageElement* Hot(HotCell hot) const;
    SIZE PictureSize() const { return m_pictureSize; }

    // Whether a child of the keypad's element is a layout element ("w" and digits).
    static bool IsLayoutName(const char* name);

private:
    std::string m_name;
    KeypadLayout m_layout;
    ImageElement* m_picture = nullptr; // elements of the skin; it outlives the keypad
    ImageElement* m_pressed = nullptr;
    ImageElement* m_friend = nullptr;
    ImageElement* m_ice = nullptr;
    SIZE m_pictureSize{};
};

} // namespace corlist
