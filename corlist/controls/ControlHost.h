// A child window of class "TavikGrpCtrl" that shows a screen of controls for a page or a
// dialog; the controls' commands and notifications go to its parent window.
#pragma once

#include "corlist/controls/ScreenWindow.h"

namespace corlist {

class Skin;

class ControlHost : public ScreenWindow {
public:
    ControlHost() = default;
    ~ControlHost() override;

    // Registers the class once per process (a failed registration is undone and tried
    // once more), creates the window with `style` at `rect` under `parent`, builds the
    // screen `descriptor` into it, and shows it unmoved when `style` has WS_VISIBLE.
    bool Create(Skin& skin, const char* descriptor, const ControlTableRow* table, HWND parent, DWORD style,
                const RECT& rect);
    void Destroy();

    static constexpr const WCHAR* kClassName = u"TavikGrpCtrl";
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
};

// Registers "TavikGrpCtrl" once per process; false when it cannot be registered.
bool RegisterControlHostClass();

} // namespace corlist
