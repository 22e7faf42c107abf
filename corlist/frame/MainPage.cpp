#include "corlist/frame/MainPage.h"

#include "corlist/calls/DialKeypad.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/TabControl.h"
#include "corlist/frame/MainPageTable.h"

#include <cstring>

namespace corlist {

namespace {

Control* FindIn(const Control& control, UINT number, const char* kind) {
    for (const auto& child : control.Children()) {
        if (child->Number() == number && std::strcmp(child->KindName(), kind) == 0)
            return child.get();
        if (Control* found = FindIn(*child, number, kind))
            return found;
    }
    return nullptr;
}

Control* FindKindIn(const Control& control, const char* kind) {
    for (const auto& child : control.Children()) {
        if (std::strcmp(child->KindName(), kind) == 0)
            return child.get();
        if (Control* found = FindKindIn(*child, kind))
            return found;
    }
    return nullptr;
}

template <typename Visit>
void ForEachNumbered(Control& control, UINT number, Visit visit) {
    for (const auto& child : control.Children()) {
        if (child->Number() == number)
            visit(*child);
        ForEachNumbered(*child, number, visit);
    }
}

} // namespace

Control* MainPage::CreateChild(common::XmlNode* node, const ControlTableRow* table) {
    if (DialKeypad* keypad = DialKeypad::CreatePane(*this, node, table)) {
        m_keypad = keypad;
        return keypad;
    }
    return Control::CreateChild(node, table);
}

Control* MainPage::Find(UINT number, const char* kind) const {
    return FindIn(*this, number, kind);
}

Control* MainPage::FindKind(const char* kind) const {
    return FindKindIn(*this, kind);
}

ListView* MainPage::List() const {
    return static_cast<ListView*>(Find(MainControl::kList, "list"));
}

TabControl* MainPage::Tabs() const {
    return static_cast<TabControl*>(Find(MainControl::kTabs, "tab"));
}

void MainPage::ShowControls(UINT number, bool show) {
    ForEachNumbered(*this, number, [show](Control& control) {
        if (control.IsVisible() != show)
            control.SetFlags(ControlState::kVisible, show ? ControlState::kVisible : 0, true);
    });
}

void MainPage::SetTexts(UINT number, const std::u16string& text) {
    ForEachNumbered(*this, number, [&text](Control& control) {
        if (std::strcmp(control.KindName(), "text") == 0 && control.Text() != text) {
            control.SetText(text);
            control.Invalidate();
        }
    });
}

} // namespace corlist
