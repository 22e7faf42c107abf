// The clipboard: one set of data blocks by format, opened by one thread at a time. Data is
// handed over as LocalAlloc memory, which the clipboard owns from then on and frees with
// LocalFree when it is emptied or replaced. Included by ce/user.h.
#pragma once

#include "ce/types.h"

#ifndef ERROR_CLIPBOARD_NOT_OPEN
#define ERROR_CLIPBOARD_NOT_OPEN 1418L
#endif

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_UNICODETEXT 13

// Fails while another thread has the clipboard open.
CE_API BOOL OpenClipboard(HWND owner);
CE_API BOOL CloseClipboard();
// Frees every block; needs the clipboard open.
CE_API BOOL EmptyClipboard();
// Stores `memory` (LocalAlloc) for `format`, freeing what the format held; returns
// `memory`, or null when the clipboard is not open or `memory` is null (data rendered on
// request is not supported).
CE_API HANDLE SetClipboardData(UINT format, HANDLE memory);
// The clipboard's own block (do not free it); needs the clipboard open.
CE_API HANDLE GetClipboardData(UINT format);
CE_API BOOL IsClipboardFormatAvailable(UINT format);
