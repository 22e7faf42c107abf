#include "GalleryMainPage.h"

#include "common/XmlReader.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ControlHost.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/ListViewNotify.h"
#include "corlist/controls/TabControl.h"
#include "corlist/frame/MainPageTable.h"
#include "corlist/skin/Skin.h"
#include "corlist/skin/SkinKinds.h"

#include "ce/commctrl.h"
#include "ce/user.h"

#include <algorithm>
#include <array>

namespace gallery {

namespace {

using namespace corlist;

struct SampleContact {
    const char16_t* name;
    const char16_t* number;
    int face; // 0 contact, 1 SIM entry, 2 linked to an online friend
};

constexpr std::array<SampleContact, 10> kContacts = {{
    {u"Anna Berg", u"mobile +44 20 7946 0158", 0},
    {u"Ben Carter", u"work +44 20 7946 0274", 2},
    {u"Clara Diaz", u"home +44 20 7946 0391", 0},
    {u"David Evans", u"phone 07700 900123", 1},
    {u"Emma Fox", u"mobile +44 20 7946 0512", 0},
    {u"Frank Green", u"mobile +44 20 7946 0647", 2},
    {u"Grace Hill", u"work +44 20 7946 0783", 0},
    {u"Henry Irwin", u"mobile +44 20 7946 0829", 0},
    {u"Ida Jones", u"home +44 20 7946 0935", 0},
    {u"Jack King", u"mobile +44 20 7946 0046", 1},
}};

// Rows checked in the group-selection picture.
constexpr bool IsSampleChecked(int item) {
    return item == 1 || item == 2 || item == 4;
}

void FillItem(NMLVDISPINFOW& info) {
    const SampleContact& contact = kContacts[size_t(info.item.iItem) % kContacts.size()];
    if ((info.item.mask & LVIF_TEXT) && info.item.pszText && info.item.cchTextMax > 0) {
        std::u16string text = std::u16string(contact.name) + u"\n" + contact.number;
        text.resize(std::min<size_t>(text.size(), size_t(info.item.cchTextMax - 1)));
        std::copy(text.begin(), text.end(), info.item.pszText);
        info.item.pszText[text.size()] = 0;
    }
    if (info.item.mask & LVIF_IMAGE)
        info.item.iImage = contact.face;
    if (info.item.mask & LVIF_STATE)
        info.item.state = IsSampleChecked(info.item.iItem) ? kItemChecked : 0;
}

LRESULT CALLBACK MainParentProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NOTIFY) {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->code == LVN_GETDISPINFOW)
            FillItem(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

Control* Find(ControlHost& host, uint32_t kind, const char* name) {
    return host.Screen().FindByDescriptor(kind, name, true);
}

void Show(ControlHost& host, uint32_t kind, const char* name, bool shown) {
    if (Control* control = Find(host, kind, name))
        control->SetFlags(shown ? 0 : ControlState::kVisible, shown ? ControlState::kVisible : 0,
                          false);
}

void SetText(ControlHost& host, uint32_t kind, const char* name, const std::u16string& text) {
    if (Control* control = Find(host, kind, name))
        control->SetText(text);
}

// The list's look named `name` (a "grid" among its element's children), or null.
ControlElement* ListLook(ListView& list, const char* name) {
    common::XmlNode* node = list.Descriptor() ? list.Descriptor()->Node() : nullptr;
    common::XmlNode* grid =
        node ? common::XmlReader::FindNode(node->firstChild, name, SkinKind::kGrid) : nullptr;
    return grid ? static_cast<ControlElement*>(grid->element) : nullptr;
}

// The labels the page's strings give its buttons (the gallery loads no string table).
void SetLabels(ControlHost& host) {
    const struct {
        const char* name;
        const char16_t* text;
    } kLabels[] = {{"Close", u"Back"},      {"Back", u"Back"},
                   {"CloseMode", u"Close"}, {"GroupAction", u"Group Action"},
                   {"Save", u"Save"},       {"Copy", u"Copy"}};
    for (const auto& label : kLabels)
        SetText(host, SkinKind::kButton, label.name, label.text);
}

// The page as the frame leaves it in normal browsing: all contacts, the contacts tab.
ListView* Browse(ControlHost& host) {
    SetLabels(host);
    SetText(host, SkinKind::kText, "Title", u"All Contacts");
    if (auto* tabs = static_cast<TabControl*>(Find(host, SkinKind::kTabCtrl, "Tabs"))) {
        for (int tab = 0; tab < int(std::size(kMainTabs)); ++tab)
            tabs->AddTab(kMainTabs[tab], tab);
        tabs->Select(1);
    }
    auto* list = static_cast<ListView*>(Find(host, SkinKind::kListView, nullptr));
    if (list) {
        list->SetItemCount(int(kContacts.size()));
        list->SetFocusedItem(1);
    }
    return list;
}

// The page with a typed number that matches nobody: its pane over the title, the offer to
// store it.
void TypeNumber(ControlHost& host, ListView& list) {
    list.SetFilter(u"0794");
    list.SetItemCount(0);
    Show(host, SkinKind::kControl, "Number", true);
    SetText(host, SkinKind::kText, "Number", u"0794");
    Show(host, SkinKind::kControl, "NewContact", true);
    SetText(host, SkinKind::kText, "SmallNumber", u"0794");
}

// The page in group selection: its pane in the tab strip's place, rows with check boxes.
void SelectGroup(ControlHost& host, ListView& list) {
    Show(host, SkinKind::kTabCtrl, "Tabs", false);
    Show(host, SkinKind::kControl, "GroupMode", true);
    if (ControlElement* select = ListLook(list, "Select"))
        list.SetDescriptor(select);
    list.SetCheckBoxes(true);
    list.SetItemCount(int(kContacts.size()));
}

} // namespace

bool ShootMainPage(Skin& skin, const RECT& area, const ScreenFile& file) {
    const struct {
        const char* name;
        void (*prepare)(ControlHost&, ListView&);
    } kStates[] = {
        {"mainwnd", nullptr}, {"mainwnd-number", &TypeNumber}, {"mainwnd-group", &SelectGroup}};
    HWND parent = CreateParentWindow(u"GalleryMainParent", &MainParentProcedure, area);
    bool ok = parent != nullptr;
    for (const auto& state : kStates) {
        ControlHost host;
        ok = ok && host.Create(skin, kMainPageElement, kMainPageRows, parent, WS_CHILD | WS_VISIBLE,
                               area);
        ListView* list = ok ? Browse(host) : nullptr;
        ok = ok && list;
        if (ok && state.prepare)
            state.prepare(host, *list);
        ok = ok && SaveSurface(host, file(state.name));
        host.Destroy();
    }
    if (parent)
        DestroyWindow(parent);
    return ok;
}

} // namespace gallery
