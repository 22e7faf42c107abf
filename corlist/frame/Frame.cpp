#include "corlist/frame/Frame.h"

#include "common/CoreObject.h"
#include "common/Language.h"
#include "common/Messages.h"
#include "corlist/calls/DialKeypad.h"
#include "corlist/contacts/PictureLoader.h"
#include "corlist/contacts/ViewWord.h"
#include "corlist/controls/ControlFactory.h"
#include "corlist/controls/LibraryText.h"
#include "corlist/controls/ListView.h"
#include "corlist/controls/ListViewNotify.h"
#include "corlist/frame/MainPageTable.h"
#include "corlist/image/ImageLoader.h"
#include "corlist/skin/Skin.h"

#include "ce/aygshell.h"
#include "ce/commctrl.h"
#include "ce/kernel.h"
#include "ce/user.h"

#include <algorithm>
#include <vector>

namespace corlist {

namespace {

Frame* g_current = nullptr;
common::CoreObject* g_host = nullptr;

// The class style of the frame: redraw on both size changes, and 0x80 as the device's.
constexpr UINT kFrameClassStyle = 0x83;
constexpr UINT kMenuBarResource = 101;
constexpr UINT kTitleString = 101;
constexpr BYTE kTalkKey = 0x72;

} // namespace

Frame* Frame::Current() {
    return g_current;
}

common::CoreObject* Frame::Host() {
    return g_host;
}

Frame::Frame(common::CoreObject& core, DWORD startFlags)
    : m_core(core), m_startFlags(startFlags & 0xFFFF), m_model(std::make_unique<ListModel>(core)),
      m_binding(std::make_unique<ListBinding>(*m_model)), m_skin(std::make_unique<Skin>()) {}

Frame::~Frame() {
    if (g_current == this)
        g_current = nullptr;
}

common::SettingsRecord& Frame::Settings() {
    return m_core.SharedSettings().Record();
}

bool Frame::RegisterFrameClass() {
    HINSTANCE instance = LibraryInstance();
    // A class left by an earlier frame (perhaps of an unloaded copy of the library) goes.
    UnregisterClassW(kClassName, instance);
    WNDCLASSW windowClass{};
    windowClass.style = kFrameClassStyle;
    windowClass.lpfnWndProc = &Frame::WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kClassName;
    return RegisterClassW(&windowClass) != 0;
}

HWND Frame::Create(DWORD flags, common::CoreObject* host) {
    if (!host)
        return nullptr;
    g_host = host;
    if (!common::LanguageModule())
        common::LoadLanguage(LibraryInstance(), u"Dialora", nullptr);
    // Skins and contact pictures decode through the image loader, started once per process
    // and kept for the process's life (frames come and go; the codecs it loaded go with the
    // process).
    InitImages(nullptr, nullptr, LibraryInstance());
    std::unique_ptr<Frame> frame(new Frame(*host, flags));
    if (!RegisterFrameClass())
        return nullptr;
    std::u16string title = LibraryText(kTitleString);
    // The window procedure takes the object over from the creation parameter.
    HWND window = CreateWindowExW(0, kClassName, title.c_str(), WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, LibraryInstance(), frame.get());
    if (!window)
        return nullptr;
    Frame* created = frame.release();
    g_current = created;
    SetForegroundWindow(window);
    if (IsWindow(window) && (flags & 0x80)) {
        BYTE key = BYTE((flags >> 16) & 0xFF);
        keybd_event(key, 0, 0, 0);
        keybd_event(key, 0, KEYEVENTF_KEYUP, 0);
    }
    return IsWindow(window) ? window : nullptr;
}

LRESULT CALLBACK Frame::WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrW(hwnd, GWL_USERDATA));
    if (!frame && message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        frame = static_cast<Frame*>(create->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWL_USERDATA, reinterpret_cast<LONG_PTR>(frame));
        frame->SetWindow(hwnd);
    }
    if (!frame)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    LRESULT result = 0;
    try {
        result = frame->Handle(message, wParam, lParam);
    } catch (...) {
        // Nothing leaves a window procedure: the message is dropped, the frame goes on.
        OutputDebugStringW(u"Corlist: fault while handling a frame message\n");
    }
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWL_USERDATA, 0);
        delete frame;
    }
    return result;
}

LRESULT Frame::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (message == WM_PAINT)
        ShowRowsToLoader();
    if (HandleScreenMessage(message, wParam, lParam, result))
        return result;
    bool handled = true;
    result = HandlePrivate(message, wParam, lParam, handled);
    if (handled)
        return result;
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam) != WA_INACTIVE);
        return 0;
    case WM_CLOSE:
        PostMessageW(Window(), common::CRVM_DESTROYFRAME, 0, 0);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_COMMAND:
        OnCommand(LOWORD(wParam));
        return 0;
    case WM_NOTIFY:
        return OnNotify(reinterpret_cast<NMHDR*>(lParam));
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_KEYUP:
    case WM_HOTKEY:
        OnKey(message, wParam, lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kCoalesceTimer) {
            OnCoalesceTimer();
            return 0;
        }
        ForwardKey(message, wParam, lParam);
        return 0;
    default:
        return DefWindowProcW(Window(), message, wParam, lParam);
    }
}

LRESULT Frame::HandlePrivate(UINT message, WPARAM wParam, LPARAM lParam, bool& handled) {
    switch (message) {
    case common::CRVM_DESTROYFRAME:
        DestroyWindow(Window());
        return 0;
    case common::CRVM_SHOWPAGE:
        ShowPage(DWORD(wParam));
        return 0;
    case common::CRVM_CONTACTCHANGED:
        OnContactChanged(wParam, lParam);
        return 0;
    case common::CRVM_CALLLOGCHANGED:
        OnCallLogChanged();
        return 0;
    case common::CRVM_CONTACTSRELOAD:
        OnContactsReload(lParam);
        return 0;
    case common::CRVM_MSGFOLDERSCHANGED:
        OnMessageFoldersChanged(wParam, lParam);
        return 0;
    case common::CRVM_SETTINGSCHANGED:
        OnSettingsChanged(wParam);
        return 0;
    case kKeypadNumberMessage:
        OnKeypadNumber(wParam);
        return 0;
    case kPictureLoaded:
        if (ListView* list = m_page ? m_page->List() : nullptr)
            list->Invalidate();
        return 0;
    default:
        handled = false;
        return 0;
    }
}

// The frame covers the screen without the input panel button, and keeps the platform's
// menu bar only for the Talk key, out of sight: the skin draws the whole window.
void Frame::OnCreate() {
    SHFullScreen(Window(), SHFS_HIDESIPBUTTON);
    MoveWindow(Window(), 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), FALSE);
    OnSize();
    InstallControlDescriptors(*m_skin);
    // Without a skin the page cannot be built: page requests are then ignored.
    m_skin->Initialise(Settings());
    SHMENUBARINFO bar{};
    bar.cbSize = sizeof bar;
    bar.hwndParent = Window();
    bar.nToolBarId = kMenuBarResource;
    bar.hInstRes = LibraryInstance();
    // Without the soft keys' strings the bar is made empty: the Talk key still needs it.
    if (!SHCreateMenuBar(&bar)) {
        bar.dwFlags = SHCMBF_EMPTYBAR;
        if (!SHCreateMenuBar(&bar))
            bar.hwndMB = nullptr;
    }
    m_menuBar = bar.hwndMB;
    if (m_menuBar) {
        SendMessageW(m_menuBar, SHCMBM_OVERRIDEKEY, kTalkKey,
                     MAKELPARAM(SHMBOF_NODEFAULT | SHMBOF_NOTIFY, SHMBOF_NODEFAULT | SHMBOF_NOTIFY));
        SetWindowPos(m_menuBar, nullptr, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void Frame::OnActivate(bool active) {
    m_active = active;
    // The skin draws the whole screen, title band included: the task bar goes while the
    // frame is in front and comes back for the windows that need it.
    constexpr DWORD kChrome = SHFS_HIDETASKBAR | SHFS_HIDESTARTICON | SHFS_HIDESIPBUTTON;
    constexpr DWORD kNoChrome = SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON | SHFS_SHOWSIPBUTTON;
    SHFullScreen(Window(), active ? kChrome : kNoChrome);
    if (!active) {
        if (m_page)
            m_page->Notify(ControlEvent::kFocusLost, nullptr, 0);
        return;
    }
    // Typed keys come to the frame, as a window that is activated takes the focus.
    SetFocus(Window());
    if (m_firstActivation) {
        m_firstActivation = false;
        InvalidateRect(Window(), nullptr, FALSE);
        PostMessageW(Window(), common::CRVM_SHOWPAGE, m_startFlags, 0);
    } else if (m_viewChangePending) {
        m_viewChangePending = false;
        ShowView(m_pendingView, m_model->Filter());
    }
    DWORD deferred = m_deferred;
    m_deferred = 0;
    if (deferred & Deferred::kContactReload)
        PostMessageW(Window(), common::CRVM_CONTACTSRELOAD, 0, 0);
    if (deferred & Deferred::kCallLogReload)
        PostMessageW(Window(), common::CRVM_CALLLOGCHANGED, 0, 0);
    if (deferred & Deferred::kListRefresh)
        RefreshList(true);
}

void Frame::OnDestroy() {
    // The task bar comes back when the frame goes while in front.
    if (m_active)
        SHFullScreen(Window(), SHFS_SHOWTASKBAR | SHFS_SHOWSTARTICON | SHFS_SHOWSIPBUTTON);
    m_active = false;
    if (m_timer) {
        KillTimer(Window(), kCoalesceTimer);
        m_timer = 0;
    }
    if (DialKeypad* keypad = m_page ? m_page->Keypad() : nullptr)
        keypad->Detach();
    m_pictures.reset();
    m_page = nullptr;
    SetCurrentScreen(nullptr);
    m_pageRoot.reset();
    ReleaseScreen();
    m_binding.reset();
    m_model.reset();
    if (m_menuBar && IsWindow(m_menuBar))
        DestroyWindow(m_menuBar);
    m_menuBar = nullptr;
    if (g_current == this)
        g_current = nullptr;
    PostThreadMessageW(GetCurrentThreadId(), common::CRVM_FRAMECLOSED, 0, 0);
}

bool Frame::KeypadShown() const {
    DialKeypad* keypad = m_page ? m_page->Keypad() : nullptr;
    return keypad && keypad->IsVisible();
}

// Keys: while the keypad is attached it takes them all (it types into the number field and
// dials on the Talk key). Otherwise typed characters go to the number field, the action
// key activates the focused row, the Talk key calls the typed number or the focused row,
// and the rest goes to the focused skinned control.
void Frame::OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
    if (!m_page)
        return;
    DialKeypad* keypad = m_page->Keypad();
    if (!Modal() && keypad && keypad->IsVisible() && keypad->IsAttached()) {
        keypad->OnKey(message, wParam, lParam);
        return;
    }
    if (message == WM_CHAR && !Modal()) {
        OnNumberField(WM_CHAR, wParam);
        return;
    }
    if (message == WM_HOTKEY && HIWORD(lParam) == kTalkKey && !Modal()) {
        if (LOWORD(lParam) & MOD_KEYUP) {
            if (m_number.empty())
                CallSelected();
            else
                CallTypedNumber();
        }
        return;
    }
    if (message == WM_KEYDOWN && wParam == VK_RETURN && !Modal() && m_page->List()) {
        ActivateRow(m_page->List()->FocusedItem());
        return;
    }
    ForwardKey(message, wParam, lParam);
}

LRESULT Frame::OnNotify(NMHDR* header) {
    if (!header || header->idFrom != MainControl::kList || !m_binding)
        return 0;
    if (header->code == ListNotify::kTap) {
        auto* tap = reinterpret_cast<NMLISTVIEW*>(header);
        OnListTap(tap->iItem, tap->ptAction);
        return 0;
    }
    LRESULT result = m_binding->OnNotify(header);
    if (header->code == LVN_GETDISPINFOW)
        AddRowExtras(*reinterpret_cast<NMLVDISPINFOW*>(header));
    return result;
}

// What the binding does not know: the marks of group selection and the loaded pictures.
void Frame::AddRowExtras(NMLVDISPINFOW& info) {
    int row = info.item.iItem;
    if (row < 0 || size_t(row) >= m_model->Count())
        return;
    if ((info.item.mask & LVIF_STATE) && size_t(row) < m_marks.size() && m_marks[size_t(row)])
        info.item.state |= kItemChecked;
    if (!(info.item.mask & LVIF_PARAM))
        return;
    info.item.lParam = 0;
    const ListRow& item = m_model->Row(size_t(row));
    if (item.kind != RowKind::kContact || !item.contact)
        return;
    // The loader writes the slot under the list's lock.
    auto lock = m_model->Lock();
    void* picture = item.contact->picture;
    if (picture && picture != common::ContactRecord::NoPictureMark())
        info.item.lParam = reinterpret_cast<LPARAM>(static_cast<Image*>(picture)->Bitmap().section);
}

void Frame::ShowRowsToLoader() {
    ListView* list = m_page ? m_page->List() : nullptr;
    if (!m_pictures || !list || !IsContactView(m_view))
        return;
    RowSpan span = list->Visible();
    size_t perRow = size_t(std::max(list->ItemsPerRow(), 1));
    m_pictures->ShowRange(size_t(std::max(span.first, 0)) * perRow, size_t(std::max(span.count, 0)) * perRow);
}

} // namespace corlist
