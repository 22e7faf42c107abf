// Requests to the resident main program: a second start of the main program and the
// Today plug-in hand their page request to the thread that owns the watcher window.
#pragma once

#include "ce/types.h"

namespace common {

// The watcher window of the running main program, or null.
HWND FindRunningInstance();

// Closes a foreign window of the resident thread in front (a message box), then posts
// CRVM_WAKE and CRVM_OPENPAGE with `startFlags` to that thread. Returns false when the
// watcher's thread cannot be found.
bool ForwardPageRequest(HWND watcher, DWORD startFlags);

// True for the window classes of the system itself (watcher, frame, skinned controls).
bool IsOwnWindowClass(const WCHAR* className);

} // namespace common
