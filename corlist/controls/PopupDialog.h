// A skinned pop-up dialog run modally over a screen: a title band and a body with rounded
// corners, and the controls of its "popupdlg" element; a command of one of them ends it.
#pragma once

#include "corlist/controls/Control.h"

namespace corlist {

class FillElement;
class PopupDialogElement;
class Skin;

class PopupDialog : public Control {
public:
    // Builds the top-level "popupdlg" element `name` (ignoring case) with the rows of
    // `table`, placed by its rectangle on the screen (centred when it has none). False when
    // the skin has no such element.
    bool Build(Skin& skin, ControlOwner& owner, const char* name, const ControlTableRow* table);

    void Paint(DrawSurface& surface, const RECT& clip) override;
    int OnKey(UINT message, WPARAM key, LPARAM data) override;
    bool OnCommand(UINT number, int code) override;
    const char* KindName() const override { return "dialog"; }

private:
    void PaintBand(DrawSurface& surface, FillElement* fill, const RECT& band, bool top, const RECT& clip);
};

} // namespace corlist
