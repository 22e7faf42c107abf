#include "shell/MenuBar.h"

#include "ce/aygshell.h"
#include "ce/kernel.h"
#include "ce/resource.h"
#include "ce/sipapi.h"
#include "ce/uiview.h"
#include "ce/user.h"
#include "ce/wingdi.h"
#include "shell/ShellChrome.h"
#include "user/SystemLook.h"
#include "user/UserPrivate.h"

#include <memory>
#include <mutex>
#include <unordered_map>
#include <string>

namespace platform {

namespace {

constexpr int kSipButtonWidth = 32;

// One bar's labels and owner; made by SHCreateMenuBar, freed at WM_NCDESTROY or, for a bar
// still open when the device shuts down, by MenuBar::ForgetAll.
struct BarState {
    HWND owner = nullptr;
    std::u16string left, right;
    UINT leftCommand = 0, rightCommand = 0;
    bool sipButton = true;
};

std::mutex g_barsLock;
std::unordered_map<HWND, std::unique_ptr<BarState>> g_bars;

BarState* StateOf(HWND bar) {
    std::lock_guard lock(g_barsLock);
    auto found = g_bars.find(bar);
    return found == g_bars.end() ? nullptr : found->second.get();
}

void ForgetState(HWND bar) {
    std::lock_guard lock(g_barsLock);
    g_bars.erase(bar);
}

void DrawKey(HDC dc, const std::u16string& label, RECT rect, UINT align) {
    if (label.empty())
        return;
    int s = SystemLook::Scale();
    rect.left += 6 * s;
    rect.right -= 6 * s;
    DrawTextW(dc, label.c_str(), int(label.size()), &rect, align | DT_VCENTER | DT_SINGLELINE);
}

void Paint(HWND bar, HDC dc) {
    RECT client;
    GetClientRect(bar, &client);
    int s = SystemLook::Scale();
    SystemLook::Fill(dc, client, RGB(16, 40, 96));
    const BarState* state = StateOf(bar);
    if (!state)
        return;
    HFONT font = SystemLook::MakeFont(12 * s, FW_BOLD);
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    DrawKey(dc, state->left, MenuBar::PartRect(MenuBar::Part::kLeftKey, client.right, client.bottom, s), DT_LEFT);
    DrawKey(dc, state->right, MenuBar::PartRect(MenuBar::Part::kRightKey, client.right, client.bottom, s), DT_RIGHT);
    if (state->sipButton && ShellChrome::Instance().SipButtonShown()) {
        RECT button = MenuBar::PartRect(MenuBar::Part::kSipButton, client.right, client.bottom, s);
        InflateRect(&button, -3 * s, -4 * s);
        SystemLook::Fill(dc, button, RGB(200, 220, 245));
        SystemLook::Frame(dc, button);
        SetTextColor(dc, RGB(16, 40, 96));
        DrawTextW(dc, u"\u2328", 1, &button, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

void Tap(HWND bar, POINT point) {
    const BarState* state = StateOf(bar);
    RECT client;
    GetClientRect(bar, &client);
    switch (MenuBar::PartAt(point, client.right, client.bottom, SystemLook::Scale())) {
    case MenuBar::Part::kLeftKey:
        if (state->leftCommand)
            PostMessageW(state->owner, WM_COMMAND, state->leftCommand, 0);
        break;
    case MenuBar::Part::kRightKey:
        if (state->rightCommand)
            PostMessageW(state->owner, WM_COMMAND, state->rightCommand, 0);
        break;
    case MenuBar::Part::kSipButton:
        if (state->sipButton && ShellChrome::Instance().SipButtonShown()) {
            SIPINFO info{};
            info.cbSize = sizeof(info);
            SipGetInfo(&info);
            SipShowIM((info.fdwFlags & SIPF_ON) ? SIPF_OFF : SIPF_ON);
        }
        break;
    case MenuBar::Part::kNone:
        break;
    }
}

// For the console's `ui`: the bar and its soft keys, numbered by their commands.
LRESULT Describe(HWND bar, IUiSink& sink) {
    const BarState* state = StateOf(bar);
    RECT window{};
    GetWindowRect(bar, &window);
    sink.Item(0, UI_ITEM{0, "menubar", window, 0, nullptr});
    if (!state)
        return 1;
    int scale = SystemLook::Scale();
    auto key = [&](MenuBar::Part part, UINT command, const std::u16string& label) {
        if (label.empty())
            return;
        RECT rect = MenuBar::PartRect(part, window.right - window.left, window.bottom - window.top, scale);
        OffsetRect(&rect, window.left, window.top);
        sink.Item(1, UI_ITEM{int(command), "button", rect, 0, label.c_str()});
    };
    key(MenuBar::Part::kLeftKey, state->leftCommand, state->left);
    key(MenuBar::Part::kRightKey, state->rightCommand, state->right);
    return 1;
}

// SHCMBM_OVERRIDEKEY: lParam's low word is the mask of SHMBOF_* bits to change, its high
// word their new values.
LRESULT OverrideKey(HWND bar, WPARAM key, LPARAM lParam) {
    UINT mask = LOWORD(lParam), values = HIWORD(lParam);
    auto lock = LockUser();
    MenuBarKeys* keys = Wm().m_input.FindMenuBar(bar);
    if (!keys || key == 0 || key > 0xFF)
        return FALSE;
    UINT flags = 0;
    for (auto& [overridden, current] : keys->overrides)
        if (overridden == key)
            flags = current;
    flags = (flags & ~mask) | (values & mask);
    std::erase_if(keys->overrides, [&](const auto& entry) { return entry.first == key; });
    if (flags)
        keys->overrides.emplace_back(UINT(key), flags);
    return TRUE;
}

LRESULT CALLBACK BarProc(HWND bar, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case SHCMBM_OVERRIDEKEY:
        return OverrideKey(bar, wParam, lParam);
    case WM_DIALORA_DESCRIBE:
        return Describe(bar, *reinterpret_cast<IUiSink*>(lParam));
    case WM_LBUTTONUP:
        Tap(bar, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT: {
        PAINTSTRUCT paint;
        if (HDC dc = BeginPaint(bar, &paint)) {
            Paint(bar, dc);
            EndPaint(bar, &paint);
        }
        return 0;
    }
    case WM_NCDESTROY:
        ForgetState(bar);
        return DefWindowProcW(bar, message, wParam, lParam);
    default:
        return DefWindowProcW(bar, message, wParam, lParam);
    }
}

std::u16string Label(HINSTANCE instance, UINT id) {
    WCHAR text[64] = {};
    return LoadStringW(instance, id, text, 64) > 0 ? std::u16string(text) : std::u16string();
}

} // namespace

RECT MenuBar::PartRect(Part part, int width, int height, int scale) {
    int sip = kSipButtonWidth * scale;
    int sipLeft = (width - sip) / 2;
    switch (part) {
    case Part::kLeftKey:
        return RECT{0, 0, sipLeft, height};
    case Part::kSipButton:
        return RECT{sipLeft, 0, sipLeft + sip, height};
    case Part::kRightKey:
        return RECT{sipLeft + sip, 0, width, height};
    case Part::kNone:
        break;
    }
    return RECT{};
}

void MenuBar::ForgetAll() {
    std::lock_guard lock(g_barsLock);
    g_bars.clear();
}

MenuBar::Part MenuBar::PartAt(POINT point, int width, int height, int scale) {
    for (Part part : {Part::kLeftKey, Part::kSipButton, Part::kRightKey}) {
        RECT rect = PartRect(part, width, height, scale);
        if (point.x >= rect.left && point.x < rect.right && point.y >= rect.top && point.y < rect.bottom)
            return part;
    }
    return Part::kNone;
}

} // namespace platform

using namespace platform;

CE_API BOOL SHCreateMenuBar(SHMENUBARINFO* info) {
    if (!info || info->cbSize != sizeof(SHMENUBARINFO) || !IsWindow(info->hwndParent)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    auto state = std::make_unique<BarState>();
    state->owner = info->hwndParent;
    state->sipButton = !(info->dwFlags & SHCMBF_HIDESIPBUTTON);
    if (!(info->dwFlags & SHCMBF_EMPTYBAR)) {
        state->left = Label(info->hInstRes, info->nToolBarId);
        state->right = Label(info->hInstRes, info->nToolBarId + 1);
        if (state->left.empty() && state->right.empty()) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return FALSE;
        }
        state->leftCommand = state->left.empty() ? 0 : info->nToolBarId;
        state->rightCommand = state->right.empty() ? 0 : info->nToolBarId + 1;
    }
    if (!SystemLook::RegisterSystemClass(MenuBar::kClassName, BarProc)) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    int height = MenuBar::kHeight * SystemLook::Scale();
    int width = GetSystemMetrics(SM_CXSCREEN), top = GetSystemMetrics(SM_CYSCREEN) - height;
    DWORD style = WS_POPUP | ((info->dwFlags & SHCMBF_HIDDEN) ? 0 : WS_VISIBLE);
    HWND bar = CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, MenuBar::kClassName, u"", style, 0, top, width,
                               height, info->hwndParent, nullptr, nullptr, nullptr);
    if (!bar)
        return FALSE;
    MenuBarKeys keys{info->hwndParent, bar, state->leftCommand, state->rightCommand, {}};
    {
        std::lock_guard lock(g_barsLock);
        g_bars[bar] = std::move(state);
    }
    InvalidateRect(bar, nullptr, FALSE);
    {
        auto lock = LockUser();
        Wm().m_input.SetMenuBarKeys(keys);
    }
    info->hwndMB = bar;
    return TRUE;
}
