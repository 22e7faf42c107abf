// Tap-and-hold: a window that gets WM_LBUTTONDOWN asks SHRecognizeGesture whether the
// stylus stays down; after the hold time of the device clock the gesture is a context
// menu request. Values are the device's.
#pragma once

#include "ce/commctrl.h"
#include "ce/types.h"

#define SHRG_RETURNCMD 0x00000001
#define SHRG_NOTIFYPARENT 0x00000002
#define SHRG_LONGDELAY 0x00000008
#define SHRG_NOANIMATION 0x00000010

#define GN_CONTEXTMENU 1000

#define WM_CONTEXTMENU 0x007B

struct SHRGINFO {
    DWORD cbSize;
    HWND hwndClient;
    POINT ptDown; // client coordinates of hwndClient
    DWORD dwFlags;
};
typedef SHRGINFO* PSHRGINFO;

struct NMRGINFO {
    NMHDR hdr;
    POINT ptAction; // screen coordinates
    DWORD dwItemSpec;
};
typedef NMRGINFO* PNMRGINFO;

// Runs until the stylus is lifted or moves away (0) or is held long enough
// (GN_CONTEXTMENU). Without SHRG_RETURNCMD the gesture is also delivered: WM_CONTEXTMENU
// to hwndClient (wParam the window, lParam the screen point), or with SHRG_NOTIFYPARENT a
// WM_NOTIFY NM_RECOGNIZEGESTURE to its parent.
CE_API DWORD SHRecognizeGesture(SHRGINFO* info);

// ---- full screen ----
#define SHFS_SHOWTASKBAR 0x0001
#define SHFS_HIDETASKBAR 0x0002
#define SHFS_SHOWSIPBUTTON 0x0004
#define SHFS_HIDESIPBUTTON 0x0008
#define SHFS_SHOWSTARTICON 0x0010
#define SHFS_HIDESTARTICON 0x0020

// Shows or hides the task bar, the input panel button of the menu bars and the Start icon
// of the task bar for the whole device. FALSE with ERROR_INVALID_WINDOW_HANDLE for a window
// that does not exist, ERROR_INVALID_PARAMETER for no state, unknown bits or both the show
// and the hide bit of one thing.
CE_API BOOL SHFullScreen(HWND hwnd, DWORD state);

// ---- menu bar ----
#define SHCMBF_EMPTYBAR 0x0001
#define SHCMBF_HIDDEN 0x0002
#define SHCMBF_HIDESIPBUTTON 0x0004

#define SHCMBM_OVERRIDEKEY (WM_USER + 403)
#define SHMBOF_NODEFAULT 0x00000001
#define SHMBOF_NOTIFY 0x00000002

struct SHMENUBARINFO {
    DWORD cbSize; // sizeof(SHMENUBARINFO)
    HWND hwndParent;
    DWORD dwFlags;
    UINT nToolBarId; // strings nToolBarId and nToolBarId + 1 of hInstRes label the soft keys
    HINSTANCE hInstRes;
    int nBmpId;
    int cBmpImages;
    HWND hwndMB; // out: the menu bar window
    COLORREF clrBk;
};
typedef SHMENUBARINFO* PSHMENUBARINFO;

// Creates the menu bar of hwndParent: a top-most window (class "menu_worker") along the
// bottom of the screen with the two soft keys, left and right, and the input panel button
// between them. The soft keys' labels are the strings nToolBarId and nToolBarId + 1 of
// hInstRes, their commands those numbers: a tap, or F1 / F2 while the parent is the active
// window, sends WM_COMMAND with it to the parent. A key without its string is left out;
// without either string (and without SHCMBF_EMPTYBAR) the call fails with
// ERROR_RESOURCE_NAME_NOT_FOUND. A second bar of the same parent replaces the first.
// SHCMBM_OVERRIDEKEY (wParam the virtual key, lParam MAKELPARAM(mask, values) of SHMBOF_*
// bits) changes what a key does while the parent is active: SHMBOF_NOTIFY sends it to the
// parent as WM_HOTKEY (lParam MAKELPARAM(modifiers, key), MOD_KEYUP on release),
// SHMBOF_NODEFAULT alone swallows it. Program hot keys still come first.
CE_API BOOL SHCreateMenuBar(SHMENUBARINFO* info);
