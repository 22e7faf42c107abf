// The window a screen of controls lives in (the frame window or a control host window): it
// owns the drawing surface, redraws parts of it, and receives the controls' commands.
#pragma once

#include "ce/types.h"

namespace corlist {

class Control;
class DrawSurface;

class ControlOwner {
public:
    virtual ~ControlOwner() = default;
    virtual HWND Window() const = 0;
    // Schedules a redraw of `rect` (surface coordinates).
    virtual void InvalidateArea(const RECT& rect) = 0;
    // While a screen is built nothing redraws.
    virtual bool IsBuilding() const = 0;
    virtual void SetBuilding(bool building) = 0;
    virtual RECT ClientArea() const = 0;
    // The screen shown now; `root` replaces the previous one (which the owner does not own).
    virtual void SetCurrentScreen(Control* root) = 0;
    virtual Control* CurrentScreen() const = 0;
    // The surface controls paint into; null before the window has a size.
    virtual DrawSurface* Surface() = 0;
    // A pop-up run modally over the screen: painted last and given the pen and the keys
    // while it is open (null: none).
    virtual void SetModal(Control* popup) = 0;
    virtual Control* Modal() const = 0;
};

} // namespace corlist
