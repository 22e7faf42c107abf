// A static text of a screen: a label from the control table or a text the page sets, drawn
// with the element's font, or its "disabled" font while disabled.
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class TextControl : public Control {
public:
    // Bit of the derived state: the text is shown disabled.
    static constexpr uint32_t kDisabled = 0x1;

    explicit TextControl(UINT label);

    void Paint(DrawSurface& surface, const RECT& clip) override;
    const char* KindName() const override { return "text"; }
    std::u16string Text() const override { return m_text; }
    void SetText(const std::u16string& text) override;
    void SetEnabled(bool enabled) { SetFlags(enabled ? kDisabled : 0, enabled ? 0 : kDisabled, true); }
    bool IsEnabled() const override { return !(State() & kDisabled); }

private:
    std::u16string m_text;
};

} // namespace corlist
