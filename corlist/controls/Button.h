// A skinned button: an image that shows its pressed and type looks, a label drawn over it,
// and a command to the owner window when the pen is lifted on it.
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class ButtonElement;

class Button : public Control {
public:
    explicit Button(UINT label);

    void Attached(Control* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    const char* KindName() const override { return "button"; }
    std::u16string Text() const override { return m_label; }
    void SetText(const std::u16string& text) override;

    // 0 plain, 1 to 3 the types with their own images.
    void SetType(int type);
    int Type() const { return m_type; }
    bool IsPressed() const { return State() & ControlState::kPressed; }

private:
    ButtonElement* Element() const;

    UINT m_labelNumber = 0;
    std::u16string m_label;
    int m_type = 0;
};

// The text of string `number` of the loaded language (empty for 0).
std::u16string LoadLabel(UINT number);

} // namespace corlist
