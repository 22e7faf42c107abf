#include "corlist/frame/MainPageTable.h"

#include "corlist/skin/SkinKinds.h"

namespace corlist {

// "Title" and "Number" name both a text and a pane: the kind tells them apart.
const ControlTableRow kMainPageRows[] = {
    {SkinKind::kButton, "Icon", MainControl::kIcon, 0},
    {SkinKind::kButton, "Back", MainControl::kBack, 147},
    {SkinKind::kButton, "Close", MainControl::kClose, 147},
    {SkinKind::kButton, "Call", MainControl::kCall, 0},
    {SkinKind::kText, "Title", MainControl::kTitle, 159},
    {SkinKind::kText, "Number", MainControl::kNumber, 0},
    {SkinKind::kText, "SmallNumber", MainControl::kSmallNumber, 0},
    {SkinKind::kControl, "Title", MainControl::kTitlePane, 0},
    {SkinKind::kControl, "Number", MainControl::kNumberPane, 0},
    {SkinKind::kControl, "EditMode", MainControl::kEditMode, 0},
    {SkinKind::kControl, "GroupMode", MainControl::kGroupMode, 0},
    {SkinKind::kControl, "NewContact", MainControl::kNewContact, 0},
    {SkinKind::kControl, "Keypad", MainControl::kKeypad, 0},
    {SkinKind::kButton, "GroupAction", MainControl::kGroupAction, 5093},
    {SkinKind::kButton, "CloseMode", MainControl::kBack, 5037},
    {SkinKind::kButton, "Save", MainControl::kSave, 5042},
    {SkinKind::kButton, "Copy", MainControl::kCopy, 5043},
    {SkinKind::kTabCtrl, "Tabs", MainControl::kTabs, 0},
    {SkinKind::kListView, nullptr, MainControl::kList, 0},
    {},
};

} // namespace corlist
