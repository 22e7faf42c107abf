// The frame: the one top-level window of the user interface ("TAVIK_VELMORA"). It shows the
// main page "mainwnd" of the skin with its tabs, title, number field, mode panes, keypad
// and the main list, switches views and modes, runs the tab and row menus, and follows the
// main program's change messages (deferred while another window is in front). It runs on
// the main program's thread; one frame exists at a time.
#pragma once

#include "corlist/contacts/ListBinding.h"
#include "corlist/contacts/ListModel.h"
#include "corlist/controls/ScreenWindow.h"
#include "corlist/frame/MainPage.h"
#include "corlist/frame/PageRequest.h"

#include "ce/types.h"

#include <memory>
#include <string>
#include <vector>

namespace common {
class CoreObject;
struct SettingsRecord;
} // namespace common

namespace corlist {

class Menu;
class PictureLoader;
class Skin;

// Updates that wait for the frame's next activation.
namespace Deferred {
constexpr DWORD kContactReload = 0x0001;
constexpr DWORD kCallLogReload = 0x0002;
constexpr DWORD kListRefresh = 0x8000;
} // namespace Deferred

// Modes of the main page.
namespace PageMode {
constexpr int kBrowse = 0;
constexpr int kDelete = 3;
constexpr int kFavoritesSelect = 4;
constexpr int kGroupSelect = 5;
} // namespace PageMode

class Frame final : public ScreenWindow {
public:
    static constexpr const WCHAR* kClassName = u"TAVIK_VELMORA";
    static constexpr UINT_PTR kCoalesceTimer = 653;
    static constexpr UINT kCoalesceMs = 150;
    // The longest number the number field keeps.
    static constexpr size_t kMaxNumber = 31;
    // The picture loader's message: a row's picture is ready (wParam = row).
    static constexpr UINT kPictureLoaded = 0x8001;

    // The steps of KCreateFrame: the window on the page the flags name, or null.
    static HWND Create(DWORD flags, common::CoreObject* host);
    // The frame that exists now, or null.
    static Frame* Current();
    // The host pointer the last KCreateFrame received.
    static common::CoreObject* Host();

    ~Frame() override;

    // What the page shows (for the console's tests and the pages built on it).
    DWORD View() const { return m_view; }
    int Mode() const { return m_mode; }
    bool KeypadShown() const;
    DWORD DeferredBits() const { return m_deferred; }
    bool IsActive() const { return m_active; }
    const std::u16string& Number() const { return m_number; }
    MainPage* Page() const { return m_page; }
    ListModel& Model() { return *m_model; }
    Skin& PageSkin() { return *m_skin; }

private:
    Frame(common::CoreObject& core, DWORD startFlags);

    static LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static bool RegisterFrameClass();
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandlePrivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled);
    void OnCreate();
    void OnActivate(bool active);
    void OnDestroy();
    void OnKey(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnNotify(NMHDR* header);
    void AddRowExtras(NMLVDISPINFOW& info);
    // The rows in sight go to the picture loader (contact rows only).
    void ShowRowsToLoader();

    // Pages and views (FramePages.cpp).
    void ShowPage(DWORD flags);
    bool CreateMainPage();
    void ApplyPage(const PageChoice& choice);
    void SwitchToTab(UINT tabCommand);
    void ShowView(DWORD view, const std::u16string& filter = {});
    void StartContactView();
    void RememberView(DWORD view, const std::u16string& filter);
    void UpdateTitle();
    void SelectTab(UINT tabCommand);
    void ChooseListLook();
    void SetMode(int mode);
    void ShowKeypad();
    void HideKeypad(bool keepView);
    void OfferFacebookFriends();

    // Commands and the number field (FrameCommands.cpp).
    // True when the command is the frame's own.
    bool OnCommand(UINT id);
    bool OnTabCommand(UINT id);
    bool OnViewCommand(UINT id);
    bool OnModeCommand(UINT id);
    bool OnSettingsCommand(UINT id);
    void OnNumberField(UINT message, WPARAM wParam);
    void NumberChanged(bool grew);
    void OnKeypadNumber(WPARAM what);
    void DialNumber(const std::u16string& number, const std::u16string& name);
    void CallTypedNumber();
    void CallSelected();
    void CopyNumber();
    void SaveNumber();
    void StartOptions();

    // Menus (FrameMenus.cpp).
    void OpenTabMenu(UINT tabCommand);
    void OpenFilterMenu();
    void OpenGroupActionMenu();
    std::vector<common::ContactRecord*> ContactsOfRow(const ListRow& item);
    void DeleteContacts(std::vector<common::ContactRecord*> contacts);
    void OnListTap(int row, POINT point);
    void OpenRowMenu(int row, POINT point);
    void ActivateRow(int row);
    // Runs a menu whose top list takes the icons of the well-known strip `strip`.
    int RunMenu(Menu& menu, const POINT* position, bool above, int strip);
    void DeleteRows(int row);
    void DeleteAll();
    void AfterDelete(bool deleted);
    void CarryOut(UINT command);
    void NotHere();
    bool Confirm(UINT question);

    // Change messages (FrameUpdates.cpp).
    void OnContactChanged(WPARAM wParam, LPARAM lParam);
    void OnCallLogChanged();
    void OnContactsReload(LPARAM lParam);
    void OnMessageFoldersChanged(WPARAM wParam, LPARAM lParam);
    void OnSettingsChanged(WPARAM changes);
    void OnCoalesceTimer();
    void ShowLetterBar();
    // The list view and its letter bar follow the model's rows.
    void ListChanged();
    void RefreshList(bool keepSelection, const common::ContactRecord* select = nullptr);

    common::SettingsRecord& Settings();

    common::CoreObject& m_core;
    DWORD m_startFlags = 0;
    bool m_firstActivation = true;
    bool m_active = false;
    DWORD m_deferred = 0;
    // A view change asked for while the frame was inactive: applied on activation.
    bool m_viewChangePending = false;
    DWORD m_pendingView = 0;
    UINT_PTR m_timer = 0;
    DWORD m_view = 0;
    int m_mode = PageMode::kBrowse;
    // Group selection: the marked rows of the shown list.
    std::vector<bool> m_marks;
    // The row the last tap selected: a tap on it again activates it.
    int m_selectedRow = -1;
    std::u16string m_number;
    // Message folders whose lists are stale (bit per folder).
    DWORD m_staleFolders = 0;
    std::unique_ptr<ListModel> m_model;
    std::unique_ptr<ListBinding> m_binding;
    // Declared after the model: it goes first, since it holds the model's lock.
    std::unique_ptr<PictureLoader> m_pictures;
    MainPage* m_page = nullptr; // the screen's root once built
    std::unique_ptr<MainPage> m_pageRoot;
    std::unique_ptr<Skin> m_skin;
    HWND m_menuBar = nullptr;
};

} // namespace corlist
