#include "corlist/frame/MainPage.h"

#include "corlist/calls/DialKeypad.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/TabControl.h"
#include "corlist/frame/MainPageTable.h"

#include <cstring>

namespace corlist {

namespace {

// The first control under `control`, depth first, that `wanted` accepts; null when none.
template <typename Wanted>
Control* FindFirstIn(const Control& control, Wanted wanted) {
    for (const auto& child : control.Children()) {
        if (wanted(*child))
            return child.get();
        if (Control* found = FindFirstIn(*child, wanted))
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
    return FindFirstIn(*this, [&](const Control& control) {
        return control.Number() == number && std::strcmp(control.KindName(), kind) == 0;
    });
}

Control* MainPage::FindKind(const char* kind) const {
    return FindFirstIn(*this, [&](const Control& control) { return std::strcmp(control.KindName(), kind) == 0; });
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
