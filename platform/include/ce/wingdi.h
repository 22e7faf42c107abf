// The device's graphics interface: GDI objects (bitmaps, brushes, pens, fonts, regions),
// device contexts, drawing, blits and text. Coordinates are 32-bit logical units; every
// rectangle excludes its right and bottom edge, as on the device.
#pragma once

#include "ce/types.h"

typedef INT* LPINT;

// ---- object types and stock objects ----
#define OBJ_PEN 1
#define OBJ_BRUSH 2
#define OBJ_DC 3
#define OBJ_FONT 6
#define OBJ_BITMAP 7
#define OBJ_REGION 8
#define OBJ_MEMDC 10

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define HOLLOW_BRUSH NULL_BRUSH
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

#define CLR_INVALID 0xFFFFFFFFu
#define HGDI_ERROR ((HANDLE)(LONG_PTR)-1)
#define GDI_ERROR 0xFFFFFFFFu

// ---- bitmaps ----
#define BI_RGB 0
#define BI_BITFIELDS 3
#define DIB_RGB_COLORS 0
#define DIB_PAL_COLORS 1

struct BITMAP {
    LONG bmType;
    LONG bmWidth;
    LONG bmHeight;
    LONG bmWidthBytes;
    WORD bmPlanes;
    WORD bmBitsPixel;
    LPVOID bmBits;
};
typedef BITMAP* LPBITMAP;

struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
typedef BITMAPINFOHEADER* LPBITMAPINFOHEADER;

struct RGBQUAD {
    BYTE rgbBlue;
    BYTE rgbGreen;
    BYTE rgbRed;
    BYTE rgbReserved;
};

// The colour table (or the three BI_BITFIELDS masks) follows the header; callers
// allocate room for as many entries as the bit count needs.
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};
typedef BITMAPINFO* LPBITMAPINFO;

struct DIBSECTION {
    BITMAP dsBm;
    BITMAPINFOHEADER dsBmih;
    DWORD dsBitfields[3];
    HANDLE dshSection;
    DWORD dsOffset;
};

// ---- pens, brushes, fonts ----
#define PS_SOLID 0
#define PS_DASH 1
#define PS_DOT 2
#define PS_NULL 5

#define BS_SOLID 0
#define BS_NULL 1
#define BS_HOLLOW BS_NULL

struct LOGPEN {
    UINT lopnStyle;
    POINT lopnWidth;
    COLORREF lopnColor;
};

struct LOGBRUSH {
    UINT lbStyle;
    COLORREF lbColor;
    ULONG_PTR lbHatch;
};

#define LF_FACESIZE 32
#define FW_DONTCARE 0
#define FW_THIN 100
#define FW_LIGHT 300
#define FW_NORMAL 400
#define FW_MEDIUM 500
#define FW_SEMIBOLD 600
#define FW_BOLD 700
#define FW_HEAVY 900
#define DEFAULT_QUALITY 0
#define DRAFT_QUALITY 1
#define PROOF_QUALITY 2
#define NONANTIALIASED_QUALITY 3
#define ANTIALIASED_QUALITY 4
#define CLEARTYPE_QUALITY 5
#define CLEARTYPE_COMPAT_QUALITY 6
#define ANSI_CHARSET 0
#define DEFAULT_CHARSET 1
#define OUT_DEFAULT_PRECIS 0
#define CLIP_DEFAULT_PRECIS 0
#define DEFAULT_PITCH 0
#define FIXED_PITCH 1
#define VARIABLE_PITCH 2
#define FF_DONTCARE 0x00
#define FF_ROMAN 0x10
#define FF_SWISS 0x20
#define FF_MODERN 0x30

struct LOGFONTW {
    LONG lfHeight;
    LONG lfWidth;
    LONG lfEscapement;
    LONG lfOrientation;
    LONG lfWeight;
    BYTE lfItalic;
    BYTE lfUnderline;
    BYTE lfStrikeOut;
    BYTE lfCharSet;
    BYTE lfOutPrecision;
    BYTE lfClipPrecision;
    BYTE lfQuality;
    BYTE lfPitchAndFamily;
    WCHAR lfFaceName[LF_FACESIZE];
};
typedef LOGFONTW* LPLOGFONTW;

struct TEXTMETRICW {
    LONG tmHeight;
    LONG tmAscent;
    LONG tmDescent;
    LONG tmInternalLeading;
    LONG tmExternalLeading;
    LONG tmAveCharWidth;
    LONG tmMaxCharWidth;
    LONG tmWeight;
    LONG tmOverhang;
    LONG tmDigitizedAspectX;
    LONG tmDigitizedAspectY;
    WCHAR tmFirstChar;
    WCHAR tmLastChar;
    WCHAR tmDefaultChar;
    WCHAR tmBreakChar;
    BYTE tmItalic;
    BYTE tmUnderlined;
    BYTE tmStruckOut;
    BYTE tmPitchAndFamily;
    BYTE tmCharSet;
};
typedef TEXTMETRICW* LPTEXTMETRICW;

// ---- raster operations ----
#define SRCCOPY 0x00CC0020u
#define SRCPAINT 0x00EE0086u
#define SRCAND 0x008800C6u
#define SRCINVERT 0x00660046u
#define SRCERASE 0x00440328u
#define NOTSRCCOPY 0x00330008u
#define NOTSRCERASE 0x001100A6u
#define MERGECOPY 0x00C000CAu
#define MERGEPAINT 0x00BB0226u
#define PATCOPY 0x00F00021u
#define PATPAINT 0x00FB0A09u
#define PATINVERT 0x005A0049u
#define DSTINVERT 0x00550009u
#define BLACKNESS 0x00000042u
#define WHITENESS 0x00FF0062u

// ---- device context state ----
#define TRANSPARENT 1
#define OPAQUE 2

#define TA_NOUPDATECP 0
#define TA_UPDATECP 1
#define TA_LEFT 0
#define TA_RIGHT 2
#define TA_CENTER 6
#define TA_TOP 0
#define TA_BOTTOM 8
#define TA_BASELINE 24

#define ERROR 0
#define NULLREGION 1
#define SIMPLEREGION 2
#define COMPLEXREGION 3
#define RGN_AND 1
#define RGN_OR 2
#define RGN_XOR 3
#define RGN_DIFF 4
#define RGN_COPY 5

#define HORZSIZE 4
#define VERTSIZE 6
#define HORZRES 8
#define VERTRES 10
#define BITSPIXEL 12
#define PLANES 14
#define NUMBRUSHES 16
#define NUMPENS 18
#define NUMFONTS 22
#define NUMCOLORS 24
#define TECHNOLOGY 2
#define RASTERCAPS 38
#define ASPECTX 40
#define ASPECTY 42
#define ASPECTXY 44
#define LOGPIXELSX 88
#define LOGPIXELSY 90
#define SIZEPALETTE 104
#define DT_RASDISPLAY 1
#define RC_BITBLT 1
#define RC_BITMAP64 8
#define RC_DI_BITMAP 0x0080
#define RC_DIBTODEV 0x0200
#define RC_STRETCHBLT 0x0800

// ---- text ----
#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define DT_TOP 0x00000000
#define DT_LEFT 0x00000000
#define DT_CENTER 0x00000001
#define DT_RIGHT 0x00000002
#define DT_VCENTER 0x00000004
#define DT_BOTTOM 0x00000008
#define DT_WORDBREAK 0x00000010
#define DT_SINGLELINE 0x00000020
#define DT_EXPANDTABS 0x00000040
#define DT_TABSTOP 0x00000080
#define DT_NOCLIP 0x00000100
#define DT_EXTERNALLEADING 0x00000200
#define DT_CALCRECT 0x00000400
#define DT_NOPREFIX 0x00000800
#define DT_INTERNAL 0x00001000
#define DT_END_ELLIPSIS 0x00008000

// ---- gradients and blending ----
typedef USHORT COLOR16;
struct TRIVERTEX {
    LONG x;
    LONG y;
    COLOR16 Red;
    COLOR16 Green;
    COLOR16 Blue;
    COLOR16 Alpha;
};
typedef TRIVERTEX* PTRIVERTEX;
struct GRADIENT_RECT {
    ULONG UpperLeft;
    ULONG LowerRight;
};
#define GRADIENT_FILL_RECT_H 0x00000000
#define GRADIENT_FILL_RECT_V 0x00000001

struct BLENDFUNCTION {
    BYTE BlendOp;
    BYTE BlendFlags;
    BYTE SourceConstantAlpha;
    BYTE AlphaFormat;
};
#define AC_SRC_OVER 0x00
#define AC_SRC_ALPHA 0x01

// ---- system colours (Windows Mobile 6 default scheme) ----
// The device ORs SYS_COLOR_INDEX_FLAG into the indexes; GetSysColor accepts both forms.
#ifndef CE_SYSTEM_COLORS_DEFINED
#define CE_SYSTEM_COLORS_DEFINED
#define SYS_COLOR_INDEX_FLAG 0x40000000
#define COLOR_SCROLLBAR (0 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BACKGROUND (1 | SYS_COLOR_INDEX_FLAG)
#define COLOR_ACTIVECAPTION (2 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INACTIVECAPTION (3 | SYS_COLOR_INDEX_FLAG)
#define COLOR_MENU (4 | SYS_COLOR_INDEX_FLAG)
#define COLOR_WINDOW (5 | SYS_COLOR_INDEX_FLAG)
#define COLOR_WINDOWFRAME (6 | SYS_COLOR_INDEX_FLAG)
#define COLOR_MENUTEXT (7 | SYS_COLOR_INDEX_FLAG)
#define COLOR_WINDOWTEXT (8 | SYS_COLOR_INDEX_FLAG)
#define COLOR_CAPTIONTEXT (9 | SYS_COLOR_INDEX_FLAG)
#define COLOR_ACTIVEBORDER (10 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INACTIVEBORDER (11 | SYS_COLOR_INDEX_FLAG)
#define COLOR_APPWORKSPACE (12 | SYS_COLOR_INDEX_FLAG)
#define COLOR_HIGHLIGHT (13 | SYS_COLOR_INDEX_FLAG)
#define COLOR_HIGHLIGHTTEXT (14 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNFACE (15 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNSHADOW (16 | SYS_COLOR_INDEX_FLAG)
#define COLOR_GRAYTEXT (17 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNTEXT (18 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INACTIVECAPTIONTEXT (19 | SYS_COLOR_INDEX_FLAG)
#define COLOR_BTNHIGHLIGHT (20 | SYS_COLOR_INDEX_FLAG)
#define COLOR_3DDKSHADOW (21 | SYS_COLOR_INDEX_FLAG)
#define COLOR_3DLIGHT (22 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INFOTEXT (23 | SYS_COLOR_INDEX_FLAG)
#define COLOR_INFOBK (24 | SYS_COLOR_INDEX_FLAG)
#define COLOR_STATIC (25 | SYS_COLOR_INDEX_FLAG)
#define COLOR_STATICTEXT (26 | SYS_COLOR_INDEX_FLAG)
#define COLOR_GRADIENTACTIVECAPTION (27 | SYS_COLOR_INDEX_FLAG)
#define COLOR_GRADIENTINACTIVECAPTION (28 | SYS_COLOR_INDEX_FLAG)
#define COLOR_DESKTOP COLOR_BACKGROUND
#define COLOR_3DFACE COLOR_BTNFACE
#define COLOR_3DSHADOW COLOR_BTNSHADOW
#define COLOR_3DHIGHLIGHT COLOR_BTNHIGHLIGHT
#define COLOR_3DHILIGHT COLOR_BTNHIGHLIGHT
#define COLOR_BTNHILIGHT COLOR_BTNHIGHLIGHT
#endif

// ---- objects ----
CE_API HGDIOBJ GetStockObject(int index);
CE_API BOOL DeleteObject(HGDIOBJ object);
CE_API HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
CE_API HGDIOBJ GetCurrentObject(HDC dc, UINT type);
CE_API DWORD GetObjectType(HGDIOBJ object);
// Fills BITMAP, DIBSECTION, LOGPEN, LOGBRUSH or LOGFONTW; with a null buffer returns the
// size needed.
CE_API int GetObjectW(HGDIOBJ object, int size, LPVOID buffer);
CE_API HBRUSH CreateSolidBrush(COLORREF color);
CE_API HBRUSH CreateBrushIndirect(const LOGBRUSH* brush);
CE_API HPEN CreatePen(int style, int width, COLORREF color);
CE_API HPEN CreatePenIndirect(const LOGPEN* pen);
CE_API HFONT CreateFontIndirectW(const LOGFONTW* font);
CE_API HRGN CreateRectRgn(int left, int top, int right, int bottom);
CE_API HRGN CreateRectRgnIndirect(const RECT* rect);
CE_API int CombineRgn(HRGN destination, HRGN source1, HRGN source2, int mode);
CE_API int GetRgnBox(HRGN region, LPRECT rect);
CE_API BOOL PtInRegion(HRGN region, int x, int y);
CE_API BOOL SetRectRgn(HRGN region, int left, int top, int right, int bottom);

// ---- bitmaps ----
// `bits` receives the pixel memory; drawing on the bitmap writes into these very bytes.
// With a memory section (CreateFileMappingW) the pixels are that section's from `offset`
// (DWORD-aligned, every row inside it), and the bitmap keeps the section.
CE_API HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                HANDLE section, DWORD offset);
CE_API HBITMAP CreateCompatibleBitmap(HDC dc, int width, int height);
CE_API HBITMAP CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                            const void* bits);

// ---- device contexts ----
CE_API HDC CreateCompatibleDC(HDC dc);
CE_API BOOL DeleteDC(HDC dc);
CE_API int SaveDC(HDC dc);
CE_API BOOL RestoreDC(HDC dc, int savedDc);
CE_API int GetDeviceCaps(HDC dc, int index);
CE_API COLORREF SetTextColor(HDC dc, COLORREF color);
CE_API COLORREF GetTextColor(HDC dc);
CE_API COLORREF SetBkColor(HDC dc, COLORREF color);
CE_API COLORREF GetBkColor(HDC dc);
CE_API int SetBkMode(HDC dc, int mode);
CE_API int GetBkMode(HDC dc);
CE_API UINT SetTextAlign(HDC dc, UINT align);
CE_API UINT GetTextAlign(HDC dc);
CE_API BOOL SetViewportOrgEx(HDC dc, int x, int y, LPPOINT previous);
CE_API BOOL GetViewportOrgEx(HDC dc, LPPOINT origin);
CE_API BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
CE_API BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);
CE_API int IntersectClipRect(HDC dc, int left, int top, int right, int bottom);
CE_API int ExcludeClipRect(HDC dc, int left, int top, int right, int bottom);
CE_API int SelectClipRgn(HDC dc, HRGN region);
CE_API int GetClipBox(HDC dc, LPRECT rect);

// ---- drawing ----
CE_API int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
CE_API BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
CE_API BOOL BitBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                   int sourceY, DWORD rop);
CE_API BOOL StretchBlt(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, DWORD rop);
CE_API BOOL TransparentImage(HDC dc, int x, int y, int width, int height, HANDLE source,
                             int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                             COLORREF transparent);
CE_API BOOL TransparentBlt(HDC dc, int x, int y, int width, int height, HDC source,
                           int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                           UINT transparent);
CE_API BOOL AlphaBlend(HDC dc, int x, int y, int width, int height, HDC source, int sourceX,
                       int sourceY, int sourceWidth, int sourceHeight, BLENDFUNCTION blend);
CE_API BOOL GradientFill(HDC dc, PTRIVERTEX vertices, ULONG vertexCount, PVOID mesh,
                         ULONG meshCount, ULONG mode);
CE_API BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
CE_API BOOL RoundRect(HDC dc, int left, int top, int right, int bottom, int width, int height);
CE_API BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
CE_API BOOL Polygon(HDC dc, const POINT* points, int count);
CE_API BOOL Polyline(HDC dc, const POINT* points, int count);
CE_API BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
CE_API BOOL LineTo(HDC dc, int x, int y);
CE_API COLORREF SetPixel(HDC dc, int x, int y, COLORREF color);
CE_API COLORREF GetPixel(HDC dc, int x, int y);
CE_API DWORD GetSysColor(int index);
CE_API HBRUSH GetSysColorBrush(int index);

// ---- text ----
CE_API BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text,
                        UINT count, const int* dx);
CE_API BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size);
CE_API BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, LPINT fit,
                                  LPINT dx, LPSIZE size);
CE_API BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics);
CE_API int GetTextFaceW(HDC dc, int count, LPWSTR face);
// Returns the height of the text (with DT_VCENTER or DT_BOTTOM the offset from the top of
// the rectangle to the bottom of the text); a count of -1 means a zero-terminated string.
CE_API int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format);
