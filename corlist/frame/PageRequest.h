// What a page request (the start flags of the frame or of CRVM_SHOWPAGE) shows: the tab of
// the last main view, one named page, or nothing new.
#pragma once

#include "common/Settings.h"

#include "ce/types.h"

namespace corlist {

// Start flags that name a page.
namespace PageFlag {
constexpr DWORD kContacts = 0x0002;
constexpr DWORD kCallHistory = 0x0004;
constexpr DWORD kFavorites = 0x0008;
constexpr DWORD kKeypad = 0x0010;
constexpr DWORD kMessages = 0x0100;
constexpr DWORD kSendKey = 0x2000;
constexpr DWORD kDefaultPage = 0x4000;
} // namespace PageFlag

// Tab commands (also their labels' strings), in the tab strip's order of kMainTabs.
namespace TabCommand {
constexpr UINT kFavorites = 5026;
constexpr UINT kContacts = 5028;
constexpr UINT kHistory = 5027;
constexpr UINT kMessages = 5022;
} // namespace TabCommand

struct PageChoice {
    enum class Kind {
        kUnchanged, // the request names no page
        kLastView,  // the tab command of the last main view
        kView,      // a view of its own
    };
    Kind kind = Kind::kUnchanged;
    UINT tabCommand = 0; // kLastView and kView: the tab that shows it
    DWORD view = 0;      // kView: the view word (0: the tab's own start view)
    bool keypad = false; // the keypad pane is shown over it
};

// The page of `startFlags` (only the low 16 bits count). The Send key's page comes from
// `SendKeyAction`; an unknown action gives the keypad.
PageChoice ChoosePage(DWORD startFlags, const common::SettingsRecord& settings);
// The tab strip's index of a tab command, or -1.
int TabIndex(UINT tabCommand);

} // namespace corlist
