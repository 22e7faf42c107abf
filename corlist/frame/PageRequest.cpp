#include "corlist/frame/PageRequest.h"

#include "corlist/frame/MainPageTable.h"
#include "corlist/contacts/ViewWord.h"

#include <iterator>

namespace corlist {

namespace {

DWORD SendKeyPage(DWORD action) {
    switch (action) {
    case 2:
        return PageFlag::kCallHistory;
    case 3:
        return PageFlag::kFavorites;
    case 4:
        return PageFlag::kContacts;
    case 5:
        return PageFlag::kMessages;
    default:
        // 1, and every value that names no page, opens the keypad for the phone switch.
        return PageFlag::kKeypad;
    }
}

UINT LastViewTab(DWORD flags) {
    if (flags & common::SettingsFlag::kLastViewFavorites)
        return TabCommand::kFavorites;
    if (flags & common::SettingsFlag::kLastViewCallHistory)
        return TabCommand::kHistory;
    return TabCommand::kContacts;
}

} // namespace

PageChoice ChoosePage(DWORD startFlags, const common::SettingsRecord& settings) {
    DWORD page = startFlags & 0xFFFF;
    PageChoice choice;
    if (page == 0 || page == PageFlag::kDefaultPage) {
        choice.kind = PageChoice::Kind::kLastView;
        choice.tabCommand = LastViewTab(settings.flags);
        return choice;
    }
    if (page == PageFlag::kSendKey)
        page = SendKeyPage(settings.sendKeyAction);
    choice.kind = PageChoice::Kind::kView;
    switch (page) {
    case PageFlag::kContacts:
        choice.tabCommand = TabCommand::kContacts;
        choice.view = View::kAllContacts;
        break;
    case PageFlag::kCallHistory:
        choice.tabCommand = TabCommand::kHistory;
        choice.view = View::kCallHistory;
        break;
    case PageFlag::kFavorites:
        choice.tabCommand = TabCommand::kFavorites;
        choice.view = View::kFavorites;
        break;
    case PageFlag::kKeypad:
        choice.tabCommand = TabCommand::kHistory;
        choice.view = View::kCallHistory;
        choice.keypad = true;
        break;
    case PageFlag::kMessages:
        choice.tabCommand = TabCommand::kMessages;
        choice.view = View::kSmsInbox;
        break;
    default:
        choice = PageChoice{};
        break;
    }
    return choice;
}

int TabIndex(UINT tabCommand) {
    for (size_t index = 0; index < std::size(kMainTabs); ++index)
        if (kMainTabs[index] == tabCommand)
            return int(index);
    return -1;
}

} // namespace corlist
