// The input panel: an on-screen keyboard docked at the bottom of the screen that types
// into the focus window. Values are the device's.
#pragma once

#include "ce/types.h"

#define SIPF_OFF 0x00000000
#define SIPF_ON 0x00000001
#define SIPF_DOCKED 0x00000002
#define SIPF_LOCKED 0x00000004

// WM_SETTINGCHANGE wParam sent to the top-level windows when the panel shows or hides.
#define SPI_SETSIPINFO 224

struct SIPINFO {
    DWORD cbSize;
    DWORD fdwFlags;
    RECT rcVisibleDesktop; // the screen below the task bar and above the panel when shown
    RECT rcSipRect;        // where the panel is (also while hidden)
    DWORD dwImDataSize;
    void* pvImData;
};

// Shows or hides the panel. The panel's window belongs to the calling thread, which
// must read its messages.
CE_API BOOL SipShowIM(DWORD flags);
CE_API BOOL SipGetInfo(SIPINFO* info);
// Only SIPF_ON in fdwFlags is taken (shows or hides); the panel does not move.
CE_API BOOL SipSetInfo(SIPINFO* info);
