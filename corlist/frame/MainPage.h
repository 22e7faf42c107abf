// The root of the frame's main page ("mainwnd"): builds the keypad for its pane and finds
// the page's controls by number and kind, so that a text and a pane of the same name stay
// apart.
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class DialKeypad;
class ListView;
class TabControl;

class MainPage final : public Control {
public:
    Control* CreateChild(common::XmlNode* node, const ControlTableRow* table) override;

    // The control numbered `number` whose kind name is `kind` (the first one found
    // depth-first), or null.
    Control* Find(UINT number, const char* kind) const;
    ListView* List() const;
    TabControl* Tabs() const;
    DialKeypad* Keypad() const { return m_keypad; }
    // The first control of kind `kind` (its kind name), or null.
    Control* FindKind(const char* kind) const;

    // Shows or hides every control numbered `number` (a text and a pane may share it).
    void ShowControls(UINT number, bool show);
    // Sets the text of every text control numbered `number`.
    void SetTexts(UINT number, const std::u16string& text);

private:
    DialKeypad* m_keypad = nullptr; // a child; owned by the tree
};

} // namespace corlist
