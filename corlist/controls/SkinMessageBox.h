// The skinned message box: the skin's "MessageBox" pop-up dialog with a title, a text, an
// icon and the buttons of the box type, run modally over a screen.
#pragma once

#include "corlist/controls/ControlTable.h"

#include "ce/types.h"

#include <string>

namespace corlist {

class ControlOwner;
class Skin;

// Control numbers of the message box.
constexpr UINT kMessageBoxTitle = 1001;
constexpr UINT kMessageBoxText = 1002;
constexpr UINT kMessageBoxIcon = 1003;

// The controls of the skin's "MessageBox" dialog (ended by a row of kind 0).
extern const ControlTableRow kMessageBoxRows[];

// Shows `text` under the title string `titleNumber` with the buttons of `type` (MB_OK,
// MB_OKCANCEL, MB_YESNO, MB_YESNOCANCEL; others show Cancel) and returns the number of the
// button pressed (IDOK, IDYES, IDNO, IDCANCEL), IDCANCEL for Escape, 0 when the skin has no
// message box, or kModalInterrupted.
int ShowMessageBox(Skin& skin, ControlOwner& owner, UINT titleNumber, const std::u16string& text, UINT type);
// The same with the text of string `textNumber` formatted with printf arguments (at most
// 4096 characters).
int ShowMessageBoxFormat(Skin& skin, ControlOwner& owner, UINT titleNumber, UINT type, UINT textNumber, ...);
// The same with a format string of the caller's.
int ShowMessageBoxFormat(Skin& skin, ControlOwner& owner, UINT titleNumber, UINT type, const WCHAR* format, ...);

} // namespace corlist
