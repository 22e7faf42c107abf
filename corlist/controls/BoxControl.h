// A box control ("boxctrl"): a tile showing a main text and an optional second line, which
// takes the focus, splits its fill at the separator while focused, shows a check mark when
// checked, and offers paging arrows the page switches on. A tap sends its command; a tap on
// an arrow (or the left and right keys) sends a paging command instead.
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class BoxElement;

class BoxControl : public Control {
public:
    // Bits of the derived state.
    static constexpr uint32_t kDisabled = 0x1;
    static constexpr uint32_t kChecked = 0x2;
    static constexpr uint32_t kHasPrevious = 0x4;
    static constexpr uint32_t kHasNext = 0x8;
    // Notification codes (high word of WM_COMMAND) of the paging arrows.
    static constexpr WORD kPagePrevious = 0x10;
    static constexpr WORD kPageNext = 0x11;

    explicit BoxControl(UINT label);

    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    int OnKey(UINT message, WPARAM key, LPARAM data) override;
    const char* KindName() const override { return "box"; }
    std::u16string Text() const override { return m_text; }
    void SetText(const std::u16string& text) override;

    void SetSecondText(const std::u16string& text);
    const std::u16string& SecondText() const { return m_second; }
    void SetEnabled(bool enabled) { SetFlags(enabled ? kDisabled : 0, enabled ? 0 : kDisabled, true); }
    bool IsEnabled() const override { return !(State() & kDisabled); }
    // The check mark shows while checked, and for a box of the "check" style while it is
    // toggled on.
    void SetChecked(bool checked) { SetFlags(checked ? 0 : kChecked, checked ? kChecked : 0, true); }
    bool IsChecked() const;
    void SetPaging(bool previous, bool next);

private:
    BoxElement* Element() const;
    // The paging code of a point on an arrow, 0 elsewhere.
    WORD ArrowAt(int x, int y) const;
    void SendPaging(WORD code);

    std::u16string m_text;
    std::u16string m_second;
    WORD m_pressedArrow = 0;
};

} // namespace corlist
