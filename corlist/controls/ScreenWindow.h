// A window that shows a screen of skinned controls: it owns the drawing surface, paints the
// screen (and a modal pop-up over it) into the surface, follows the pen for the control
// under it, gives the keys to the screen, and describes the screen to the console. The
// control host and the frame are such windows; each has its own window procedure and
// hands the screen's messages to HandleScreenMessage.
#pragma once

#include "corlist/controls/Control.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/DrawSurface.h"

#include "ce/user.h"

namespace corlist {

class ScreenWindow : public ControlOwner {
public:
    ScreenWindow() = default;
    ~ScreenWindow() override = default;
    ScreenWindow(const ScreenWindow&) = delete;
    ScreenWindow& operator=(const ScreenWindow&) = delete;

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

protected:
    // Paint, size, pen and describe requests; true with `result` set when it was one.
    bool HandleScreenMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
    // Gives a key or timer message to the modal pop-up, else to the screen.
    void ForwardKey(UINT message, WPARAM wParam, LPARAM lParam);
    // Forgets the screen and the surface (the window is going).
    void ReleaseScreen();
    void SetWindow(HWND window) { m_window = window; }
    void OnSize();

private:
    void OnPaint();
    void OnStylus(UINT message, LPARAM lParam);
    LRESULT DescribeScreen(IUiSink& sink);

    Control m_root;
    Control* m_screen = nullptr; // m_root once built
    Control* m_tracked = nullptr; // the control that follows the pen
    Control* m_modal = nullptr; // a pop-up over the screen; its runner owns it
    HWND m_window = nullptr;
    DrawSurface m_surface;
    bool m_building = false;
};

} // namespace corlist
