// Menus of the window manager: menu handles, their rows, and the platform's drawn pop-up
// menu that TrackPopupMenu runs modally. Values are the device's. Included by ce/user.h.
#pragma once

#include "ce/types.h"

#ifndef ERROR_POPUP_ALREADY_ACTIVE
#define ERROR_POPUP_ALREADY_ACTIVE 1446L
#endif
#ifndef ERROR_MENU_ITEM_NOT_FOUND
#define ERROR_MENU_ITEM_NOT_FOUND 1456L
#endif

#define MF_INSERT 0x00000000L
#define MF_CHANGE 0x00000080L
#define MF_APPEND 0x00000100L
#define MF_DELETE 0x00000200L
#define MF_REMOVE 0x00001000L
#define MF_BYCOMMAND 0x00000000L
#define MF_BYPOSITION 0x00000400L
#define MF_SEPARATOR 0x00000800L
#define MF_ENABLED 0x00000000L
#define MF_GRAYED 0x00000001L
#define MF_DISABLED 0x00000002L
#define MF_UNCHECKED 0x00000000L
#define MF_CHECKED 0x00000008L
#define MF_STRING 0x00000000L
#define MF_BITMAP 0x00000004L
#define MF_OWNERDRAW 0x00000100L
#define MF_POPUP 0x00000010L
#define MF_MENUBARBREAK 0x00000020L
#define MF_MENUBREAK 0x00000040L
#define MF_HILITE 0x00000080L

#define TPM_LEFTBUTTON 0x0000L
#define TPM_RIGHTBUTTON 0x0002L
#define TPM_LEFTALIGN 0x0000L
#define TPM_CENTERALIGN 0x0004L
#define TPM_RIGHTALIGN 0x0008L
#define TPM_TOPALIGN 0x0000L
#define TPM_VCENTERALIGN 0x0010L
#define TPM_BOTTOMALIGN 0x0020L
#define TPM_HORIZONTAL 0x0000L
#define TPM_VERTICAL 0x0040L
#define TPM_NONOTIFY 0x0080L
#define TPM_RETURNCMD 0x0100L

struct TPMPARAMS {
    UINT cbSize;
    RECT rcExclude;
};
typedef TPMPARAMS* LPTPMPARAMS;

CE_API HMENU CreateMenu();
CE_API HMENU CreatePopupMenu();
// Destroys the menu and every submenu it holds (they belong to it).
CE_API BOOL DestroyMenu(HMENU menu);
// `item` is the command identifier, or the submenu's HMENU with MF_POPUP; `text` is
// ignored for a separator. A submenu that holds `menu` itself is refused.
CE_API BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR item, LPCWSTR text);
// Inserts before the row at `position` (MF_BYPOSITION, -1 appends) or before the row of
// that command (MF_BYCOMMAND).
CE_API BOOL InsertMenuW(HMENU menu, UINT position, UINT flags, UINT_PTR item, LPCWSTR text);
// Both return the row's previous MF_GRAYED/MF_DISABLED (MF_CHECKED) bits, or
// (DWORD)-1 when there is no such row.
CE_API BOOL EnableMenuItem(HMENU menu, UINT item, UINT enable);
CE_API DWORD CheckMenuItem(HMENU menu, UINT item, UINT check);
// -1 for an invalid handle.
CE_API int GetMenuItemCount(HMENU menu);
// RemoveMenu keeps a removed row's submenu alive (the caller owns it now); DeleteMenu
// destroys it.
CE_API BOOL RemoveMenu(HMENU menu, UINT position, UINT flags);
CE_API BOOL DeleteMenu(HMENU menu, UINT position, UINT flags);
CE_API HMENU GetSubMenu(HMENU menu, int position);
// The command of the row, or (UINT)-1 for a submenu, a separator or no row.
CE_API UINT GetMenuItemID(HMENU menu, int position);
// MF_* state bits of the row (with MF_POPUP and the submenu's row count in the high byte
// for a submenu), or (UINT)-1.
CE_API UINT GetMenuState(HMENU menu, UINT item, UINT flags);
CE_API int GetMenuStringW(HMENU menu, UINT item, LPWSTR text, int maxCount, UINT flags);

// Shows the pop-up menu at x,y (screen) and runs until a row is chosen or the menu is
// dismissed (Escape, a tap outside it, WM_QUIT, the owner destroyed). With TPM_RETURNCMD
// the chosen command (0 for none) is returned; without it the command is posted to `owner`
// as WM_COMMAND and the result is nonzero when the menu ran. `reserved` and `rect` are
// ignored, as on the device.
CE_API BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner,
                           const RECT* rect);
// As TrackPopupMenu; a rcExclude in `params` keeps the menu off that rectangle when the
// screen leaves room beside or below it.
CE_API BOOL TrackPopupMenuEx(HMENU menu, UINT flags, int x, int y, HWND owner, LPTPMPARAMS params);
