// The dialling keypad of the main page: the pane "Keypad" drawn from one picture of the
// skin (KeypadLook) and split into cells (KeypadLayout). Tapping a cell types its character
// into the page's number field, or sends its command to the owner window; holding "0" or
// "#" for more than 300 ms types "+" or "*"; the delete cell deletes at once and repeats
// while held (timer 666 after 500 ms, then timer 667 every 100 ms). While attached to the
// number field, hardware keys go to the field too, and the owner window hears
// kKeypadNumberMessage: wParam kKeypadSearch after every change of the number, kKeypadDial
// when the talk key is released.
//
// The picture is drawn at the pane's top, centred across when the pane is wider than the
// picture; taps in the pane outside the picture's cells count as taps outside the keypad.
#pragma once

#include "corlist/calls/KeypadLook.h"
#include "corlist/controls/Control.h"

#include <functional>
#include <string>

namespace common {
struct SettingsRecord;
}

namespace corlist {

// The keypad's message to its owner window (posted): wParam kKeypadSearch (the number
// changed or the pen went down outside the keypad: search) or kKeypadDial (dial the number).
constexpr UINT kKeypadNumberMessage = 0x7F98;
constexpr WPARAM kKeypadSearch = 0;
constexpr WPARAM kKeypadDial = 1;

class DialKeypad : public Control {
public:
    // Where typed characters and forwarded keys go: WM_CHAR with the character (8 deletes
    // one), WM_KEYDOWN and WM_KEYUP with the key's parameters.
    using NumberField = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    static constexpr UINT_PTR kFirstRepeatTimer = 666;
    static constexpr UINT_PTR kRepeatTimer = 667;
    static constexpr UINT kFirstRepeatMs = 500;
    static constexpr UINT kRepeatMs = 100;
    static constexpr DWORD kTickMs = 40;

    DialKeypad() = default;
    ~DialKeypad() override;

    // For a page's CreateChild: builds the keypad for `node` when its row of `table` is the
    // main page's pane "Keypad" (1701) and adds it to `parent` as Control::CreateChild adds
    // a pane, with the pane's other child controls but not its "w%d" layout elements.
    // Null when `node` is another element.
    static DialKeypad* CreatePane(Control& parent, common::XmlNode* node, const ControlTableRow* table);

    // The record whose `Flags` choose the hot cell and the haptic tick (read at each use;
    // a back-link: the record outlives the keypad). Without one no bit is set.
    void SetSettings(const common::SettingsRecord* settings) { m_settings = settings; }
    // Sends typed characters and hardware keys to `field`; notes whether the talk key is held
    // now (its release then does not dial) and chooses the layout for the screen.
    void Attach(NumberField field);
    void Detach();
    bool IsAttached() const { return m_attached; }

    // The code of the cell under `point` (surface coordinates), KeypadCode::kNone outside.
    uint32_t CellAt(POINT point) const;
    const KeypadLook& Look() const { return m_look; }
    // The highlighted cell, -1 when none.
    int PressedCell() const { return m_pressed; }
    // The `ui` line: layout element, orientation, grid, cell size, hot cell and pressed cell.
    std::string UiLine() const;

    // Lays out as every control, then chooses the layout for the screen's width.
    void Layout(const RECT* parent) override;
    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnStylus(int event, int x, int y) override;
    // Timers 666 and 667; while attached, key down, key up, typed characters and the talk
    // key as WM_HOTKEY. Other messages as every control.
    int OnKey(UINT message, WPARAM key, LPARAM data) override;
    const char* KindName() const override { return "keypad"; }
    void Describe(IUiSink& sink, int depth, POINT origin) override;

private:
    void ChooseLayout();
    DWORD Flags() const;
    POINT PictureOrigin() const;
    int CellIndexAt(int x, int y) const;
    RECT CellOnSurface(int index) const;
    uint32_t CodeOf(int index) const;
    // Highlights cell `index` (-1: none; the control shows as pressed while one is) and restarts
    // the hold time.
    void Press(int index);
    int PenDown(int x, int y);
    void PenMove(int x, int y);
    void PenUp(int x, int y);
    void StartRepeat();
    void StopRepeat();
    void OnTimer(UINT_PTR id);
    int OnHardwareKey(UINT message, WPARAM key, LPARAM data);
    void TalkReleased();
    // WM_CHAR of `ch` to the number field, then kKeypadSearch to the owner.
    void Type(WPARAM ch);
    void PostNumber(WPARAM what);

    KeypadLook m_look;
    const common::SettingsRecord* m_settings = nullptr; // back-link, see SetSettings
    NumberField m_field;
    bool m_attached = false;
    bool m_talkHeldAtAttach = false;
    bool m_penDown = false;
    int m_pressed = -1;
    DWORD m_pressTick = 0;
    UINT_PTR m_repeatTimer = 0; // the delete repeat's running timer, 0 when none
};

} // namespace corlist
