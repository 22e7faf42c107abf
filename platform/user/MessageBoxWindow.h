// One message box on screen: its layout (title bar, icon, word-wrapped text, a row of
// buttons), its painting with GDI and its answers to the stylus, the keys and the
// console. The object lives on the stack of MessageBoxW, which runs the modal loop until
// Result() is set; the window finds it through GWLP_USERDATA.
#pragma once

#include "ce/user.h"
#include "ce/wingdi.h"

#include <string>
#include <vector>

class IUiSink;

namespace platform {

class MessageBoxWindow {
public:
    MessageBoxWindow(std::u16string text, std::u16string title, UINT type);
    ~MessageBoxWindow();
    MessageBoxWindow(const MessageBoxWindow&) = delete;
    MessageBoxWindow& operator=(const MessageBoxWindow&) = delete;

    // Creates the (hidden) window owned by `owner`; false when it cannot.
    bool Create(HWND owner);
    HWND Handle() const { return m_hwnd; }
    void Describe(IUiSink& sink) const;
    // The button pressed, or 0 while the box is open.
    int Result() const { return m_result; }
    void Finish(int id) { m_result = id; }

    static const char16_t* kClassName;

private:
    static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
    void Layout();
    void Paint(HDC dc);
    void PaintIcon(HDC dc);
    void PaintButton(HDC dc, size_t index);
    int ButtonAt(POINT point) const;
    void OnKey(UINT key);
    bool Has(int id) const;

    std::u16string m_text;
    std::u16string m_title;
    UINT m_type;
    std::vector<int> m_buttons;
    size_t m_default = 0;
    int m_pressed = -1;
    int m_result = 0;
    HWND m_hwnd = nullptr;
    HFONT m_font = nullptr;
    HFONT m_bold = nullptr;
    int m_scale = 1;
    SIZE m_size{};
    RECT m_titleBar{};
    RECT m_iconRect{};
    RECT m_textRect{};
    std::vector<RECT> m_buttonRects;
};

} // namespace platform
