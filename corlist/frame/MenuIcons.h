// The icons of the frame's pop-up menus: each menu list takes one of the skin's well-known
// strips ("MenuContact", "MenuSendContact", "MenuCategories", "CallState"), and each
// command the picture of that strip that stands for it.
#pragma once

#include "ce/types.h"

namespace corlist {

class Skin;
struct MenuRowList;

// The strip of a submenu labelled `label` (WellKnownImage numbers).
int SubmenuStrip(UINT label);
// The picture of `command` in `strip`, or -1.
int MenuIconOf(UINT command, int strip);
// Gives `list` the strip `strip` and its rows their pictures; submenus take their own strip.
void DecorateMenu(Skin& skin, MenuRowList& list, int strip);

} // namespace corlist
