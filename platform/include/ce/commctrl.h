// Common-control notifications and owner-drawn items: the header every WM_NOTIFY carries,
// the list view's item record and display-information request, and the records of
// WM_DRAWITEM and WM_MEASUREITEM. Codes and values are the device's. WM_NOTIFY,
// WM_DRAWITEM and WM_MEASUREITEM point at the sender's record, so they are only sent
// (also to another thread's window), never posted.
#pragma once

#include "ce/types.h"
#include "ce/user.h"

// ---- notification header ----
struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    UINT code;
};
typedef NMHDR* LPNMHDR;

#define NM_FIRST (0U - 0U)
#define NM_OUTOFMEMORY (NM_FIRST - 1)
#define NM_CLICK (NM_FIRST - 2)
#define NM_DBLCLK (NM_FIRST - 3)
#define NM_RETURN (NM_FIRST - 4)
#define NM_RCLICK (NM_FIRST - 5)
#define NM_RDBLCLK (NM_FIRST - 6)
#define NM_SETFOCUS (NM_FIRST - 7)
#define NM_KILLFOCUS (NM_FIRST - 8)
#define NM_CUSTOMDRAW (NM_FIRST - 12)
#define NM_RECOGNIZEGESTURE (NM_FIRST - 16)

// ---- list view ----
#define LVN_FIRST (0U - 100U)
#define LVN_LAST (0U - 199U)
#define LVN_ITEMCHANGING (LVN_FIRST - 0)
#define LVN_ITEMCHANGED (LVN_FIRST - 1)
#define LVN_INSERTITEM (LVN_FIRST - 2)
#define LVN_DELETEITEM (LVN_FIRST - 3)
#define LVN_DELETEALLITEMS (LVN_FIRST - 4)
#define LVN_COLUMNCLICK (LVN_FIRST - 8)
#define LVN_BEGINDRAG (LVN_FIRST - 9)
#define LVN_BEGINRDRAG (LVN_FIRST - 11)
#define LVN_ODCACHEHINT (LVN_FIRST - 13)
#define LVN_ITEMACTIVATE (LVN_FIRST - 14)
#define LVN_ODSTATECHANGED (LVN_FIRST - 15)
#define LVN_KEYDOWN (LVN_FIRST - 55)
#define LVN_MARQUEEBEGIN (LVN_FIRST - 56)
#define LVN_GETINFOTIPW (LVN_FIRST - 58)
#define LVN_BEGINLABELEDITW (LVN_FIRST - 75)
#define LVN_ENDLABELEDITW (LVN_FIRST - 76)
#define LVN_GETDISPINFOW (LVN_FIRST - 77)
#define LVN_SETDISPINFOW (LVN_FIRST - 78)
#define LVN_ODFINDITEMW (LVN_FIRST - 79)
#define LVN_GETDISPINFO LVN_GETDISPINFOW
#define LVN_SETDISPINFO LVN_SETDISPINFOW

#define LVIF_TEXT 0x0001
#define LVIF_IMAGE 0x0002
#define LVIF_PARAM 0x0004
#define LVIF_STATE 0x0008
#define LVIF_INDENT 0x0010
#define LVIF_NORECOMPUTE 0x0800
#define LVIF_DI_SETITEM 0x1000

#define LVIS_FOCUSED 0x0001
#define LVIS_SELECTED 0x0002
#define LVIS_CUT 0x0004
#define LVIS_DROPHILITED 0x0008
#define LVIS_OVERLAYMASK 0x0F00
#define LVIS_STATEIMAGEMASK 0xF000

#define LPSTR_TEXTCALLBACKW ((LPWSTR)(LONG_PTR)-1)
#define I_IMAGECALLBACK (-1)

struct LVITEMW {
    UINT mask;
    int iItem;
    int iSubItem;
    UINT state;
    UINT stateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
    int iIndent;
};
typedef LVITEMW* LPLVITEMW;
typedef LVITEMW LVITEM;

struct NMLVDISPINFOW {
    NMHDR hdr;
    LVITEMW item;
};
typedef NMLVDISPINFOW* LPNMLVDISPINFOW;
typedef NMLVDISPINFOW NMLVDISPINFO;
typedef NMLVDISPINFOW LV_DISPINFO;

struct NMLISTVIEW {
    NMHDR hdr;
    int iItem;
    int iSubItem;
    UINT uNewState;
    UINT uOldState;
    UINT uChanged;
    POINT ptAction;
    LPARAM lParam;
};
typedef NMLISTVIEW* LPNMLISTVIEW;

struct NMLVCACHEHINT {
    NMHDR hdr;
    int iFrom;
    int iTo;
};
typedef NMLVCACHEHINT* LPNMLVCACHEHINT;

// ---- owner-drawn items ----
#define ODT_MENU 1
#define ODT_LISTBOX 2
#define ODT_COMBOBOX 3
#define ODT_BUTTON 4
#define ODT_STATIC 5
#define ODT_HEADER 100
#define ODT_TAB 101
#define ODT_LISTVIEW 102

#define ODA_DRAWENTIRE 0x0001
#define ODA_SELECT 0x0002
#define ODA_FOCUS 0x0004

#define ODS_SELECTED 0x0001
#define ODS_GRAYED 0x0002
#define ODS_DISABLED 0x0004
#define ODS_CHECKED 0x0008
#define ODS_FOCUS 0x0010
#define ODS_DEFAULT 0x0020
#define ODS_HOTLIGHT 0x0040
#define ODS_INACTIVE 0x0080

struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};
typedef DRAWITEMSTRUCT* LPDRAWITEMSTRUCT;

struct MEASUREITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemWidth;
    UINT itemHeight;
    ULONG_PTR itemData;
};
typedef MEASUREITEMSTRUCT* LPMEASUREITEMSTRUCT;
