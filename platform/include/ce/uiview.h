// What a window shows, as text: the console's `ui` sends a window WM_DIALORA_DESCRIBE
// (synchronously, wParam 0, lParam the sink) and the window writes one item per control or
// row it shows into the sink, then answers 1. A window that does not know the request
// answers 0 through DefWindowProc. This simulated phone's own extension.
#pragma once

#include "ce/types.h"

#define WM_DIALORA_DESCRIBE 0x03E1

// State words of an item.
#define UIS_FOCUS 0x0001u
#define UIS_HIDDEN 0x0002u
#define UIS_DISABLED 0x0004u
#define UIS_CHECKED 0x0008u
#define UIS_PRESSED 0x0010u
#define UIS_SELECTED 0x0020u
#define UIS_SUBMENU 0x0040u

struct UI_ITEM {
    int id;          // the control number (0 for none)
    const char* kind; // "button", "text", "list", "menu", "row" ...
    RECT rect;       // screen coordinates
    DWORD state;     // UIS_*
    LPCWSTR text;    // what it shows; may be null
};

class IUiSink {
public:
    // One item at `depth` (0 for the window's top level), children after their parent.
    virtual void Item(int depth, const UI_ITEM& item) = 0;
    // A line of its own (a list's rows, a letter bar's letters) at `depth`.
    virtual void Line(int depth, const char* text) = 0;

protected:
    ~IUiSink() = default;
};
