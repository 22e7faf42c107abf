// A child window of class "TavikGrpCtrl" that shows a screen of controls: it owns the
// drawing surface, paints the screen into it, and gives the screen the pen and the keys.
#pragma once

#include "corlist/controls/Control.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/DrawSurface.h"

#include "ce/user.h"

namespace corlist {

class Skin;

class ControlHost : public ControlOwner {
public:
    ControlHost() = default;
    ~ControlHost() override;

    // Registers the class once per process (a failed registration is undone and tried
    // once more), creates the window with `style` at `rect` under `parent`, builds the
    // screen `descriptor` into it, and shows it unmoved when `style` has WS_VISIBLE.
    bool Create(Skin& skin, const char* descriptor, const ControlTableRow* table, HWND parent, DWORD style,
                const RECT& rect);
    void Destroy();

    Control& Screen() { return m_root; }

    HWND Window() const override { return m_window; }
    void InvalidateArea(const RECT& rect) override;
    bool IsBuilding() const override { return m_building; }
    void SetBuilding(bool building) override { m_building = building; }
    RECT ClientArea() const override;
    void SetCurrentScreen(Control* root) override { m_screen = root; }
    Control* CurrentScreen() const override { return m_screen; }
    DrawSurface* Surface() override { return m_surface.IsEmpty() ? nullptr : &m_surface; }
    void SetModal(Control* popup) override;
    Control* Modal() const override { return m_modal; }

    static constexpr const WCHAR* kClassName = u"TavikGrpCtrl";
    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnStylus(UINT message, LPARAM lParam);
    void OnSize();
    LRESULT DescribeScreen(IUiSink& sink);

    Control m_root;
    Control* m_screen = nullptr; // m_root once built
    Control* m_tracked = nullptr; // the control that follows the pen
    Control* m_modal = nullptr; // a pop-up over the screen; its runner owns it
    HWND m_window = nullptr;
    DrawSurface m_surface;
    bool m_building = false;
};

// Registers "TavikGrpCtrl" once per process; false when it cannot be registered.
bool RegisterControlHostClass();

} // namespace corlist
