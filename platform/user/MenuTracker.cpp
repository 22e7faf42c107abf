#include "user/MenuTracker.h"

#include "ce/uiview.h"

#include "ce/kernel.h"
#include "user/MenuTable.h"
#include "user/SystemLook.h"

#include <atomic>

namespace platform {

const char16_t* MenuTracker::kClassName = u"PopupMenu";

namespace {

// Set while a menu is tracked anywhere on the device.
std::atomic<bool> g_tracking{false};

bool OwnThread(HWND hwnd) { return hwnd && GetWindowThreadProcessId(hwnd, nullptr) == GetCurrentThreadId(); }

POINT StylusPoint(const MSG& msg) {
    POINT point{SHORT(LOWORD(msg.lParam)), SHORT(HIWORD(msg.lParam))};
    ClientToScreen(msg.hwnd, &point);
    return point;
}

} // namespace

MenuTracker::MenuTracker(HWND owner, UINT flags) : m_owner(owner), m_flags(flags) {
    SystemLook::RegisterSystemClass(kClassName, DefWindowProcW);
    m_font = SystemLook::MakeFont(12 * SystemLook::Scale(), FW_NORMAL);
}

MenuTracker::~MenuTracker() {
    CloseFrom(0);
    if (m_font)
        DeleteObject(m_font);
}

bool MenuTracker::Run(HMENU menu, POINT anchor, const RECT* exclude, UINT& command, bool& quit, int& quitCode) {
    command = 0;
    quit = false;
    bool expected = false;
    if (!g_tracking.compare_exchange_strong(expected, true)) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return false;
    }
    m_anchor = anchor;
    m_exclude = exclude;
    if (Open(menu, -1)) {
        // Keys reach the focus window; when that is not one of this thread's, the menu takes
        // the focus so that its keys arrive here.
        HWND focus = GetFocus();
        if (!OwnThread(focus)) {
            m_focusBefore = focus;
            SetFocus(m_levels.front()->Handle());
        }
        SetCapture(m_levels.front()->Handle());
        while (!m_done) {
            MSG msg;
            if (m_owner && !IsWindow(m_owner))
                break;
            if (GetMessageW(&msg, nullptr, 0, 0) <= 0) {
                quit = true;
                quitCode = int(msg.wParam);
                break;
            }
            if (!Intercept(msg)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
        }
        if (GetCapture() && LevelOf(GetCapture()))
            ReleaseCapture();
    }
    CloseFrom(0);
    if (m_focusBefore && IsWindow(m_focusBefore))
        SetFocus(m_focusBefore);
    g_tracking = false;
    command = m_command;
    return true;
}

bool MenuTracker::Open(HMENU menu, int parentRow) {
    if (!(m_flags & TPM_NONOTIFY) && m_owner)
        SendMessageW(m_owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu),
                     LPARAM(parentRow < 0 ? 0 : parentRow));
    std::vector<MenuItem> items;
    {
        std::lock_guard lock(MenuTable::Instance().Mutex());
        auto object = MenuTable::Instance().Find(menu);
        if (!object)
            return false;
        items = object->m_items;
    }
    if (items.empty())
        return false;
    auto level = std::make_unique<PopupMenuLevel>(menu, std::move(items));
    if (m_levels.empty()) {
        level->PlaceAt(m_font, m_anchor, m_flags, m_exclude);
    } else {
        const PopupMenuLevel& parent = *m_levels.back();
        level->PlaceBeside(m_font, parent.ScreenRect(), parent.RowOnScreen(parentRow));
    }
    if (!level->Show(kClassName, reinterpret_cast<LONG_PTR>(this)))
        return false;
    SetWindowLongPtrW(level->Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Proc));
    m_levels.push_back(std::move(level));
    return true;
}

void MenuTracker::CloseFrom(size_t level) {
    while (m_levels.size() > level)
        m_levels.pop_back(); // the level destroys its window
}

PopupMenuLevel* MenuTracker::LevelOf(HWND hwnd) {
    for (auto& level : m_levels)
        if (level->Handle() == hwnd)
            return level.get();
    return nullptr;
}

// The first ending counts: releasing the capture on the way out must not undo a choice.
void MenuTracker::Finish(UINT command) {
    if (m_done)
        return;
    m_command = command;
    m_done = true;
}

// Enter or a lifted stylus on a row: a submenu opens beside it, an enabled command ends
// the menu with that command.
void MenuTracker::Activate(size_t level, int row, bool fromKeys) {
    const MenuItem& item = m_levels[level]->Items()[size_t(row)];
    if (!item.IsEnabled())
        return;
    if (item.IsPopup()) {
        if (m_levels.size() == level + 1 && Open(item.submenu, row) && fromKeys)
            m_levels.back()->Select(m_levels.back()->NextRow(1));
        return;
    }
    Finish(UINT(item.id));
}

void MenuTracker::OnKey(UINT key) {
    PopupMenuLevel& deepest = *m_levels.back();
    switch (key) {
    case VK_UP:
    case VK_DOWN:
        deepest.Select(deepest.NextRow(key == VK_DOWN ? 1 : -1));
        break;
    case VK_RIGHT:
        if (deepest.Selected() >= 0 && deepest.Items()[size_t(deepest.Selected())].IsPopup())
            Activate(m_levels.size() - 1, deepest.Selected(), true);
        break;
    case VK_LEFT:
        if (m_levels.size() > 1)
            CloseFrom(m_levels.size() - 1);
        break;
    case VK_RETURN:
        if (deepest.Selected() >= 0)
            Activate(m_levels.size() - 1, deepest.Selected(), true);
        break;
    case VK_ESCAPE:
        if (m_levels.size() > 1)
            CloseFrom(m_levels.size() - 1);
        else
            Finish(0);
        break;
    default:
        break;
    }
}

void MenuTracker::OnStylus(UINT message, POINT screen) {
    // Deeper levels lie on top of their parents.
    int found = -1;
    for (size_t i = m_levels.size(); i-- > 0;)
        if (m_levels[i]->Contains(screen)) {
            found = int(i);
            break;
        }
    if (message == WM_LBUTTONDOWN && found < 0) {
        Finish(0); // a tap outside the menu dismisses it
        return;
    }
    if (found < 0)
        return;
    PopupMenuLevel& level = *m_levels[size_t(found)];
    int row = level.RowAt(screen);
    if (message == WM_LBUTTONDOWN) {
        m_pressedLevel = found;
        CloseFrom(size_t(found) + 1);
        level.Select(row);
        if (row >= 0 && level.Items()[size_t(row)].IsPopup())
            Activate(size_t(found), row, false);
    } else if (message == WM_MOUSEMOVE && m_pressedLevel >= 0 && size_t(found) + 1 == m_levels.size()) {
        level.Select(row);
    } else if (message == WM_LBUTTONUP && m_pressedLevel >= 0) {
        m_pressedLevel = -1;
        if (row >= 0 && !level.Items()[size_t(row)].IsPopup())
            Activate(size_t(found), row, false);
    }
}

bool MenuTracker::Intercept(const MSG& msg) {
    switch (msg.message) {
    case WM_KEYDOWN:
        OnKey(UINT(msg.wParam));
        return true;
    case WM_KEYUP:
    case WM_CHAR:
        return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
        if (LevelOf(msg.hwnd))
            OnStylus(msg.message, StylusPoint(msg));
        else if (msg.message == WM_LBUTTONDOWN)
            Finish(0); // the stylus went elsewhere: the capture was taken away
        return true;
    default:
        return false;
    }
}

LRESULT MenuTracker::Handle(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    PopupMenuLevel* level = LevelOf(hwnd);
    if (!level)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(hwnd, &paint)) {
            level->Paint(dc, m_font);
            EndPaint(hwnd, &paint);
        }
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_DIALORA_DESCRIBE:
        level->Describe(*reinterpret_cast<IUiSink*>(lParam));
        return 1;
    case WM_CAPTURECHANGED:
        if (hwnd == m_levels.front()->Handle() && !LevelOf(reinterpret_cast<HWND>(lParam)))
            Finish(0);
        return 0;
    default:
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

LRESULT CALLBACK MenuTracker::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* tracker = reinterpret_cast<MenuTracker*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!tracker)
        return DefWindowProcW(hwnd, message, wParam, lParam);
    return tracker->Handle(hwnd, message, wParam, lParam);
}

} // namespace platform

using platform::MenuTracker;

namespace {

BOOL Track(HMENU menu, UINT flags, int x, int y, HWND owner, const RECT* exclude) {
    if (!platform::MenuTable::Instance().Find(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!IsWindow(owner)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    bool quit = false;
    int quitCode = 0;
    UINT command = 0;
    {
        MenuTracker tracker(owner, flags);
        if (!tracker.Run(menu, POINT{x, y}, exclude, command, quit, quitCode))
            return FALSE;
    }
    if (quit)
        PostQuitMessage(quitCode);
    if (flags & TPM_RETURNCMD)
        return BOOL(command);
    if (command)
        PostMessageW(owner, WM_COMMAND, WPARAM(command), 0);
    return TRUE;
}

} // namespace

CE_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
    return Track(menu, flags, x, y, owner, nullptr);
}

CE_API BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params) {
    const RECT* exclude = params && params->cbSize >= sizeof(TPMPARAMS) ? &params->rcExclude : nullptr;
    return Track(menu, flags, x, y, owner, exclude);
}
