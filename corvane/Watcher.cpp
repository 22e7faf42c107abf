#include "corvane/Watcher.h"

#include "ce/kernel.h"
#include "ce/pimstore.h"
#include "ce/registry.h"
#include "ce/windbase.h"
#include "common/Messages.h"
#include "corvane/Core.h"
#include "corvane/MainProgram.h"
#include "corvane/StartFlags.h"

#include <cwctype>

namespace corvane {

namespace {

constexpr DWORD kIncomingCallBit = 0x10000;
constexpr WORD kSendKey = VK_F3;

bool EqualsNoCase(const WCHAR* a, const WCHAR* b) {
    for (; *a && *b; ++a, ++b)
        if (std::towlower(*a) != std::towlower(*b))
            return false;
    return *a == *b;
}

bool DeviceLocked() {
    DWORD lock = 0;
    if (FAILED(RegistryGetDWORD(HKEY_LOCAL_MACHINE, u"System\\State", u"Lock", &lock)))
        return false;
    return (lock & 3) != 0;
}

} // namespace

Watcher* Watcher::Create(HINSTANCE instance, MainProgram& program) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = common::kWatcherClass;
    if (!RegisterClassW(&windowClass))
        return nullptr;
    auto* watcher = new Watcher(program);
    HWND window = CreateWindowExW(WS_EX_ABOVESTARTUP | WS_EX_TOPMOST, common::kWatcherClass, u"",
                                  WS_POPUP, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                                  GetSystemMetrics(SM_CYHSCROLL), nullptr, nullptr, instance,
                                  watcher);
    if (!window) {
        delete watcher;
        return nullptr;
    }
    return watcher;
}

void Watcher::Destroy() {
    if (m_window)
        DestroyWindow(m_window);
}

void Watcher::UnregisterWindowClass(HINSTANCE instance) {
    UnregisterClassW(common::kWatcherClass, instance);
}

LRESULT CALLBACK Watcher::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* watcher = static_cast<Watcher*>(create->lpCreateParams);
        watcher->m_window = window;
        SetWindowLongPtrW(window, GWL_USERDATA, reinterpret_cast<LONG_PTR>(watcher));
    }
    auto* watcher = reinterpret_cast<Watcher*>(GetWindowLongPtrW(window, GWL_USERDATA));
    if (!watcher)
        return DefWindowProcW(window, message, wParam, lParam);
    return watcher->Handle(message, wParam, lParam);
}

LRESULT Watcher::Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        OnCreate();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_CLOSE:
        // The device is shutting down: the program ends through its own quit request, so
        // the frame, the settings and the watcher go in their usual order.
        PostThreadMessageW(GetCurrentThreadId(), common::CRVM_QUIT, 0, 0);
        return 0;
    case WM_HOTKEY:
        OnHotKey(wParam, lParam);
        return 0;
    case common::CRVM_PHONESTATUS:
        OnPhoneStatus(static_cast<DWORD>(wParam));
        return 0;
    case common::CRVM_SETTINGSCHANGED:
        OnSettingsChanged();
        return 0;
    case WM_TIMER:
        m_program.CoreObject()->Contacts().OnTimer(wParam);
        return 0;
    case WM_DBNOTIFICATION:
        m_program.CoreObject()->CallLog().OnDbNotification(wParam, lParam);
        return 0;
    case SimPhonebook::kRadioReadyMessage:
        m_program.CoreObject()->Contacts().OnRadioReady(static_cast<DWORD>(wParam));
        return 0;
    case common::CRVM_APPLYPROFILE:
        // wParam is a signed index; -1 asks for the stored "LastProfile".
        return m_program.CoreObject()->Profiles().ApplyByIndex(static_cast<INT_PTR>(wParam)) ? TRUE
                                                                                           : FALSE;
    default:
        if (message >= PIM_ITEM_CREATED_LOCAL && message <= PIM_ITEM_CHANGED_REMOTE) {
            m_program.CoreObject()->Contacts().OnStoreNotification(message, CEOID(wParam), lParam);
            return 0;
        }
        return DefWindowProcW(m_window, message, wParam, lParam);
    }
}

void Watcher::OnCreate() {
    NOTIFICATIONCONDITION condition{};
    condition.ctComparisonType = REG_CT_ANYCHANGE;
    RegistryNotifyWindow(HKEY_LOCAL_MACHINE, u"System\\State\\Phone", u"Status", m_window,
                         common::CRVM_PHONESTATUS, 0, &condition, &m_statusNotification);
}

void Watcher::OnDestroy() {
    if (m_statusNotification)
        RegistryCloseNotification(m_statusNotification);
    m_statusNotification = nullptr;
    SetWindowLongPtrW(m_window, GWL_USERDATA, 0);
    m_window = nullptr;
    delete this;
}

void Watcher::OnPhoneStatus(DWORD status) {
    // FIXME: the decline rules of the sound profiles and the skinned incoming-call screen
    // join here with the incoming-call change; until then the platform's own screen
    // handles every call and the watcher only tracks whether one rings.
    m_program.SetCallInProgress((status & kIncomingCallBit) != 0);
}

void Watcher::OnSettingsChanged() {
    common::Settings& settings = m_program.CoreObject()->SharedSettings();
    common::SettingsRecord old = settings.Record();
    settings.Load();
    const common::SettingsRecord& now = settings.Record();
    if (now.sendKeyAction > 0)
        TakeSendKey();
    else
        ReleaseSendKey();
    ContactCache& contacts = m_program.CoreObject()->Contacts();
    if (old.showSimContacts != now.showSimContacts)
        contacts.OnShowSimChanged();
    if (old.displayName != now.displayName)
        contacts.OnDisplayNameChanged();
    HWND frame = m_program.Frame();
    if (!frame || !IsWindow(frame))
        return;
    WPARAM changes = 0;
    if (old.groupDays != now.groupDays)
        changes |= 1;
    if ((old.flags ^ now.flags) & common::SettingsFlag::kLetterBarVisible)
        changes |= 2;
    if (!EqualsNoCase(old.skin, now.skin))
        changes |= 4;
    PostMessageW(frame, common::CRVM_SETTINGSCHANGED, changes, 0);
}

void Watcher::TakeSendKey() {
    if (m_sendKeyTaken || !m_window)
        return;
    UnregisterFunc1(0, kSendKey);
    m_sendKeyTaken = RegisterHotKey(m_window, kSendKeyHotKeyId, MOD_KEYUP, kSendKey) != FALSE;
}

void Watcher::ReleaseSendKey() {
    if (!m_sendKeyTaken)
        return;
    UnregisterHotKey(m_window, kSendKeyHotKeyId);
    m_sendKeyTaken = false;
}

void Watcher::OnHotKey(WPARAM id, LPARAM lParam) {
    if (HIWORD(lParam) != kSendKey || (LOWORD(lParam) & MOD_KEYUP))
        return;
    if (DeviceLocked())
        return;
    HWND foreground = GetForegroundWindow();
    if (foreground == m_window) {
        PostMessageW(m_window, common::CRVM_CALLACTION, 1, 0);
        return;
    }
    DWORD processId = 0;
    if (foreground)
        GetWindowThreadProcessId(foreground, &processId);
    HWND frame = m_program.Frame();
    if (foreground && ((frame && foreground == frame) ||
                       (processId != 0 && processId == m_program.PhoneProcessId()))) {
        PostMessageW(foreground, WM_HOTKEY, id, lParam);
        return;
    }
    m_program.RequestOwnPage(StartFlag::kPhone);
}

} // namespace corvane
