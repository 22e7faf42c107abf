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
