#include "corlist/controls/ScreenBuilder.h"

#include "common/XmlReader.h"
#include "corlist/controls/Control.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlOwner.h"
#include "corlist/skin/Skin.h"

namespace corlist {

bool BuildScreen(Control& root, ControlOwner& owner, Control* parent, Skin& skin, const char* name,
                 const ControlTableRow* table, DWORD showFlags) {
    common::XmlNode* top = skin.Root();
    common::XmlNode* node = top && name ? common::XmlReader::FindNode(top->firstChild, name, SkinKind::kControl) : nullptr;
    if (!node || !node->element)
        return false;
    BuildControls(root, owner, parent, node, table, parent ? parent->Rect() : owner.ClientArea());
    owner.SetCurrentScreen(&root);
    root.SetFlags(0, ControlState::kVisible, true);
    (void)showFlags; // FIXME: the frame's show flags (animation, focus) come with the frame.
    return true;
}

void BuildControls(Control& root, ControlOwner& owner, Control* parent, common::XmlNode* node,
                   const ControlTableRow* table, const RECT& area) {
    root.SetOwner(&owner);
    root.SetParent(parent);
    root.SetDescriptor(static_cast<ControlElement*>(node->element));
    bool wasBuilding = owner.IsBuilding();
    owner.SetBuilding(true);
    root.SetRect(&area);
    for (common::XmlNode* child = node->firstChild; child; child = child->nextSibling)
        if (IsControlElement(child))
            root.CreateChild(child, table);
    root.Attached(parent);
    owner.SetBuilding(wasBuilding);
}

} // namespace corlist
