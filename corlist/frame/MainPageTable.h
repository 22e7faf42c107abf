// The controls of the frame's main page: the skin element "mainwnd" and the numbers and
// labels its controls get. The frame, the keypad and the default skin's checks share it.
#pragma once

#include "corlist/controls/ControlTable.h"

#include "ce/types.h"

namespace corlist {

inline constexpr char kMainPageElement[] = "mainwnd";

// Control numbers of the main page (also the WM_COMMAND ids their taps send).
namespace MainControl {
constexpr UINT kTabs = 1700; // the tab strip (Favorites, Contacts, History, SMS)
constexpr UINT kKeypad = 1701;
constexpr UINT kIcon = 1702;
constexpr UINT kTitlePane = 1703;
constexpr UINT kNumber = 1704;
constexpr UINT kEditMode = 1705;
constexpr UINT kNewContact = 1706;
constexpr UINT kBack = 1708; // "Back" and "CloseMode"
constexpr UINT kNumberPane = 1709;
constexpr UINT kSmallNumber = 1710;
constexpr UINT kCall = 1711;
constexpr UINT kGroupMode = 1712;
constexpr UINT kTitle = 159;
constexpr UINT kGroupAction = 5093;
constexpr UINT kSave = 5042;
constexpr UINT kCopy = 5043;
constexpr UINT kClose = 29000;
constexpr UINT kList = 1002;
} // namespace MainControl

// The tabs of the strip, in their order; each command is also its label's string.
inline constexpr UINT kMainTabs[] = {5026, 5028, 5027, 5022};

extern const ControlTableRow kMainPageRows[];

} // namespace corlist
