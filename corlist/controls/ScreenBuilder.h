// Builds a screen: the controls of a named top-level "control" element of the skin, laid
// out in the owner window (or in a parent control), numbered by the page's control table.
#pragma once

#include "corlist/controls/ControlTable.h"

#include "ce/types.h"

namespace common {
struct XmlNode;
}

namespace corlist {

class Control;
class ControlOwner;
class Skin;

// Builds the children of the element `name` (ignoring case) into `root`, which takes the
// parent's rectangle (or the owner's client area), and makes `root` the owner's screen.
// False when the skin has no such element.
bool BuildScreen(Control& root, ControlOwner& owner, Control* parent, Skin& skin, const char* name,
                 const ControlTableRow* table, DWORD showFlags);
// Builds the control elements under `node` into `root`, which takes `area`; the owner does
// not redraw meanwhile.
void BuildControls(Control& root, ControlOwner& owner, Control* parent, common::XmlNode* node,
                   const ControlTableRow* table, const RECT& area);

} // namespace corlist
