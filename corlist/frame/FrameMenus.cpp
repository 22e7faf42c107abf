// The frame's pop-up menus: the tab menus, the filter menu and the row menus of the list,
// and what activating a row does.
#include "corlist/frame/Frame.h"
#include "corlist/frame/MainPageTable.h"

#include "common/ContactRecord.h"
#include "common/CoreObject.h"
#include "corlist/contacts/ContactAccess.h"
#include "corlist/contacts/ViewWord.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/Menu.h"
#include "corlist/controls/SkinMessageBox.h"
#include "corlist/frame/MenuIcons.h"
#include "corlist/skin/Skin.h"

#include "ce/user.h"

#include <algorithm>
#include <vector>

namespace corlist {

namespace {

constexpr UINT kProductTitle = 112;
constexpr UINT kBackRow = 147;
constexpr UINT kAskDelete = 148;
constexpr UINT kAskDeleteAll = 160;
constexpr UINT kSomeNotDeleted = 161;
constexpr UINT kMakeCall = 144;
constexpr UINT kDeleteContact = 132;
constexpr UINT kDeleteRow = 134;
constexpr UINT kDeleteContacts = 234;

MenuRowList* Submenu(Menu& menu, UINT label, const std::u16string& title, MenuRowList* list = nullptr) {
    MenuRow* row = menu.AddStringRow(label, MenuRowFlag::kSubmenu, -1, 0, list);
    menu.AddRow(0, title, MenuRowFlag::kTitle, -1, 0, row->submenu.get());
    return row->submenu.get();
}

void AddRows(Menu& menu, MenuRowList* list, std::initializer_list<UINT> numbers) {
    for (UINT number : numbers)
        menu.AddStringRow(number, 0, -1, 0, list);
    menu.AddStringRow(kBackRow, MenuRowFlag::kBack, -1, 0, list);
}

// "Message to All": its rows carry the labels of the single-message commands.
void AddMessageToAll(Menu& menu, MenuRowList* list) {
    MenuRowList* all = Submenu(menu, 531, LibraryText(531), list);
    menu.AddRow(221, LibraryText(143), 0, -1, 0, all);
    menu.AddRow(530, LibraryText(237), 0, -1, 0, all);
    menu.AddRow(529, LibraryText(238), 0, -1, 0, all);
    menu.AddStringRow(kBackRow, MenuRowFlag::kBack, -1, 0, all);
}

std::u16string RowTitle(const ListRow& row) {
    switch (row.kind) {
    case RowKind::kContact:
        return row.contact ? (row.contact->displayName.empty() ? row.contact->primaryNumber
                                                               : row.contact->displayName)
                           : std::u16string();
    case RowKind::kCategory:
        return row.category ? row.category->name : std::u16string();
    case RowKind::kCompany:
        return row.company ? *row.company : std::u16string();
    case RowKind::kCall:
        if (row.contact && !row.contact->displayName.empty())
            return row.contact->displayName;
        return row.call ? (row.call->number.empty() ? row.call->name : row.call->number) : std::u16string();
    }
    return {};
}

} // namespace

int Frame::RunMenu(Menu& menu, const POINT* position, bool above, int strip) {
    DecorateMenu(*m_skin, menu.TopRows(), strip);
    int chosen = menu.ShowMenu(*m_skin, *this, position, above, 0);
    return chosen == kModalInterrupted ? 0 : chosen;
}

void Frame::OpenTabMenu(UINT tabCommand) {
    bool onLists = m_view & (ViewBit::kCategories | ViewBit::kCompanies);
    if (tabCommand == TabCommand::kContacts && onLists) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    Menu menu;
    menu.AddRow(0, LibraryText(tabCommand), MenuRowFlag::kTitle);
    DWORD flags = Settings().flags;
    bool face = flags & (IsFavoritesView(m_view) ? common::SettingsFlag::kFavoritesFaceView
                                                 : common::SettingsFlag::kContactsFaceView);
    bool grouped = flags & common::SettingsFlag::kGroupByContact;
    switch (tabCommand) {
    case TabCommand::kFavorites:
        menu.AddStringRow(343, 0);
        if (m_model->Count() > 0)
            menu.AddStringRow(219, 0);
        menu.AddStringRow(507, 0);
        menu.AddRow(1712, LibraryText(368), 0);
        menu.AddStringRow(face ? 141 : 139, 0);
        menu.AddStringRow(140, 0);
        break;
    case TabCommand::kContacts: {
        for (UINT number : {133u, 176u, 171u, 507u})
            menu.AddStringRow(number, 0);
        menu.AddRow(1712, LibraryText(368), 0);
        MenuRowList* more = Submenu(menu, 163, LibraryText(163));
        AddRows(menu, more, {face ? 141u : 139u, 198u, 140u});
        break;
    }
    case TabCommand::kHistory: {
        MenuRowList* filter = Submenu(menu, 342, LibraryText(342));
        AddRows(menu, filter, {121, 122, 125, 124});
        for (UINT number : {171u, 135u, grouped ? 120u : 119u, 173u})
            menu.AddStringRow(number, 0);
        break;
    }
    default:
        for (UINT number : {174u, 171u, 135u, 198u, grouped ? 120u : 119u, 173u})
            menu.AddStringRow(number, 0);
        break;
    }
    if (int chosen = RunMenu(menu, nullptr, false, WellKnownImage::kMenuContact))
        CarryOut(UINT(chosen));
}

// The group action applies to the marked contacts and ends the group selection.
void Frame::OpenGroupActionMenu() {
    Menu menu;
    menu.AddRow(0, LibraryText(368), MenuRowFlag::kTitle);
    AddMessageToAll(menu, nullptr);
    menu.AddStringRow(527, 0);
    menu.AddStringRow(kDeleteContacts, 0);
    int chosen = RunMenu(menu, nullptr, false, WellKnownImage::kMenuContact);
    if (chosen != 0 && chosen != int(kDeleteContacts))
        NotHere();
    if (chosen == int(kDeleteContacts)) {
        std::vector<common::ContactRecord*> marked;
        for (size_t row = 0; row < m_marks.size() && row < m_model->Count(); ++row)
            if (m_marks[row] && m_model->Row(row).kind == RowKind::kContact && m_model->Row(row).contact)
                marked.push_back(m_model->Row(row).contact);
        DeleteContacts(marked);
    }
    if (chosen != 0)
        SetMode(PageMode::kBrowse);
}

// The contacts of a category or company row: those of the list its row would show.
std::vector<common::ContactRecord*> Frame::ContactsOfRow(const ListRow& item) {
    std::vector<common::ContactRecord*> contacts;
    common::ContactDirectory& directory = m_core.Directory();
    for (size_t index = 0; index < directory.ContactCount(); ++index) {
        common::ContactRecord* contact = directory.ContactAt(index);
        bool member = item.kind == RowKind::kCategory
                          ? item.category && std::find(contact->categories.begin(), contact->categories.end(),
                                                       item.category) != contact->categories.end()
                          : item.company && contact->company && *contact->company == *item.company;
        if (member || item.entry == 0)
            contacts.push_back(contact);
    }
    return contacts;
}

// Deletes contacts after asking (when the settings say so), and tells when some stayed.
void Frame::DeleteContacts(std::vector<common::ContactRecord*> contacts) {
    if (contacts.empty()) {
        MessageBeep(MB_OK);
        return;
    }
    if ((Settings().flags & common::SettingsFlag::kConfirmDelete) && !Confirm(kAskDelete))
        return;
    AfterDelete(m_core.DeleteContacts(contacts.data(), int(contacts.size()), FALSE));
}

void Frame::OpenFilterMenu() {
    Menu menu;
    int strip = WellKnownImage::kCallState;
    if (IsCallHistoryView(m_view)) {
        menu.AddRow(0, LibraryText(342), MenuRowFlag::kTitle);
        for (UINT number : {121u, 122u, 125u, 124u})
            menu.AddStringRow(number, 0);
    } else if (IsMessageView(m_view)) {
        menu.AddRow(0, LibraryText(349), MenuRowFlag::kTitle);
        for (UINT number : {350u, 354u, 351u, 352u, 353u, 510u})
            menu.AddStringRow(number, 0);
    } else {
        strip = WellKnownImage::kMenuCategories;
        menu.AddRow(0, LibraryText(138), MenuRowFlag::kTitle);
        for (UINT number : {177u, 178u, 179u, 506u})
            menu.AddStringRow(number, 0);
    }
    if (int chosen = RunMenu(menu, nullptr, false, strip))
        CarryOut(UINT(chosen));
}

// A first tap selects the row and opens its menu; a tap on the selected row activates it.
// In the selection modes every tap acts on the row at once.
void Frame::OnListTap(int row, POINT point) {
    if (row < 0 || size_t(row) >= m_model->Count()) {
        MessageBeep(MB_OK);
        return;
    }
    if (row == m_selectedRow || m_mode != PageMode::kBrowse) {
        m_selectedRow = row;
        ActivateRow(row);
        return;
    }
    m_selectedRow = row;
    OpenRowMenu(row, point);
}

void Frame::OpenRowMenu(int row, POINT point) {
    const ListRow item = m_model->Row(size_t(row));
    std::u16string title = RowTitle(item);
    Menu menu;
    menu.AddRow(0, title, MenuRowFlag::kTitle);
    POINT position{0, point.y};
    ScreenToClient(Window(), &position);
    position.x = 0;
    bool atTap = false;
    switch (item.kind) {
    case RowKind::kContact: {
        atTap = true;
        menu.AddStringRow(kMakeCall, 0);
        AddRows(menu, Submenu(menu, 340, title), {143, 237, 238});
        if (item.contact && item.contact->IsSimEntry()) {
            menu.AddStringRow(142, 0);
        } else {
            AddRows(menu, Submenu(menu, 127, title), {136, 142, 239, 240});
            AddRows(menu, Submenu(menu, 361, LibraryText(361)), {128, 158, 131});
            bool linked = item.contact && item.contact->facebookId != 0;
            MenuRowList* facebook = Submenu(menu, 511, LibraryText(511));
            if (linked)
                AddRows(menu, facebook, {509, 501, 526});
            else
                AddRows(menu, facebook, {508});
        }
        menu.AddStringRow(kDeleteContact, 0);
        break;
    }
    case RowKind::kCategory:
    case RowKind::kCompany:
        AddMessageToAll(menu, nullptr);
        menu.AddStringRow(527, 0);
        menu.AddStringRow(item.kind == RowKind::kCategory ? 220 : 345, 0);
        menu.AddStringRow(kDeleteContacts, 0);
        break;
    case RowKind::kCall:
        for (UINT number : {kMakeCall, 143u, kDeleteRow, 137u})
            menu.AddStringRow(number, 0);
        break;
    }
    int chosen = RunMenu(menu, atTap ? &position : nullptr, atTap, WellKnownImage::kMenuContact);
    if (chosen == int(kMakeCall))
        CallSelected();
    else if (chosen == int(kDeleteContact) || chosen == int(kDeleteRow))
        DeleteRows(row);
    else if (chosen == int(kDeleteContacts))
        DeleteContacts(ContactsOfRow(item));
    else if (chosen != 0)
        NotHere();
}

// A menu's command: the frame's own, or the error beep for a command of a page this library
// does not have yet (contact details, messages, export, statistics, online friends).
void Frame::CarryOut(UINT command) {
    if (!OnCommand(command))
        NotHere();
}

void Frame::NotHere() {
    MessageBeep(MB_ICONHAND);
}

void Frame::ActivateRow(int row) {
    if (row < 0 || size_t(row) >= m_model->Count()) {
        MessageBeep(MB_OK);
        return;
    }
    const ListRow item = m_model->Row(size_t(row));
    if (m_mode == PageMode::kDelete) {
        DeleteRows(row);
        return;
    }
    if (m_mode == PageMode::kGroupSelect) {
        if (size_t(row) < m_marks.size())
            m_marks[size_t(row)] = !m_marks[size_t(row)];
        if (ListView* list = m_page ? m_page->List() : nullptr)
            list->Invalidate();
        return;
    }
    if (m_mode == PageMode::kFavoritesSelect && item.kind == RowKind::kContact && item.contact) {
        ContactAccess access(m_core);
        access.SetFavourite(*item.contact, !access.IsFavourite(*item.contact));
        if (ListView* list = m_page ? m_page->List() : nullptr)
            list->Invalidate();
        return;
    }
    if (item.kind == RowKind::kCategory) {
        if (item.entry == 0 || !item.category)
            ShowView(View::kAllContacts);
        else
            ShowView(View::kCategoryContacts, item.category->name);
        return;
    }
    if (item.kind == RowKind::kCompany) {
        if (item.entry == 0 || !item.company)
            ShowView(View::kAllContacts);
        else
            ShowView(View::kCompanyContacts, *item.company);
    }
}

bool Frame::Confirm(UINT question) {
    return ShowMessageBox(*m_skin, *this, kProductTitle, LibraryText(question), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// Deletes the row's contact or call from its store (asking first when the settings say so).
void Frame::DeleteRows(int row) {
    const ListRow item = m_model->Row(size_t(row));
    if (item.kind == RowKind::kContact && item.contact) {
        DeleteContacts({item.contact});
        return;
    }
    if (item.kind != RowKind::kCall || !item.call) {
        MessageBeep(MB_OK);
        return;
    }
    if ((Settings().flags & common::SettingsFlag::kConfirmDelete) && !Confirm(kAskDelete))
        return;
    common::CallLogEntry* entry = item.call;
    AfterDelete(m_core.DeleteCallLogEntries(&entry, 1, FALSE));
}

// Tells when some entries stayed, and shows the list as the stores have it now.
void Frame::AfterDelete(bool deleted) {
    if (!deleted)
        ShowMessageBox(*m_skin, *this, kProductTitle, LibraryText(kSomeNotDeleted), MB_OK | MB_ICONHAND);
    RefreshList(false);
}

// Deletes every row of the shown list (contacts or calls) after asking.
void Frame::DeleteAll() {
    if (m_model->Count() == 0 || !Confirm(kAskDeleteAll))
        return;
    std::vector<common::ContactRecord*> contacts;
    std::vector<common::CallLogEntry*> calls;
    for (size_t index = 0; index < m_model->Count(); ++index) {
        const ListRow& item = m_model->Row(index);
        if (item.kind == RowKind::kContact && item.contact)
            contacts.push_back(item.contact);
        else if (item.kind == RowKind::kCall && item.call)
            calls.push_back(item.call);
    }
    bool deleted = true;
    if (!contacts.empty())
        deleted = m_core.DeleteContacts(contacts.data(), int(contacts.size()), FALSE) && deleted;
    if (!calls.empty())
        deleted = m_core.DeleteCallLogEntries(calls.data(), int(calls.size()), FALSE) && deleted;
    AfterDelete(deleted);
}

} // namespace corlist
