// The frame's commands and its number field: the typed number searches the list and is
// dialled, copied or stored.
#include "corlist/frame/Frame.h"

#include "common/ContactRecord.h"
#include "common/CoreObject.h"
#include "corlist/calls/DialKeypad.h"
#include "corlist/contacts/ContactSummary.h"
#include "corlist/contacts/ViewWord.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/controls/ListView.h"
#include "corlist/frame/MainPageTable.h"

#include "ce/kernel.h"
#include "ce/phone.h"
#include "ce/pimstore.h"
#include "ce/user.h"
#include "common/ModuleFolder.h"

namespace corlist {

namespace {

namespace Command {
constexpr UINT kClose = 1;
constexpr UINT kKeypad = 5029;
constexpr UINT kMessages = 110;
constexpr UINT kView64 = 111;
constexpr UINT kView128 = 112;
constexpr UINT kCloseKeypad = 123;
constexpr UINT kMakeCall = 144;
constexpr UINT kFilterMenu = 159;
constexpr UINT kCallIce = 208;
constexpr UINT kAllContacts = 177;
constexpr UINT kCategories = 178;
constexpr UINT kCompanies = 179;
constexpr UINT kFacebookFriends = 506;
constexpr UINT kAllCalls = 121;
constexpr UINT kMissed = 122;
constexpr UINT kIncoming = 125;
constexpr UINT kOutgoing = 124;
constexpr UINT kDeleteMode = 171;
constexpr UINT kFavoritesMode = 176;
constexpr UINT kGroupMode = 1712;
constexpr UINT kDeleteAll = 135;
constexpr UINT kGroupByContact = 119;
constexpr UINT kUngroup = 120;
constexpr UINT kFaceView = 139;
constexpr UINT kDetailView = 141;
} // namespace Command

// The SMS folder menu's commands, in folder order (inbox, sent, outbox, drafts, deleted).
constexpr UINT kFolderCommands[] = {350, 351, 354, 353, 352};
constexpr UINT kFacebookMessages = 510;
constexpr size_t kMinimumDialled = 2;
constexpr WCHAR kOptionsProgram[] = u"Corvopt.exe";

bool IsNumberCharacter(WPARAM character) {
    return (character >= u'0' && character <= u'9') || character == u'*' || character == u'#' || character == u'+' ||
           (character >= u'a' && character <= u'z') || (character >= u'A' && character <= u'Z');
}

} // namespace

bool Frame::OnCommand(UINT id) {
    if (OnTabCommand(id) || OnViewCommand(id) || OnModeCommand(id) || OnSettingsCommand(id))
        return true;
    switch (id) {
    case Command::kClose:
    case MainControl::kClose:
        PostMessageW(Window(), WM_CLOSE, 0, 0);
        return true;
    case MainControl::kIcon:
        StartOptions();
        return true;
    case Command::kKeypad:
        SetMode(PageMode::kBrowse);
        ShowView(View::kAllContacts);
        ShowKeypad();
        return true;
    case Command::kCloseKeypad:
        HideKeypad(false);
        return true;
    case MainControl::kNumber:
    case MainControl::kNumberPane:
    case MainControl::kSmallNumber:
    case MainControl::kCall: // the number pane's call button
        CallTypedNumber();
        return true;
    case Command::kMakeCall:
        if (m_number.empty())
            CallSelected();
        else
            CallTypedNumber();
        return true;
    case Command::kCallIce:
        if (Settings().hotPhone[0])
            DialNumber(Settings().hotPhone, {});
        return true;
    case MainControl::kCopy:
        CopyNumber();
        return true;
    case MainControl::kSave:
        SaveNumber();
        return true;
    case MainControl::kGroupAction:
        OpenGroupActionMenu();
        return true;
    case Command::kFilterMenu:
    case MainControl::kTitlePane:
        OpenFilterMenu();
        return true;
    default:
        return false;
    }
}

// A tap on the tab of the shown view opens that tab's menu; on another tab it switches.
bool Frame::OnTabCommand(UINT id) {
    bool current = false;
    switch (id) {
    case TabCommand::kFavorites:
        current = IsFavoritesView(m_view);
        break;
    case TabCommand::kHistory:
        current = IsCallHistoryView(m_view);
        break;
    case TabCommand::kContacts:
        current = IsContactView(m_view) && !IsFavoritesView(m_view);
        current = current || (m_view & (ViewBit::kCategories | ViewBit::kCompanies));
        break;
    case TabCommand::kMessages:
        current = IsMessageView(m_view);
        break;
    default:
        return false;
    }
    if (current)
        OpenTabMenu(id);
    else
        SwitchToTab(id);
    return true;
}

bool Frame::OnViewCommand(UINT id) {
    switch (id) {
    case Command::kMessages:
        ShowView(View::kSmsInbox);
        return true;
    case Command::kView64:
        ShowView(64);
        return true;
    case Command::kView128:
        ShowView(128);
        return true;
    case Command::kAllContacts:
        ShowView(View::kAllContacts);
        return true;
    case Command::kCategories:
        ShowView(View::kCategoryList);
        return true;
    case Command::kCompanies:
        ShowView(View::kCompanyList);
        return true;
    case Command::kFacebookFriends:
        ShowView(View::kFacebookFriends);
        return true;
    case Command::kAllCalls:
        ShowView(View::kCallHistory | (m_view & ViewBit::kGrouped));
        return true;
    case Command::kMissed:
    case Command::kIncoming:
    case Command::kOutgoing: {
        DWORD kind = id == Command::kMissed ? ViewBit::kMissed
                     : id == Command::kIncoming ? ViewBit::kIncoming
                                                : ViewBit::kOutgoing;
        ShowView(View::kCallHistory | kind | (m_view & ViewBit::kGrouped));
        return true;
    }
    case kFacebookMessages:
        ShowView(View::kFacebookMessages);
        return true;
    default:
        for (size_t folder = 0; folder < std::size(kFolderCommands); ++folder)
            if (kFolderCommands[folder] == id) {
                ShowView(View::kSmsInbox | DWORD(folder) << ViewBit::kFolderShift);
                return true;
            }
        return false;
    }
}

bool Frame::OnModeCommand(UINT id) {
    switch (id) {
    case MainControl::kBack:
        SetMode(PageMode::kBrowse);
        return true;
    case Command::kDeleteMode:
        SetMode(PageMode::kDelete);
        return true;
    case Command::kFavoritesMode:
        SetMode(PageMode::kBrowse);
        ShowView(View::kAllContacts);
        SetMode(PageMode::kFavoritesSelect);
        return true;
    case Command::kGroupMode:
        SetMode(PageMode::kGroupSelect);
        return true;
    case Command::kDeleteAll:
        DeleteAll();
        return true;
    default:
        return false;
    }
}

// Display choices kept in `Flags`: grouping of the history, face or detail view.
bool Frame::OnSettingsCommand(UINT id) {
    common::SettingsRecord& settings = Settings();
    switch (id) {
    case Command::kGroupByContact:
    case Command::kUngroup:
        if (id == Command::kGroupByContact)
            settings.flags |= common::SettingsFlag::kGroupByContact;
        else
            settings.flags &= ~common::SettingsFlag::kGroupByContact;
        ShowView((m_view & ~ViewBit::kGrouped) | (id == Command::kGroupByContact ? ViewBit::kGrouped : 0));
        return true;
    case Command::kFaceView:
    case Command::kDetailView: {
        DWORD bit = IsFavoritesView(m_view) ? common::SettingsFlag::kFavoritesFaceView
                                            : common::SettingsFlag::kContactsFaceView;
        if (id == Command::kFaceView)
            settings.flags |= bit;
        else
            settings.flags &= ~bit;
        ChooseListLook();
        return true;
    }
    default:
        return false;
    }
}

// The number field: typed characters, the delete key (8) and the phone's Back key (which
// types Escape and deletes, as in every text field of the phone); every change searches.
void Frame::OnNumberField(UINT message, WPARAM wParam) {
    if (message != WM_CHAR)
        return;
    if (wParam == 8 || wParam == 0x1B) {
        if (m_number.empty())
            return;
        m_number.pop_back();
        NumberChanged(false);
        return;
    }
    if (!IsNumberCharacter(wParam) || m_number.size() >= kMaxNumber)
        return;
    m_number += WCHAR(wParam);
    NumberChanged(true);
}

// The number's texts and panes follow the field, and the list shows what it finds.
void Frame::NumberChanged(bool grew) {
    if (!m_page)
        return;
    bool typed = !m_number.empty();
    m_page->SetTexts(MainControl::kNumber, m_number);
    m_page->SetTexts(MainControl::kSmallNumber, m_number);
    m_page->ShowControls(MainControl::kNumberPane, typed);
    m_page->ShowControls(MainControl::kTitlePane, !typed);
    if (typed || m_model->IsSearching()) {
        m_selectedRow = -1;
        // An empty result is searched afresh: a lone "+" finds nothing, "+44" does.
        m_model->Search(typed ? m_number.c_str() : nullptr, grew && m_model->Count() > 0);
        ListChanged();
        if (ListView* list = m_page->List())
            list->ScrollTo(0);
    }
    m_page->ShowControls(MainControl::kNewContact, typed && m_model->Count() == 0);
}

void Frame::OnKeypadNumber(WPARAM what) {
    if (what == kKeypadDial)
        CallTypedNumber();
}

void Frame::DialNumber(const std::u16string& number, const std::u16string& name) {
    PHONEMAKECALLINFO call{};
    call.cbSize = sizeof call;
    call.pszDestAddress = number.c_str();
    call.pszCalledParty = name.empty() ? nullptr : name.c_str();
    if (PhoneMakeCall(&call) != 0)
        MessageBeep(MB_ICONHAND);
}

void Frame::CallTypedNumber() {
    if (m_number.size() < kMinimumDialled) {
        MessageBeep(MB_OK);
        return;
    }
    DialNumber(m_number, {});
}

// The selected contact's primary number (or a call row's number).
void Frame::CallSelected() {
    ListView* list = m_page ? m_page->List() : nullptr;
    int row = list ? list->FocusedItem() : -1;
    if (row < 0 || size_t(row) >= m_model->Count()) {
        MessageBeep(MB_OK);
        return;
    }
    const ListRow& item = m_model->Row(size_t(row));
    if (item.kind == RowKind::kCall && item.call) {
        DialNumber(item.call->number, item.contact ? item.contact->displayName : std::u16string());
        return;
    }
    if (item.kind == RowKind::kContact && item.contact && !item.contact->primaryNumber.empty()) {
        const common::ContactRecord& contact = *item.contact;
        DialNumber(contact.searchMatch.empty() ? contact.primaryNumber : contact.searchMatch, contact.displayName);
        return;
    }
    MessageBeep(MB_OK);
}

void Frame::CopyNumber() {
    if (m_number.empty() || !CopyTextToClipboard(Window(), m_number))
        MessageBeep(MB_OK);
}

// The typed number becomes a new contact's mobile number; the cache's notice shows it.
void Frame::SaveNumber() {
    auto* contact = m_number.empty() ? nullptr : static_cast<IContact*>(m_core.CreateContact());
    if (!contact) {
        MessageBeep(MB_OK);
        return;
    }
    IItem* item = nullptr;
    bool saved = false;
    if (SUCCEEDED(contact->QueryInterface(IID_IItem, reinterpret_cast<void**>(&item))) && item) {
        CEPROPVAL value{};
        value.propid = PIMPR_MOBILE_TELEPHONE_NUMBER;
        value.val.lpwstr = const_cast<LPWSTR>(m_number.c_str());
        saved = SUCCEEDED(item->SetProps(0, 1, &value)) && SUCCEEDED(item->Save());
        item->Release();
    }
    contact->Release();
    if (!saved)
        MessageBeep(MB_ICONHAND);
}

// The options program beside this library, on its About page.
void Frame::StartOptions() {
    std::u16string program = common::ModuleFolder(LibraryInstance()) + kOptionsProgram;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(program.c_str(), u"-about", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, &process)) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

} // namespace corlist
