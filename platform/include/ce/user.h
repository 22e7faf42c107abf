// The window manager of the device: window classes, windows, z-order, activation and
// focus, message queues, timers, hot keys, keyboard input, system metrics, beeps and
// cursors. Names, values and semantics are those of the device's user interface API.
// Window DCs and painting (GetDC, BeginPaint, ...) are declared here, as on the device;
// the drawing itself is the GDI's (ce/wingdi.h).
#pragma once

#include "ce/types.h"
#include "ce/winerror.h"

#ifndef ERROR_INVALID_INDEX
#define ERROR_INVALID_INDEX 1413L
#endif
#ifndef ERROR_NOT_ENOUGH_QUOTA
#define ERROR_NOT_ENOUGH_QUOTA 1816L
#endif
#ifndef ERROR_WINDOW_OF_OTHER_THREAD
#define ERROR_WINDOW_OF_OTHER_THREAD 1408L
#endif
#ifndef ERROR_INVALID_MESSAGE
#define ERROR_INVALID_MESSAGE 1002L
#endif

typedef LRESULT(CALLBACK* WNDPROC)(HWND, UINT, WPARAM, LPARAM);
typedef void(CALLBACK* TIMERPROC)(HWND, UINT, UINT_PTR, DWORD);
typedef BOOL(CALLBACK* WNDENUMPROC)(HWND, LPARAM);

struct MSG {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    DWORD time;
    POINT pt;
};
typedef MSG* LPMSG;
typedef MSG* PMSG;

struct WNDCLASSW {
    UINT style;
    WNDPROC lpfnWndProc;
    int cbClsExtra;
    int cbWndExtra;
    HINSTANCE hInstance;
    HICON hIcon;
    HCURSOR hCursor;
    HBRUSH hbrBackground;
    LPCWSTR lpszMenuName;
    LPCWSTR lpszClassName;
};
typedef WNDCLASSW* LPWNDCLASSW;

struct CREATESTRUCTW {
    LPVOID lpCreateParams;
    HINSTANCE hInstance;
    HMENU hMenu;
    HWND hwndParent;
    int cy;
    int cx;
    int y;
    int x;
    LONG style;
    LPCWSTR lpszName;
    LPCWSTR lpszClass;
    DWORD dwExStyle;
};
typedef CREATESTRUCTW* LPCREATESTRUCTW;

struct WINDOWPOS {
    HWND hwnd;
    HWND hwndInsertAfter;
    int x;
    int y;
    int cx;
    int cy;
    UINT flags;
};
typedef WINDOWPOS* LPWINDOWPOS;

// ---- messages ----
#define WM_NULL 0x0000
#define WM_CREATE 0x0001
#define WM_DESTROY 0x0002
#define WM_MOVE 0x0003
#define WM_SIZE 0x0005
#define WM_ACTIVATE 0x0006
#define WM_SETFOCUS 0x0007
#define WM_KILLFOCUS 0x0008
#define WM_ENABLE 0x000A
#define WM_SETREDRAW 0x000B
#define WM_SETTEXT 0x000C
#define WM_GETTEXT 0x000D
#define WM_GETTEXTLENGTH 0x000E
#define WM_PAINT 0x000F
#define WM_CLOSE 0x0010
#define WM_QUIT 0x0012
#define WM_ERASEBKGND 0x0014
#define WM_SYSCOLORCHANGE 0x0015
#define WM_SHOWWINDOW 0x0018
#define WM_SETTINGCHANGE 0x001A
#define WM_TIMECHANGE 0x001E
#define WM_DISPLAYCHANGE 0x007E
#define WM_WININICHANGE WM_SETTINGCHANGE
#define WM_FONTCHANGE 0x001D
#define WM_CANCELMODE 0x001F
#define WM_SETCURSOR 0x0020
#define WM_MOUSEACTIVATE 0x0021
#define WM_DRAWITEM 0x002B
#define WM_GETMINMAXINFO 0x0024
#define WM_MEASUREITEM 0x002C
#define WM_DELETEITEM 0x002D
#define WM_SETFONT 0x0030
#define WM_GETFONT 0x0031
#define WM_COMPAREITEM 0x0039
#define WM_WINDOWPOSCHANGING 0x0046
#define WM_WINDOWPOSCHANGED 0x0047
#define WM_COPYDATA 0x004A
#define WM_NOTIFY 0x004E
#define WM_HELP 0x0053
#define WM_STYLECHANGING 0x007C
#define WM_STYLECHANGED 0x007D
#define WM_NCCREATE 0x0081
#define WM_NCDESTROY 0x0082
#define WM_NCCALCSIZE 0x0083
#define WM_NCACTIVATE 0x0086
#define WM_GETDLGCODE 0x0087
#define WM_KEYFIRST 0x0100
#define WM_KEYDOWN 0x0100
#define WM_KEYUP 0x0101
#define WM_CHAR 0x0102
#define WM_DEADCHAR 0x0103
#define WM_SYSKEYDOWN 0x0104
#define WM_SYSKEYUP 0x0105
#define WM_SYSCHAR 0x0106
#define WM_KEYLAST 0x0108
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111
#define WM_SYSCOMMAND 0x0112
#define WM_TIMER 0x0113
#define WM_HSCROLL 0x0114
#define WM_VSCROLL 0x0115
#define WM_INITMENUPOPUP 0x0117
#define WM_CTLCOLORMSGBOX 0x0132
#define WM_CTLCOLOREDIT 0x0133
#define WM_CTLCOLORLISTBOX 0x0134
#define WM_CTLCOLORBTN 0x0135
#define WM_CTLCOLORDLG 0x0136
#define WM_CTLCOLORSCROLLBAR 0x0137
#define WM_CTLCOLORSTATIC 0x0138
#define WM_MOUSEFIRST 0x0200
#define WM_MOUSEMOVE 0x0200
#define WM_LBUTTONDOWN 0x0201
#define WM_LBUTTONUP 0x0202
#define WM_LBUTTONDBLCLK 0x0203
#define WM_RBUTTONDOWN 0x0204
#define WM_RBUTTONUP 0x0205
#define WM_MOUSELAST 0x0209
#define WM_CAPTURECHANGED 0x0215
#define WM_HOTKEY 0x0312
#define WM_HIBERNATE 0x03FF
#define WM_USER 0x0400
#define WM_APP 0x8000

#define WA_INACTIVE 0
#define WA_ACTIVE 1
#define WA_CLICKACTIVE 2
#define SIZE_RESTORED 0
#define SIZE_MINIMIZED 1
#define SIZE_MAXIMIZED 2

// Button and window identifiers of WM_COMMAND.
#define IDOK 1
#define IDCANCEL 2
#define IDABORT 3
#define IDRETRY 4
#define IDIGNORE 5
#define IDYES 6
#define IDNO 7

// ---- class and window styles ----
#define CS_VREDRAW 0x0001
#define CS_HREDRAW 0x0002
#define CS_DBLCLKS 0x0008
#define CS_PARENTDC 0x0080
#define CS_NOCLOSE 0x0200
#define CS_GLOBALCLASS 0x4000

#define WS_OVERLAPPED 0x00000000L
#define WS_POPUP 0x80000000L
#define WS_CHILD 0x40000000L
#define WS_VISIBLE 0x10000000L
#define WS_DISABLED 0x08000000L
#define WS_CLIPSIBLINGS 0x04000000L
#define WS_CLIPCHILDREN 0x02000000L
#define WS_CAPTION 0x00C00000L
#define WS_BORDER 0x00800000L
#define WS_DLGFRAME 0x00400000L
#define WS_VSCROLL 0x00200000L
#define WS_HSCROLL 0x00100000L
#define WS_SYSMENU 0x00080000L
#define WS_THICKFRAME 0x00040000L
#define WS_GROUP 0x00020000L
#define WS_TABSTOP 0x00010000L
#define WS_MINIMIZEBOX 0x00020000L
#define WS_MAXIMIZEBOX 0x00010000L

#define WS_EX_DLGMODALFRAME 0x00000001L
#define WS_EX_NOPARENTNOTIFY 0x00000004L
#define WS_EX_TOPMOST 0x00000008L
#define WS_EX_TRANSPARENT 0x00000020L
#define WS_EX_TOOLWINDOW 0x00000080L
#define WS_EX_WINDOWEDGE 0x00000100L
#define WS_EX_CLIENTEDGE 0x00000200L
#define WS_EX_CONTEXTHELP 0x00000400L
#define WS_EX_RIGHT 0x00001000L
#define WS_EX_RTLREADING 0x00002000L
#define WS_EX_LEFTSCROLLBAR 0x00004000L
#define WS_EX_STATICEDGE 0x00020000L
#define WS_EX_NOANIMATION 0x04000000L
#define WS_EX_NOACTIVATE 0x08000000L
#define WS_EX_INK 0x10000000L
#define WS_EX_ABOVESTARTUP 0x20000000L
#define WS_EX_NODRAG 0x40000000L
#define WS_EX_CAPTIONOKBTN 0x80000000L

#define CW_USEDEFAULT ((int)0x80000000)

// ---- window positions ----
#define HWND_TOP ((HWND)0)
#define HWND_BOTTOM ((HWND)1)
#define HWND_TOPMOST ((HWND)(LONG_PTR)-1)
#define HWND_NOTOPMOST ((HWND)(LONG_PTR)-2)
#define HWND_BROADCAST ((HWND)0xFFFF)

#define SWP_NOSIZE 0x0001
#define SWP_NOMOVE 0x0002
#define SWP_NOZORDER 0x0004
#define SWP_NOREDRAW 0x0008
#define SWP_NOACTIVATE 0x0010
#define SWP_FRAMECHANGED 0x0020
#define SWP_SHOWWINDOW 0x0040
#define SWP_HIDEWINDOW 0x0080
#define SWP_NOCOPYBITS 0x0100
#define SWP_NOOWNERZORDER 0x0200
#define SWP_NOSENDCHANGING 0x0400
#define SWP_DRAWFRAME SWP_FRAMECHANGED
#define SWP_NOREPOSITION SWP_NOOWNERZORDER
#define SWP_DEFERERASE 0x2000
#define SWP_ASYNCWINDOWPOS 0x4000

#define SW_HIDE 0
#define SW_SHOWNORMAL 1
#define SW_NORMAL 1
#define SW_SHOWMINIMIZED 2
#define SW_SHOWMAXIMIZED 3
#define SW_MAXIMIZE 3
#define SW_SHOWNOACTIVATE 4
#define SW_SHOW 5
#define SW_MINIMIZE 6
#define SW_SHOWMINNOACTIVE 7
#define SW_SHOWNA 8
#define SW_RESTORE 9
#define SW_SHOWDEFAULT 10

#define GW_HWNDFIRST 0
#define GW_HWNDLAST 1
#define GW_HWNDNEXT 2
#define GW_HWNDPREV 3
#define GW_OWNER 4
#define GW_CHILD 5

// Window data. Indices that hold a pointer must go through Get/SetWindowLongPtrW; the
// 32-bit variants refuse them (ERROR_INVALID_INDEX) rather than cut a pointer in half.
#define GWL_WNDPROC (-4)
#define GWL_HINSTANCE (-6)
#define GWL_HWNDPARENT (-8)
#define GWL_ID (-12)
#define GWL_STYLE (-16)
#define GWL_EXSTYLE (-20)
#define GWL_USERDATA (-21)
#define GWLP_WNDPROC GWL_WNDPROC
#define GWLP_HINSTANCE GWL_HINSTANCE
#define GWLP_HWNDPARENT GWL_HWNDPARENT
#define GWLP_ID GWL_ID
#define GWLP_USERDATA GWL_USERDATA

// ---- queue ----
#define PM_NOREMOVE 0x0000
#define PM_REMOVE 0x0001
#define PM_NOYIELD 0x0002

// ---- keys ----
#define VK_LBUTTON 0x01
#define VK_RBUTTON 0x02
#define VK_CANCEL 0x03
#define VK_BACK 0x08
#define VK_TAB 0x09
#define VK_CLEAR 0x0C
#define VK_RETURN 0x0D
#define VK_SHIFT 0x10
#define VK_CONTROL 0x11
#define VK_MENU 0x12
#define VK_PAUSE 0x13
#define VK_CAPITAL 0x14
#define VK_ESCAPE 0x1B
#define VK_SPACE 0x20
#define VK_PRIOR 0x21
#define VK_NEXT 0x22
#define VK_END 0x23
#define VK_HOME 0x24
#define VK_LEFT 0x25
#define VK_UP 0x26
#define VK_RIGHT 0x27
#define VK_DOWN 0x28
#define VK_SELECT 0x29
#define VK_SNAPSHOT 0x2C
#define VK_INSERT 0x2D
#define VK_DELETE 0x2E
#define VK_HELP 0x2F
#define VK_LWIN 0x5B
#define VK_RWIN 0x5C
#define VK_APPS 0x5D
#define VK_NUMPAD0 0x60
#define VK_NUMPAD9 0x69
#define VK_MULTIPLY 0x6A
#define VK_ADD 0x6B
#define VK_SEPARATOR 0x6C
#define VK_SUBTRACT 0x6D
#define VK_DECIMAL 0x6E
#define VK_DIVIDE 0x6F
#define VK_F1 0x70
#define VK_F2 0x71
#define VK_F3 0x72
#define VK_F4 0x73
#define VK_F5 0x74
#define VK_F6 0x75
#define VK_F7 0x76
#define VK_F8 0x77
#define VK_F9 0x78
#define VK_F10 0x79
#define VK_F11 0x7A
#define VK_F12 0x7B
#define VK_F16 0x7F
#define VK_F17 0x80
#define VK_F18 0x81
#define VK_F23 0x86
#define VK_F24 0x87
#define VK_NUMLOCK 0x90
#define VK_SCROLL 0x91
#define VK_LSHIFT 0xA0
#define VK_RSHIFT 0xA1
#define VK_LCONTROL 0xA2
#define VK_RCONTROL 0xA3
#define VK_LMENU 0xA4
#define VK_RMENU 0xA5
#define VK_SEMICOLON 0xBA
#define VK_EQUAL 0xBB
#define VK_COMMA 0xBC
#define VK_HYPHEN 0xBD
#define VK_PERIOD 0xBE
#define VK_SLASH 0xBF
#define VK_BACKQUOTE 0xC0
#define VK_LBRACKET 0xDB
#define VK_BACKSLASH 0xDC
#define VK_RBRACKET 0xDD
#define VK_APOSTROPHE 0xDE
// The phone's hardware keys.
#define VK_ACTION VK_F23
#define VK_TSOFT1 VK_F1
#define VK_TSOFT2 VK_F2
#define VK_TTALK VK_F3
#define VK_TEND VK_F4
#define VK_THOME VK_LWIN
#define VK_TBACK VK_ESCAPE
#define VK_TACTION VK_RETURN
#define VK_TRECORD VK_F10
#define VK_TVOLUMEUP VK_F6
#define VK_TVOLUMEDOWN VK_F7
#define VK_TSTAR VK_F8
#define VK_TPOUND VK_F9
#define VK_TSPEAKERPHONE VK_F16
#define VK_TFLIP VK_F17
#define VK_TPOWER VK_F18
#define VK_TUP VK_UP
#define VK_TDOWN VK_DOWN
#define VK_TLEFT VK_LEFT
#define VK_TRIGHT VK_RIGHT

#define MOD_ALT 0x0001
#define MOD_CONTROL 0x0002
#define MOD_SHIFT 0x0004
#define MOD_WIN 0x0008
#define MOD_KEYUP 0x1000

#define KEYEVENTF_EXTENDEDKEY 0x0001
#define KEYEVENTF_KEYUP 0x0002
#define KEYEVENTF_SILENT 0x0004

// ---- system metrics ----
#define SM_CXSCREEN 0
#define SM_CYSCREEN 1
#define SM_CXVSCROLL 2
#define SM_CYHSCROLL 3
#define SM_CYCAPTION 4
#define SM_CXBORDER 5
#define SM_CYBORDER 6
#define SM_CXDLGFRAME 7
#define SM_CYDLGFRAME 8
#define SM_CYVTHUMB 9
#define SM_CXHTHUMB 10
#define SM_CXICON 11
#define SM_CYICON 12
#define SM_CXCURSOR 13
#define SM_CYCURSOR 14
#define SM_CYMENU 15
#define SM_CXFULLSCREEN 16
#define SM_CYFULLSCREEN 17
#define SM_CYVSCROLL 20
#define SM_CXHSCROLL 21
#define SM_DEBUG 22
#define SM_CXDOUBLECLK 36
#define SM_CYDOUBLECLK 37
#define SM_CXICONSPACING 38
#define SM_CYICONSPACING 39
#define SM_CXEDGE 45
#define SM_CYEDGE 46
#define SM_CXSMICON 49
#define SM_CYSMICON 50
#define SM_CXFIXEDFRAME SM_CXDLGFRAME
#define SM_CYFIXEDFRAME SM_CYDLGFRAME
#define SM_MOUSEPRESENT 19
#define SM_XVIRTUALSCREEN 76
#define SM_YVIRTUALSCREEN 77
#define SM_CXVIRTUALSCREEN 78
#define SM_CYVIRTUALSCREEN 79
#define SM_CMONITORS 80

// ---- beeps and message box types ----
#define MB_OK 0x00000000L
#define MB_OKCANCEL 0x00000001L
#define MB_ABORTRETRYIGNORE 0x00000002L
#define MB_YESNOCANCEL 0x00000003L
#define MB_YESNO 0x00000004L
#define MB_RETRYCANCEL 0x00000005L
#define MB_ICONHAND 0x00000010L
#define MB_ICONQUESTION 0x00000020L
#define MB_ICONEXCLAMATION 0x00000030L
#define MB_ICONASTERISK 0x00000040L
#define MB_ICONWARNING MB_ICONEXCLAMATION
#define MB_ICONERROR MB_ICONHAND
#define MB_ICONSTOP MB_ICONHAND
#define MB_ICONINFORMATION MB_ICONASTERISK
#define MB_DEFBUTTON1 0x00000000L
#define MB_DEFBUTTON2 0x00000100L
#define MB_DEFBUTTON3 0x00000200L
#define MB_TYPEMASK 0x0000000FL
#define MB_ICONMASK 0x000000F0L
#define MB_DEFMASK 0x00000F00L
#define MB_APPLMODAL 0x00000000L
#define MB_SETFOREGROUND 0x00010000L
#define MB_TOPMOST 0x00040000L

// Mouse key state of the stylus messages' wParam.
#define MK_LBUTTON 0x0001

// WM_SETTINGCHANGE wParam after the screen was turned or resized.
#define SETTINGCHANGE_RESET 0x3002

// ---- cursors ----
#define IDC_ARROW MAKEINTRESOURCEW(32512)
#define IDC_IBEAM MAKEINTRESOURCEW(32513)
#define IDC_WAIT MAKEINTRESOURCEW(32514)
#define IDC_CROSS MAKEINTRESOURCEW(32515)
#define IDC_UPARROW MAKEINTRESOURCEW(32516)
#define IDC_NO MAKEINTRESOURCEW(32648)
#define IDC_HAND MAKEINTRESOURCEW(32649)
#define IDC_APPSTARTING MAKEINTRESOURCEW(32650)

// ---- classes ----
CE_API ATOM RegisterClassW(const WNDCLASSW* wndClass);
CE_API BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
CE_API BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, LPWNDCLASSW wndClass);
CE_API int GetClassNameW(HWND hwnd, LPWSTR className, int maxCount);

// ---- windows ----
CE_API HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style,
                            int x, int y, int width, int height, HWND parent, HMENU menu,
                            HINSTANCE instance, LPVOID param);
#define CreateWindowW(c, n, s, x, y, w, h, p, m, i, a)                                            \
    CreateWindowExW(0, c, n, s, x, y, w, h, p, m, i, a)
CE_API BOOL DestroyWindow(HWND hwnd);
CE_API BOOL IsWindow(HWND hwnd);
CE_API BOOL IsWindowVisible(HWND hwnd);
CE_API BOOL IsWindowEnabled(HWND hwnd);
CE_API BOOL IsChild(HWND parent, HWND hwnd);
CE_API BOOL EnableWindow(HWND hwnd, BOOL enable);
CE_API BOOL ShowWindow(HWND hwnd, int command);
CE_API BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int cx, int cy, UINT flags);
CE_API BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
CE_API BOOL BringWindowToTop(HWND hwnd);
CE_API BOOL GetWindowRect(HWND hwnd, LPRECT rect);
CE_API BOOL GetClientRect(HWND hwnd, LPRECT rect);
CE_API BOOL ScreenToClient(HWND hwnd, LPPOINT point);
CE_API BOOL ClientToScreen(HWND hwnd, LPPOINT point);
CE_API LONG GetWindowLongW(HWND hwnd, int index);
CE_API LONG SetWindowLongW(HWND hwnd, int index, LONG value);
CE_API LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
CE_API LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
CE_API LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT message, WPARAM wParam,
                               LPARAM lParam);
CE_API DWORD GetWindowThreadProcessId(HWND hwnd, LPDWORD processId);
CE_API HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
CE_API BOOL EnumWindows(WNDENUMPROC proc, LPARAM lParam);
CE_API BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam);
CE_API HWND GetWindow(HWND hwnd, UINT relation);
CE_API HWND GetParent(HWND hwnd);
CE_API HWND SetParent(HWND child, HWND newParent);
CE_API HWND WindowFromPoint(POINT point);
// The child of `parent` (hidden and disabled ones included) that holds `point`, given in
// the parent's client coordinates; `parent` itself when no child does, NULL outside it.
CE_API HWND ChildWindowFromPoint(HWND parent, POINT point);
CE_API BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
CE_API int GetWindowTextW(HWND hwnd, LPWSTR text, int maxCount);
CE_API int GetWindowTextLengthW(HWND hwnd);
CE_API int GetDlgCtrlID(HWND hwnd);
CE_API HWND GetDlgItem(HWND dialog, int id);
CE_API LRESULT DefWindowProcW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// ---- activation and focus ----
// A handle with its lowest bit set activates the last active pop-up of that window.
CE_API BOOL SetForegroundWindow(HWND hwnd);
CE_API HWND GetForegroundWindow();
CE_API HWND SetActiveWindow(HWND hwnd);
CE_API HWND GetActiveWindow();
CE_API HWND SetFocus(HWND hwnd);
CE_API HWND GetFocus();
CE_API HWND SetCapture(HWND hwnd);
CE_API BOOL ReleaseCapture();
CE_API HWND GetCapture();

// ---- messages ----
CE_API BOOL PostMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
CE_API BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
CE_API LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
CE_API BOOL SendNotifyMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Returns -1 on an invalid window filter, 0 for WM_QUIT.
CE_API BOOL GetMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax);
// hwnd (HWND)-1 retrieves only thread messages.
CE_API BOOL PeekMessageW(LPMSG msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
CE_API BOOL TranslateMessage(const MSG* msg);
CE_API LRESULT DispatchMessageW(const MSG* msg);
CE_API void PostQuitMessage(int exitCode);
CE_API BOOL WaitMessage();
CE_API DWORD GetMessagePos();
CE_API LONG GetMessageTime();

// ---- timers ----
CE_API UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC timerProc);
CE_API BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- painting ----
struct PAINTSTRUCT {
    HDC hdc;
    BOOL fErase; // TRUE when WM_ERASEBKGND left the background to the window
    RECT rcPaint;
    BOOL fRestore;
    BOOL fIncUpdate;
    BYTE rgbReserved[32];
};
typedef PAINTSTRUCT* LPPAINTSTRUCT;

// A DC on the window's part of its top-level window's surface, clipped by its parent, the
// siblings above it and its visible children. GetDC(NULL) draws on the screen buffer,
// which the next composition overwrites. Windows have no non-client area, so
// GetWindowDC equals GetDC.
CE_API HDC GetDC(HWND hwnd);
CE_API HDC GetWindowDC(HWND hwnd);
// 1 when released; 0 for a memory DC or a stale handle.
CE_API int ReleaseDC(HWND hwnd, HDC dc);
// Validates the update area, sends WM_ERASEBKGND when the area asked for erasing and
// returns a DC clipped to the area.
CE_API HDC BeginPaint(HWND hwnd, LPPAINTSTRUCT paint);
CE_API BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);

CE_API BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
CE_API BOOL ValidateRect(HWND hwnd, const RECT* rect);
CE_API BOOL GetUpdateRect(HWND hwnd, LPRECT rect, BOOL erase);
CE_API BOOL UpdateWindow(HWND hwnd);

// ---- keyboard ----
CE_API BOOL RegisterHotKey(HWND hwnd, int id, UINT modifiers, UINT virtualKey);
CE_API BOOL UnregisterHotKey(HWND hwnd, int id);
// Frees a key combination that another party (usually the shell) holds as a hot key.
CE_API BOOL UnregisterFunc1(UINT modifiers, UINT virtualKey);
CE_API void keybd_event(BYTE virtualKey, BYTE scanCode, DWORD flags, DWORD_PTR extraInfo);
CE_API SHORT GetKeyState(int virtualKey);
CE_API SHORT GetAsyncKeyState(int virtualKey);

// ---- rectangles ----
// A rectangle is empty when its right edge is not right of its left edge or its bottom not
// below its top. Functions that produce an empty result set it to all zeros.
CE_API BOOL SetRect(LPRECT rect, int left, int top, int right, int bottom);
CE_API BOOL SetRectEmpty(LPRECT rect);
CE_API BOOL CopyRect(LPRECT destination, const RECT* source);
CE_API BOOL IntersectRect(LPRECT destination, const RECT* first, const RECT* second);
CE_API BOOL UnionRect(LPRECT destination, const RECT* first, const RECT* second);
CE_API BOOL OffsetRect(LPRECT rect, int dx, int dy);
CE_API BOOL InflateRect(LPRECT rect, int dx, int dy);
// The left and top edges are inside, the right and bottom ones outside.
CE_API BOOL PtInRect(const RECT* rect, POINT point);
CE_API BOOL IsRectEmpty(const RECT* rect);
CE_API BOOL EqualRect(const RECT* first, const RECT* second);

// ---- system ----
CE_API int GetSystemMetrics(int index);
CE_API BOOL MessageBeep(UINT type);
// The platform's modal message box: OK, OK-Cancel, Yes-No or Yes-No-Cancel with one of the
// four icons. `owner` is disabled while the box runs. Returns the button's IDOK, IDCANCEL,
// IDYES or IDNO, or 0 with the last error set.
CE_API int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);
CE_API HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR cursorName);
CE_API HCURSOR SetCursor(HCURSOR cursor);
CE_API HCURSOR GetCursor();

// Menus, edit windows and the clipboard come with the window manager, as on the device.
#include "ce/menu.h"
#include "ce/clipboard.h"
#include "ce/edit.h"
