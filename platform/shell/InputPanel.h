// The input panel: a top-most window at the bottom of the screen with rows of keys. A tap
// on a key posts WM_CHAR to the focus window; the panel never takes the activation.
#pragma once

#include "ce/sipapi.h"
#include "ce/user.h"

#include <string>

namespace platform {

class InputPanel {
public:
    static InputPanel& Instance();
    static constexpr const char16_t* kClassName = u"SipWndClass";

    bool Show(bool on);
    bool IsShown() const;
    HWND Handle() const { return m_hwnd; }
    // The panel's rectangle on the screen (also while hidden).
    RECT Rect() const;
    // The key that types `ch` (screen coordinates); empty when there is none.
    RECT KeyRect(char16_t ch) const;
    // The character of the key under a point in the panel's client area, or 0.
    char16_t KeyAt(POINT client) const;
    // One line per row of keys, for the console's `ui`.
    static const char16_t* const kRows[];
    static constexpr int kRowCount = 4;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void Paint(HDC dc) const;
    RECT KeyInClient(int row, int column) const;

    HWND m_hwnd = nullptr;
};

} // namespace platform
