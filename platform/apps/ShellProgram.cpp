#include "apps/ShellProgram.h"
#include "shell/ShellChrome.h"

#include "ce/kernel.h"
#include "ce/user.h"
#include "ce/wingdi.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <string>

namespace platform {

namespace {

constexpr UINT_PTR kClockTimer = 1;
constexpr UINT_PTR kDateTimer = 2;
constexpr UINT kSecondsPerMinute = 60;
constexpr UINT kSecondsPerDay = 24 * 60 * 60;

// Both bars scale with the screen's density (the task bar is 26 pixels at 96 dpi).
int Scale() { return ShellProgram::TaskBarHeight() / 26; }

void VerticalGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
    TRIVERTEX vertices[2] = {
        {rect.left, rect.top, COLOR16(GetRValue(top) << 8), COLOR16(GetGValue(top) << 8),
         COLOR16(GetBValue(top) << 8), 0},
        {rect.right, rect.bottom, COLOR16(GetRValue(bottom) << 8), COLOR16(GetGValue(bottom) << 8),
         COLOR16(GetBValue(bottom) << 8), 0}};
    GRADIENT_RECT mesh{0, 1};
    GradientFill(dc, vertices, 2, &mesh, 1, GRADIENT_FILL_RECT_V);
}

HFONT MakeFont(int height, int weight) {
    LOGFONTW font{};
    font.lfHeight = -height;
    font.lfWeight = weight;
    font.lfQuality = ANTIALIASED_QUALITY;
    const char16_t face[] = u"Tahoma";
    std::copy(std::begin(face), std::end(face), font.lfFaceName);
    return CreateFontIndirectW(&font);
}

void DrawLabel(HDC dc, const std::u16string& text, RECT rect, UINT format, COLORREF color, HFONT font) {
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, color);
    DrawTextW(dc, text.c_str(), int(text.size()), &rect, format | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(dc, old);
}

std::u16string Format(const char* format, int a, int b = 0, int c = 0) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, a, b, c);
    return std::u16string(buffer, buffer + std::strlen(buffer));
}

// "Tuesday, 6 May 2025": the Today screen's date line.
std::u16string DateText(const SYSTEMTIME& now) {
    static const char* const kDays[] = {"Sunday", "Monday", "Tuesday", "Wednesday",
                                        "Thursday", "Friday", "Saturday"};
    static const char* const kMonths[] = {"January", "February", "March", "April", "May", "June", "July",
                                          "August", "September", "October", "November", "December"};
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%s, %u %s %u", kDays[now.wDayOfWeek % 7], now.wDay,
                  kMonths[(now.wMonth + 11) % 12], now.wYear);
    return std::u16string(buffer, buffer + std::strlen(buffer));
}

void PaintDesktop(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    VerticalGradient(dc, client, RGB(52, 101, 164), RGB(214, 226, 242));
    int s = Scale();
    SYSTEMTIME now;
    GetLocalTime(&now);
    RECT line{8 * s, ShellProgram::TaskBarHeight() + 8 * s, client.right - 8 * s,
              ShellProgram::TaskBarHeight() + 28 * s};
    HFONT font = MakeFont(13 * s, FW_BOLD);
    DrawLabel(dc, DateText(now), line, DT_LEFT | DT_VCENTER, RGB(255, 255, 255), font);
    DeleteObject(font);
}

// The clock as the task bar shows it ("9:05").
std::u16string ClockText() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return Format("%d:%02d", now.wHour, now.wMinute);
}

// Milliseconds from now to the next local time that is a whole multiple of `period`
// seconds since midnight (the next minute, the next midnight). A timer armed this way
// fires once per change of what it shows, so a day of device time costs few stops.
UINT MsUntilNext(UINT periodSeconds) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const UINT periodMs = periodSeconds * 1000;
    UINT intoDay = ((now.wHour * 60u + now.wMinute) * 60u + now.wSecond) * 1000u + now.wMilliseconds;
    return periodMs - intoDay % periodMs;
}

void ArmTimer(HWND window, UINT_PTR id, UINT periodSeconds) {
    SetTimer(window, id, MsUntilNext(periodSeconds), nullptr);
}

void PaintTaskBar(HWND window, HDC dc) {
    RECT client;
    GetClientRect(window, &client);
    VerticalGradient(dc, client, RGB(24, 64, 140), RGB(4, 28, 84));
    int s = Scale();
    // The start mark: a light ring at the left end.
    int size = 12 * s, left = 6 * s, top = (client.bottom - size) / 2;
    HPEN pen = CreatePen(PS_SOLID, 2 * s, RGB(200, 220, 245));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (ShellChrome::Instance().StartIconShown())
        Ellipse(dc, left, top, left + size, top + size);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(pen);
    HFONT font = MakeFont(12 * s, FW_BOLD);
    RECT clock{client.right - 60 * s, 0, client.right - 6 * s, client.bottom};
    DrawLabel(dc, ClockText(), clock, DT_RIGHT | DT_VCENTER, RGB(255, 255, 255), font);
    DeleteObject(font);
}

template <void (*Painter)(HWND, HDC)> void OnPaint(HWND window) {
    PAINTSTRUCT paint;
    if (HDC dc = BeginPaint(window, &paint)) {
        Painter(window, dc);
        EndPaint(window, &paint);
    }
}

LRESULT CALLBACK DesktopProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        ArmTimer(window, kDateTimer, kSecondsPerDay);
        return 0;
    case WM_TIMER:
    case WM_TIMECHANGE:
        if (message == WM_TIMECHANGE || wParam == kDateTimer) {
            ArmTimer(window, kDateTimer, kSecondsPerDay);
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1; // the gradient covers everything
    case WM_PAINT:
        OnPaint<PaintDesktop>(window);
        return 0;
    case WM_SETTINGCHANGE:
    case WM_DISPLAYCHANGE:
        // The screen was turned: the desktop covers the new screen.
        SetWindowPos(window, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                     GetSystemMetrics(SM_CYSCREEN), SWP_NOZORDER | SWP_NOACTIVATE);
        if (HWND taskBar = FindWindowW(u"HHTaskBar", nullptr))
            SetWindowPos(taskBar, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN),
                         ShellProgram::TaskBarHeight(), SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    case WM_DESTROY:
        KillTimer(window, kDateTimer);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

// The clock's timer fires at every change of minute and repaints only when the minute it
// shows changed; a change of the device time re-arms it.
LRESULT CALLBACK TaskBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    static thread_local std::u16string shown;
    switch (message) {
    case WM_CREATE:
        ArmTimer(window, kClockTimer, kSecondsPerMinute);
        return 0;
    case WM_TIMER:
    case WM_TIMECHANGE:
        if (message == WM_TIMECHANGE || wParam == kClockTimer) {
            ArmTimer(window, kClockTimer, kSecondsPerMinute);
            if (ClockText() != shown)
                InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        shown = ClockText();
        OnPaint<PaintTaskBar>(window);
        return 0;
    case WM_DESTROY:
        KillTimer(window, kClockTimer);
        return 0;
    default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
}

bool Register(HINSTANCE instance, const WCHAR* name, WNDPROC procedure) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0;
}

} // namespace

int ShellProgram::TaskBarHeight() {
    // 26 pixels on a 96-dpi screen; screens with a long side of 640 or more are 192 dpi.
    int longSide = GetSystemMetrics(SM_CXSCREEN) > GetSystemMetrics(SM_CYSCREEN)
                       ? GetSystemMetrics(SM_CXSCREEN)
                       : GetSystemMetrics(SM_CYSCREEN);
    return longSide >= 640 ? 52 : 26;
}

int ShellProgram::Main(HINSTANCE instance, const WCHAR*) {
    if (!Register(instance, u"DesktopExplorerWindow", DesktopProc) ||
        !Register(instance, u"HHTaskBar", TaskBarProc))
        return 1;
    int width = GetSystemMetrics(SM_CXSCREEN);
    HWND desktop = CreateWindowExW(0, u"DesktopExplorerWindow", u"Desktop", WS_POPUP | WS_VISIBLE,
                                   0, 0, width, GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                   instance, nullptr);
    HWND taskBar = CreateWindowExW(WS_EX_TOPMOST, u"HHTaskBar", u"", WS_POPUP | WS_VISIBLE, 0, 0,
                                   width, TaskBarHeight(), nullptr, nullptr, instance, nullptr);
    if (!desktop || !taskBar)
        return 1;
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    DestroyWindow(taskBar);
    DestroyWindow(desktop);
    return static_cast<int>(message.wParam);
}

} // namespace platform
