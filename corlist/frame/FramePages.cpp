// The frame's pages: page requests, views with their titles and tabs, modes, the keypad pane.
#include "corlist/frame/Frame.h"

#include "common/CoreObject.h"
#include "corlist/calls/DialKeypad.h"
#include "corlist/contacts/PictureLoader.h"
#include "corlist/contacts/ViewWord.h"
#include "common/XmlReader.h"
#include "corlist/controls/ControlElement.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/ScreenBuilder.h"
#include "corlist/controls/SkinMessageBox.h"
#include "corlist/controls/TabControl.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/frame/MainPageTable.h"
#include "corlist/skin/Skin.h"

#include "ce/user.h"

#include <algorithm>

namespace corlist {

namespace {

constexpr UINT kProductTitle = 112;
constexpr UINT kOfferFacebookFriends = 358;
constexpr UINT kAssignFacebook = 507;

// A list look by name: a grid of that name inside the main list's element, else a
// top-level list view element of that name; null when the skin has neither.
ControlElement* FindListLook(Skin& skin, const ListView& list, const char* name) {
    if (ControlElement* own = list.Descriptor(); own && own->Node()) {
        common::XmlNode* grid = common::XmlReader::FindNode(own->Node()->firstChild, name, SkinKind::kGrid);
        if (grid && grid->element)
            return static_cast<ControlElement*>(static_cast<SkinElement*>(grid->element));
    }
    common::XmlNode* root = skin.Root();
    common::XmlNode* look = root ? common::XmlReader::FindNode(root->firstChild, name, SkinKind::kListView) : nullptr;
    return look && look->element ? static_cast<ControlElement*>(static_cast<SkinElement*>(look->element)) : nullptr;
}

UINT TabOfView(DWORD view) {
    if (IsFavoritesView(view))
        return TabCommand::kFavorites;
    if (IsCallHistoryView(view))
        return TabCommand::kHistory;
    if (IsMessageView(view))
        return TabCommand::kMessages;
    return TabCommand::kContacts;
}

} // namespace

void Frame::ShowPage(DWORD flags) {
    SetWindowTextW(Window(), LibraryText(kProductTitle).c_str());
    bool created = false;
    if (!m_page) {
        if (!CreateMainPage())
            return;
        created = true;
    }
    PageChoice choice = ChoosePage(flags, Settings());
    if (choice.kind != PageChoice::Kind::kUnchanged && !choice.keypad)
        HideKeypad(true);
    ApplyPage(choice);
    if (created)
        InvalidateRect(Window(), nullptr, FALSE);
}

bool Frame::CreateMainPage() {
    auto root = std::make_unique<MainPage>();
    if (!BuildScreen(*root, *this, nullptr, *m_skin, kMainPageElement, kMainPageRows, 0)) {
        SetCurrentScreen(nullptr);
        return false;
    }
    m_pageRoot = std::move(root);
    m_page = m_pageRoot.get();
    if (TabControl* tabs = m_page->Tabs()) {
        tabs->RemoveAllTabs();
        for (size_t index = 0; index < std::size(kMainTabs); ++index)
            tabs->AddTab(kMainTabs[index], int(index));
    }
    if (DialKeypad* keypad = m_page->Keypad()) {
        keypad->SetSettings(&Settings());
        m_page->ShowControls(MainControl::kKeypad, false);
    }
    if (ListView* list = m_page->List()) {
        m_binding->Attach(*list);
        PictureLoader::Page page;
        page.window = Window();
        page.message = kPictureLoaded;
        page.lock = [this] { return m_model->Lock(); };
        page.record = [this](size_t row) -> common::ContactRecord* {
            if (row >= m_model->Count())
                return nullptr;
            const ListRow& item = m_model->Row(row);
            return item.kind == RowKind::kContact ? item.contact : nullptr;
        };
        m_pictures = std::make_unique<PictureLoader>(m_core, std::move(page), list->ImageSize());
        if (!m_pictures->Start())
            m_pictures.reset();
    }
    // The mode panes and the number panes start hidden, whatever the skin says.
    m_mode = -1;
    SetMode(PageMode::kBrowse);
    NumberChanged(false);
    return true;
}

void Frame::ApplyPage(const PageChoice& choice) {
    switch (choice.kind) {
    case PageChoice::Kind::kUnchanged:
        return;
    case PageChoice::Kind::kLastView:
        // A page request on the view it names only shows it again: the tab's menu is for
        // the user's tap.
        if (m_view != 0 && TabOfView(m_view) == choice.tabCommand)
            SelectTab(choice.tabCommand);
        else
            SwitchToTab(choice.tabCommand);
        return;
    case PageChoice::Kind::kView:
        SetMode(PageMode::kBrowse);
        ShowView(choice.view);
        SelectTab(choice.tabCommand);
        if (choice.keypad)
            ShowKeypad();
        return;
    }
}

// The tab's own start view: favourites, the call history with its last filter, the start
// contact view, or the messages.
void Frame::SwitchToTab(UINT tabCommand) {
    SetMode(PageMode::kBrowse);
    switch (tabCommand) {
    case TabCommand::kFavorites:
        ShowView(View::kFavorites);
        break;
    case TabCommand::kHistory:
        ShowView(View::kCallHistory | (IsCallHistoryView(m_view) ? (m_view & ViewBit::kCallHistoryKeep) : 0));
        break;
    case TabCommand::kMessages:
        ShowView(View::kSmsInbox);
        break;
    default:
        StartContactView();
        break;
    }
    SelectTab(tabCommand);
}

void Frame::StartContactView() {
    const common::SettingsRecord& settings = Settings();
    std::u16string filter(settings.filter);
    if (settings.flags & common::SettingsFlag::kStartOnFacebookFriends)
        ShowView(View::kFacebookFriends);
    else if ((settings.flags & common::SettingsFlag::kFilterByCategory) && !filter.empty())
        ShowView(View::kCategoryContacts, filter);
    else if (settings.flags & common::SettingsFlag::kFilterByCategory)
        ShowView(View::kCategoryList);
    else if ((settings.flags & common::SettingsFlag::kFilterByCompany) && !filter.empty())
        ShowView(View::kCompanyContacts, filter);
    else if (settings.flags & common::SettingsFlag::kFilterByCompany)
        ShowView(View::kCompanyList);
    else
        ShowView(View::kAllContacts);
}

void Frame::ShowView(DWORD view, const std::u16string& filter) {
    m_selectedRow = -1;
    m_number.clear();
    m_model->Load(view, filter);
    m_view = m_model->View() & ~ViewBit::kSearch;
    if (view == View::kFacebookFriends && m_model->Count() == 0) {
        OfferFacebookFriends();
        return;
    }
    RememberView(m_view, m_model->Filter());
    ListChanged();
    if (ListView* list = m_page ? m_page->List() : nullptr) {
        list->SetFocusedItem(-1);
        list->ScrollTo(0);
    }
    NumberChanged(false);
    UpdateTitle();
    SelectTab(TabOfView(m_view));
    ChooseListLook();
    ShowLetterBar();
}

// The last main view is the default page of the next start; a contact filter is kept by
// name, so that a category that is gone falls back to the list of categories.
void Frame::RememberView(DWORD view, const std::u16string& filter) {
    common::SettingsRecord& settings = Settings();
    settings.flags &= ~(common::SettingsFlag::kLastViewFavorites | common::SettingsFlag::kLastViewCallHistory);
    if (IsFavoritesView(view)) {
        settings.flags |= common::SettingsFlag::kLastViewFavorites;
        return;
    }
    if (IsCallHistoryView(view)) {
        settings.flags |= common::SettingsFlag::kLastViewCallHistory;
        return;
    }
    if (!IsContactView(view) || (view & ViewBit::kFacebook))
        return;
    constexpr DWORD kFilterFlags = common::SettingsFlag::kFilterByCategory | common::SettingsFlag::kFilterByCompany;
    settings.flags &= ~kFilterFlags;
    settings.filter[0] = 0;
    if (!(view & ViewBit::kFilter))
        return;
    settings.flags |= (view & ViewBit::kByCompany) ? common::SettingsFlag::kFilterByCompany
                                                   : common::SettingsFlag::kFilterByCategory;
    size_t length = std::min(filter.size(), std::size(settings.filter) - 1);
    std::copy_n(filter.begin(), length, settings.filter);
    settings.filter[length] = 0;
}

void Frame::UpdateTitle() {
    if (!m_page)
        return;
    UINT title = ViewTitle(m_view);
    m_page->SetTexts(MainControl::kTitle, title ? LibraryText(title) : m_model->Filter());
}

void Frame::SelectTab(UINT tabCommand) {
    if (TabControl* tabs = m_page ? m_page->Tabs() : nullptr) {
        tabs->Select(TabIndex(tabCommand));
        tabs->Invalidate();
    }
}

void Frame::SetMode(int mode) {
    if (mode == m_mode || !m_page)
        return;
    int previous = m_mode;
    m_mode = mode;
    m_page->ShowControls(MainControl::kTabs, mode == PageMode::kBrowse);
    m_page->ShowControls(MainControl::kGroupMode, mode == PageMode::kGroupSelect);
    m_page->ShowControls(MainControl::kEditMode, mode == PageMode::kDelete || mode == PageMode::kFavoritesSelect);
    if (ListView* list = m_page->List())
        list->SetCheckBoxes(mode == PageMode::kGroupSelect);
    if (mode == PageMode::kGroupSelect) {
        bool filtered = IsContactView(m_view) && (m_view & ViewBit::kFilter) && !IsFavoritesView(m_view);
        m_marks.assign(m_model->Count(), filtered);
    } else {
        m_marks.clear();
    }
    if (previous == PageMode::kFavoritesSelect)
        ShowView(View::kFavorites);
    m_page->Invalidate();
}

void Frame::ShowKeypad() {
    DialKeypad* keypad = m_page ? m_page->Keypad() : nullptr;
    if (!keypad || keypad->IsVisible())
        return;
    m_page->ShowControls(MainControl::kKeypad, true);
    keypad->Attach([this](UINT message, WPARAM wParam, LPARAM) { OnNumberField(message, wParam); });
    m_page->Invalidate();
}

void Frame::HideKeypad(bool keepView) {
    DialKeypad* keypad = m_page ? m_page->Keypad() : nullptr;
    if (!keypad || !keypad->IsVisible())
        return;
    keypad->Detach();
    m_page->ShowControls(MainControl::kKeypad, false);
    m_page->Invalidate();
    if (keepView || !m_number.empty())
        return;
    ShowView(View::kAllContacts);
}

// An empty Facebook friends view shows all contacts, and offers to fetch and link friends.
void Frame::OfferFacebookFriends() {
    ShowView(View::kAllContacts);
    if (ShowMessageBox(*m_skin, *this, kProductTitle, LibraryText(kOfferFacebookFriends), MB_OKCANCEL) == IDOK)
        PostMessageW(Window(), WM_COMMAND, kAssignFacebook, 0);
}

// The list's look follows the view: face or detail rows for contacts and favourites, and a
// look of their own for categories, companies and calls. A skin without a look keeps the
// list's own.
void Frame::ChooseListLook() {
    ListView* list = m_page ? m_page->List() : nullptr;
    if (!list)
        return;
    DWORD flags = Settings().flags;
    bool faces = flags & (IsFavoritesView(m_view) ? common::SettingsFlag::kFavoritesFaceView
                                                  : common::SettingsFlag::kContactsFaceView);
    const char* look = faces ? "Faces" : "Contacts";
    if (m_view & (ViewBit::kCategories | ViewBit::kCompanies))
        look = "Groups";
    else if (IsCallHistoryView(m_view) || IsMessageView(m_view))
        look = "History";
    if (m_mode == PageMode::kGroupSelect)
        look = "Select";
    ControlElement* chosen = FindListLook(*m_skin, *list, look);
    list->SetDescriptor(chosen ? chosen : list->Descriptor());
    list->Invalidate();
}

} // namespace corlist
